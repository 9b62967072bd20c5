#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace bivox::lsp {

// A place as the protocol names it: a line from 0, and a character offset in the line
// counted in UTF-16 code units.
struct LspPosition {
  int line = 0;
  int character = 0;
  friend bool operator==(const LspPosition&, const LspPosition&) = default;
};

// How the bytes of a text form characters: a cp932 character (one or two bytes) is one
// UTF-16 code unit; a UTF-8 character is one, or two beyond the Basic Multilingual Plane.
enum class TextEncoding { cp932, utf8 };

// A text split into lines where the protocol splits them (LF, CR LF and a lone CR), for
// turning byte offsets into protocol positions and back.
class TextLines {
 public:
  TextLines(std::string text, TextEncoding encoding);

  // The position of a byte offset; an offset inside a character (or inside a CR LF) is
  // that character's (the line end's), an offset beyond the text is the text's end.
  LspPosition position_of(std::size_t offset) const;
  // The byte offset of a position; a character beyond the line's end is the line's end, a
  // line beyond the last is the text's end.
  std::size_t offset_of(LspPosition position) const;
  const std::string& text() const { return text_; }

 private:
  struct Step {
    std::size_t bytes;
    int units;
  };
  Step step_at(std::size_t at) const;
  // Where the line's text ends (before its line end).
  std::size_t line_end(std::size_t line) const;

  std::string text_;
  TextEncoding encoding_;
  std::vector<std::size_t> line_starts_;
};

}  // namespace bivox::lsp
