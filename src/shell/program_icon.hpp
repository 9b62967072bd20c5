#pragma once

#include <QIcon>

namespace bivox::shell {

// The program's icon: a note between a left and a right sound wave, drawn at the usual sizes.
QIcon programIcon();

}  // namespace bivox::shell
