#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace bivox {

// How the bytes of a path are to be read: cp932 (where the second byte of a double-byte
// character may be 0x5C) or UTF-8 (where no byte of a multi-byte character is ASCII).
enum class PathEncoding { cp932, utf8 };

struct SplitPath {
  std::optional<std::string> directory;  // no separator: no directory
  std::string name;
  char separator = '\\';
};

// The byte index of the first occurrence of pattern in text, or -1.
long find_text(std::string_view text, std::string_view pattern);
// Like find_text; when the pattern is absent, its upper-case form is looked for.
long find_extension(std::string_view text, std::string_view pattern);
// Splits at the last "\" or "/" that is a character of its own.
SplitPath split_path(std::string_view path, PathEncoding encoding);
// "_" + the input's name with ".zrb", beside the input; "---non---" without a score extension.
std::string make_output_name(std::string_view input, PathEncoding encoding);

}  // namespace bivox
