// The language server below the editor: message framing, positions in UTF-16 code units,
// edits, the coalescing of changes, and whole sessions on in-memory streams.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/lsp/documents.hpp"
#include "cli/lsp/framing.hpp"
#include "cli/lsp/positions.hpp"

namespace bivox::lsp {
namespace {

using Kind = Incoming::Kind;

TEST(LspFraming, ReadsMessagesAndPassesOverBadHeaders) {
  std::istringstream in(
      "Content-Length: 2\r\nContent-Type: application/vscode-jsonrpc; charset=utf-8\r\n\r\n{}"
      "\r\ncontent-length:  6 \n\n\"\xE6\x97\xA5\"x"
      "Content-Type: text\r\n\r\n"
      "Content-Length: 12x\r\n\r\n"
      "Content-Length: 99999999999999999999\r\n\r\n" +
      framed("[1]") + "Content-Length: 10\r\n\r\n{\"cut");
  const std::pair<Kind, std::string> expected[] = {
      {Kind::message, "{}"},
      {Kind::message, "\"\xE6\x97\xA5\"x"},
      {Kind::bad_header, "no Content-Length header"},
      {Kind::bad_header, "Content-Length is no usable number"},
      {Kind::bad_header, "Content-Length is no usable number"},
      {Kind::message, "[1]"},
      {Kind::end, ""},
  };
  MessageReader reader(in);
  for (const auto& [kind, body] : expected) {
    const Incoming incoming = reader.next();
    EXPECT_EQ(incoming.kind, kind) << body;
    EXPECT_EQ(incoming.body, body);
  }
}

TEST(LspFraming, FramesByTheBodysBytes) {
  EXPECT_EQ(framed("\"\xE6\x97\xA5\""), "Content-Length: 5\r\n\r\n\"\xE6\x97\xA5\"");
}

struct PositionCase {
  std::size_t offset;
  LspPosition position;
  std::size_t back;  // offset_of(position)
};

void expect_positions(const TextLines& lines, std::initializer_list<PositionCase> cases) {
  for (const PositionCase& c : cases) {
    EXPECT_EQ(lines.position_of(c.offset), c.position) << "offset " << c.offset;
    EXPECT_EQ(lines.offset_of(c.position), c.back) << "offset " << c.offset;
  }
}

// "日本" in cp932 is two characters of two bytes; CR LF, LF and a lone CR each end a line.
TEST(LspPositions, Cp932CharactersAreOneCodeUnit) {
  const TextLines lines("ab\r\n\x93\xFA\x96\x7Bx\rz\n\xB1", TextEncoding::cp932);
  expect_positions(lines, {
                              {0, {0, 0}, 0},
                              {2, {0, 2}, 2},    // at the CR of CR LF
                              {3, {0, 2}, 2},    // inside CR LF
                              {4, {1, 0}, 4},    // after CR LF
                              {5, {1, 0}, 4},    // inside a double-byte character
                              {6, {1, 1}, 6},    // whose second byte 0x7B is no brace
                              {9, {1, 3}, 9},    // the lone CR
                              {10, {2, 0}, 10},  // after it
                              {12, {3, 0}, 12},  // half-width katakana, one byte
                              {13, {3, 1}, 13},  // the end
                              {99, {3, 1}, 13},  // beyond the end
                          });
  EXPECT_EQ(lines.offset_of({0, 99}), 2U);  // beyond the line's end: its end
  EXPECT_EQ(lines.offset_of({9, 0}), 13U);  // beyond the last line: the text's end
}

// "日" is three UTF-8 bytes and one code unit, "😀" four bytes and two code units.
TEST(LspPositions, Utf8CountsSurrogatePairs) {
  const TextLines lines("\xE6\x97\xA5\xF0\x9F\x98\x80z\r\n", TextEncoding::utf8);
  expect_positions(lines, {
                              {3, {0, 1}, 3},
                              {5, {0, 1}, 3},  // inside the emoji
                              {7, {0, 3}, 7},
                              {10, {1, 0}, 10},
                          });
  EXPECT_EQ(lines.offset_of({0, 2}), 3U);  // between the surrogates: the emoji's start
}

TEST(LspDocuments, AppliesRangedAndWholeChanges) {
  std::string text = "\xE6\x97\xA5\xF0\x9F\x98\x80z\r\nab";
  apply_change(
      text,
      {{"range",
        {{"start", {{"line", 0}, {"character", 3}}}, {"end", {{"line", 1}, {"character", 1}}}}},
       {"text", "Q"}});
  EXPECT_EQ(text, "\xE6\x97\xA5\xF0\x9F\x98\x80Qb");
  apply_change(text, {{"text", "new"}});
  EXPECT_EQ(text, "new");
}

// Changes that arrive while the checker is busy are checked once, in their latest state.
TEST(LspDocuments, ChecksOnlyTheLatestText) {
  Documents documents;
  documents.open("file:///a.zrb", "v1");
  documents.open("file:///b.zrb", "b");
  for (const char* text : {"v2", "v3", "v4"}) {
    documents.change("file:///a.zrb", nlohmann::json::array({{{"text", text}}}));
  }
  const std::optional<DocumentText> first = documents.next_unchecked();
  ASSERT_TRUE(first);
  EXPECT_EQ(first->text, "v4");
  documents.change("file:///a.zrb", nlohmann::json::array({{{"text", "v5"}}}));
  bool published = false;
  documents.publish_if_latest(*first, [&] { published = true; });
  EXPECT_FALSE(published);  // outdated: v5 is in line
  documents.stop(true);
  EXPECT_EQ(documents.next_unchecked()->text, "b");
  EXPECT_EQ(documents.next_unchecked()->text, "v5");
  EXPECT_FALSE(documents.next_unchecked());
}

}  // namespace
}  // namespace bivox::lsp
