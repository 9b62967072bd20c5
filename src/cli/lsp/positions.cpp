#include "cli/lsp/positions.hpp"

#include <algorithm>

#include "bivox/bivox.hpp"

namespace bivox::lsp {

TextLines::TextLines(std::string text, TextEncoding encoding)
    : text_(std::move(text)), encoding_(encoding) {
  line_starts_.push_back(0);
  for (std::size_t i = 0; i < text_.size(); ++i) {
    if (text_[i] == '\r' && i + 1 < text_.size() && text_[i + 1] == '\n') ++i;
    if (text_[i] == '\n' || text_[i] == '\r') line_starts_.push_back(i + 1);
  }
}

TextLines::Step TextLines::step_at(std::size_t at) const {
  const auto lead = static_cast<unsigned char>(text_[at]);
  Step step{1, 1};
  if (encoding_ == TextEncoding::cp932) {
    if (cp932_lead(lead)) step.bytes = 2;
  } else if (lead >= 0xF0) {
    step = {4, 2};
  } else if (lead >= 0xE0) {
    step.bytes = 3;
  } else if (lead >= 0xC0) {
    step.bytes = 2;
  }
  // A character cut short by the end of the text (no valid text ends so) ends there.
  step.bytes = std::min(step.bytes, text_.size() - at);
  return step;
}

std::size_t TextLines::line_end(std::size_t line) const {
  if (line + 1 >= line_starts_.size()) return text_.size();
  std::size_t end = line_starts_[line + 1];
  if (text_[end - 1] == '\n') --end;
  if (end > line_starts_[line] && text_[end - 1] == '\r') --end;
  return end;
}

LspPosition TextLines::position_of(std::size_t offset) const {
  offset = std::min(offset, text_.size());
  const auto after = std::upper_bound(line_starts_.begin(), line_starts_.end(), offset);
  const auto line = static_cast<std::size_t>(after - line_starts_.begin() - 1);
  const std::size_t end = std::min(offset, line_end(line));
  LspPosition position{static_cast<int>(line), 0};
  for (std::size_t at = line_starts_[line]; at < end;) {
    const Step step = step_at(at);
    if (at + step.bytes > end) break;
    at += step.bytes;
    position.character += step.units;
  }
  return position;
}

std::size_t TextLines::offset_of(LspPosition position) const {
  if (position.line < 0) return 0;
  const auto line = static_cast<std::size_t>(position.line);
  if (line >= line_starts_.size()) return text_.size();
  const std::size_t end = line_end(line);
  std::size_t at = line_starts_[line];
  for (int units = 0; at < end;) {
    const Step step = step_at(at);
    if (units + step.units > position.character) break;
    units += step.units;
    at += step.bytes;
  }
  return at;
}

}  // namespace bivox::lsp
