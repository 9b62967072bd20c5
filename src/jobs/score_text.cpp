#include <algorithm>
#include <cstdio>

#include "bivox/bivox.hpp"
#include "text/encoding.hpp"

namespace bivox {
namespace {

struct Utf8Char {
  char32_t code = 0;
  std::size_t length = 1;
};

// The UTF-8 character at `at`, or none when the bytes there are no UTF-8.
std::optional<Utf8Char> utf8_char_at(std::string_view utf8, std::size_t at) {
  const auto lead = static_cast<unsigned char>(utf8[at]);
  const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
  if ((lead >= 0x80 && lead < 0xC2) || lead > 0xF4 || at + length > utf8.size()) {
    return std::nullopt;
  }
  char32_t code = length == 1 ? lead : lead & (0x7F >> length);
  for (std::size_t i = 1; i < length; ++i) {
    const auto b = static_cast<unsigned char>(utf8[at + i]);
    if ((b & 0xC0) != 0x80) return std::nullopt;
    code = (code << 6) | (b & 0x3F);
  }
  return Utf8Char{code, length};
}

bool is_trail_byte(unsigned char b) {
  return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

// Bytes of the cp932 character at `at`: 2 for a lead byte with a trail byte after it.
std::size_t char_length(std::string_view bytes, std::size_t at) {
  const auto b = static_cast<unsigned char>(bytes[at]);
  if (is_cp932_lead(b) && at + 1 < bytes.size() &&
      is_trail_byte(static_cast<unsigned char>(bytes[at + 1]))) {
    return 2;
  }
  return 1;
}

// Control characters would move the terminal's cursor; they are shown as "?".
std::string printable(std::string text) {
  for (char& c : text) {
    const auto b = static_cast<unsigned char>(c);
    if ((b < 0x20 && c != '\t') || b == 0x7F) c = '?';
  }
  return text;
}

// Bytes that are no UTF-8 shown as U+FFFD.
std::string valid_utf8(std::string_view text) {
  std::string out;
  for (std::size_t at = 0; at < text.size();) {
    const std::optional<Utf8Char> c = utf8_char_at(text, at);
    out += c ? text.substr(at, c->length) : std::string_view("\xEF\xBF\xBD");
    at += c ? c->length : 1;
  }
  return out;
}

std::string_view without_line_end(std::string_view line) {
  const std::size_t feed = line.find('\n');
  if (feed != std::string_view::npos) line = line.substr(0, feed);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

// Column and caret padding of `offset` within a cp932 line starting at `start`.
void measure(std::string_view bytes, std::size_t start, std::size_t offset, TextLocation& loc) {
  loc.column = 1;
  loc.caret_pad.clear();
  std::size_t at = start;
  while (at < offset) {
    const std::size_t length = char_length(bytes, at);
    if (at + length > offset) break;
    loc.caret_pad += bytes[at] == '\t' ? "\t" : length == 2 ? "  " : " ";
    ++loc.column;
    at += length;
  }
}

// Where each line begins: at 0 and after every line feed.
std::vector<std::size_t> line_starts_of(std::string_view bytes) {
  std::vector<std::size_t> starts;
  starts.reserve(static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1);
  starts.push_back(0);
  for (std::size_t feed = bytes.find('\n'); feed != std::string_view::npos;
       feed = bytes.find('\n', feed + 1)) {
    starts.push_back(feed + 1);
  }
  return starts;
}

}  // namespace

ScoreText::ScoreText(std::string cp932) : bytes_(std::move(cp932)) {}

TextLocation ScoreText::locate(Position position) const {
  if (line_starts_.empty()) line_starts_ = line_starts_of(bytes_);
  const auto offset = static_cast<std::size_t>(
      std::clamp<Position>(position, 0, static_cast<Position>(bytes_.size())));
  const auto next = std::upper_bound(line_starts_.begin(), line_starts_.end(), offset);
  const std::size_t start = *(next - 1);
  TextLocation loc;
  loc.line = static_cast<int>(next - line_starts_.begin());
  measure(bytes_, start, offset, loc);
  const std::string_view line = without_line_end(std::string_view(bytes_).substr(start));
  loc.source_line = printable(cp932_to_utf8(line));
  return loc;
}

TextLocation locate_utf8(std::string_view utf8, std::size_t offset) {
  offset = std::min(offset, utf8.size());
  const std::size_t feed = offset == 0 ? std::string_view::npos : utf8.rfind('\n', offset - 1);
  const std::size_t start = feed == std::string_view::npos ? 0 : feed + 1;
  TextLocation loc;
  loc.line =
      1 + static_cast<int>(std::count(utf8.begin(), utf8.begin() + static_cast<long>(start), '\n'));
  const std::string before = utf8_to_cp932_lossy(utf8.substr(start, offset - start));
  measure(before, 0, before.size(), loc);
  loc.source_line = printable(valid_utf8(without_line_end(utf8.substr(start))));
  return loc;
}

std::string describe_unconvertible(std::string_view utf8, std::size_t offset) {
  char what[96];
  if (const std::optional<Utf8Char> c = utf8_char_at(utf8, offset)) {
    std::snprintf(what, sizeof what, "the character U+%04X has no Shift-JIS (cp932) form",
                  static_cast<unsigned>(c->code));
  } else {
    std::snprintf(what, sizeof what, "the byte 0x%02X is not UTF-8",
                  static_cast<unsigned>(static_cast<unsigned char>(utf8[offset])));
  }
  return what;
}

}  // namespace bivox
