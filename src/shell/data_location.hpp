#pragma once

#include <QString>

namespace bivox::shell {

// Where a file that accompanies the program (a guide text, the HTML document) lies, given
// its path relative to the data directory: beside the executable, as in the portable and
// Windows layout, or else in ../share/bivox relative to it, as installed on Linux. A file
// that is in neither place is named where it would be looked for: in ../share/bivox when
// that directory exists, beside the executable otherwise.
QString dataFilePath(const QString& programDir, const QString& relative);

}  // namespace bivox::shell
