#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/input_source.hpp"

namespace bivox::cli {

// A place in a score, the way editors and compilers name it.
struct TextLocation {
  int line = 1;             // counted from 1; a line feed (alone or after CR) ends a line
  int column = 1;           // characters from the line's start, counted from 1
  std::string source_line;  // the whole line in UTF-8, without its line end
  std::string caret_pad;    // blanks and tabs as wide as the line's text before the place
};

// Score bytes (cp932) with their line starts, for turning byte positions into locations.
// A double-byte character is one column; the column of a position inside a character is
// that character's.
class SourceText {
 public:
  explicit SourceText(std::string cp932);
  TextLocation locate(Position position) const;

 private:
  std::string bytes_;
  std::vector<std::size_t> line_starts_;
};

struct Utf8Char {
  char32_t code = 0;
  std::size_t length = 1;
};
// The UTF-8 character at `at`, or none when the bytes there are no UTF-8.
std::optional<Utf8Char> utf8_char_at(std::string_view utf8, std::size_t at);

// The location of a byte offset in UTF-8 text whose characters before the offset all have
// a cp932 form (the offset of the first one that has none, for instance).
TextLocation locate_utf8(std::string_view utf8, std::size_t offset);

// The line with a caret under the place, as compilers show it ("   7 | text" / "     |  ^").
std::string excerpt(const TextLocation& location);

}  // namespace bivox::cli
