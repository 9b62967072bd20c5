#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "jobs/output_name.hpp"

namespace bivox::shell {

// The system's own cp932 texts as Qt shows them.
QString fromCp932(std::string_view cp932);
// A text as cp932 bytes; characters without a cp932 form become "?".
std::string toCp932(const QString& text);

// A path as the bytes that the file system and the job driver take, and back.
std::string nativePath(const QString& path);
QString fromNativePath(const std::string& path);
// How the bytes of a native path are to be read.
PathEncoding nativePathEncoding();

// directory + separator + relative path, with the platform's separator ("/" on POSIX) also
// in place of every "\" of the relative path.
QString programPath(const QString& directory, const QString& relative);

}  // namespace bivox::shell
