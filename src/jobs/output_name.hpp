#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "bivox/bivox.hpp"

namespace bivox {

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
SplitPath split_path(std::string_view path, NameEncoding encoding);

}  // namespace bivox
