#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "bivox/bivox.hpp"

namespace bivox::shell {

// The system's own cp932 texts as Qt shows them.
QString fromCp932(std::string_view cp932);
// A text as cp932 bytes; characters without a cp932 form become "?".
std::string toCp932(const QString& text);

// A path as the core takes it (UTF-8), and back.
std::string nativePath(const QString& path);
QString fromNativePath(const std::string& path);

// directory + separator + relative path, with the platform's separator ("/" on POSIX) also
// in place of every "\" of the relative path.
QString programPath(const QString& directory, const QString& relative);

}  // namespace bivox::shell
