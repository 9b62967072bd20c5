// Turning byte positions of a score into lines, columns and caret lines.
#include <gtest/gtest.h>

#include "bivox/bivox.hpp"
#include "support.hpp"

namespace bivox {
namespace {

struct LocationCase {
  const char* name;
  std::string bytes;
  Position position;
  int line;
  int column;
  std::string source_line;
  std::string caret_pad;
};

TEST(SourceText, CountsLinesAndCharactersOfTheStoredBytes) {
  const std::string kanji = test::sjis("日本");
  const LocationCase cases[] = {
      {"line feed ends a line", "ab\ncd\n", 4, 2, 2, "cd", " "},
      {"CR LF ends a line", "ab\r\ncd\r\n", 5, 2, 2, "cd", " "},
      {"at the CR of CR LF", "ab\r\ncd", 2, 1, 3, "ab", "  "},
      {"a lone CR does not", "ab\rcd", 4, 1, 5, "ab?cd", "    "},
      {"double-byte characters are one column", "x" + kanji + "y", 5, 1, 4, "x日本y", "     "},
      {"inside a double-byte character", "x" + kanji, 2, 1, 2, "x日本", " "},
      {"half-width katakana is one byte", "\xB1z", 1, 1, 2, "ｱz", " "},
      {"tabs stay tabs under the caret", "\tab", 2, 1, 3, "\tab", "\t "},
      {"end of a file ending in a line feed", "ab\n", 3, 2, 1, "", ""},
      {"beyond the end", "ab", 99, 1, 3, "ab", "  "},
      {"0x1A shown as a mark", "a\x1A", 1, 1, 2, "a?", " "},
  };
  for (const LocationCase& c : cases) {
    const TextLocation loc = ScoreText(c.bytes).locate(c.position);
    EXPECT_EQ(loc.line, c.line) << c.name;
    EXPECT_EQ(loc.column, c.column) << c.name;
    EXPECT_EQ(loc.source_line, c.source_line) << c.name;
    EXPECT_EQ(loc.caret_pad, c.caret_pad) << c.name;
  }
}

// In a UTF-8 score (located by characters; the tool's tests show the columns), bytes that
// are no UTF-8 show as a replacement character in the source line.
TEST(SourceText, Utf8SourceLineShowsBadBytesAsReplacements) {
  EXPECT_EQ(locate_utf8("a\xFF", 1).source_line, "a\xEF\xBF\xBD");
}

TEST(PitchName, CountsOctavesAsTheOctaveCommandDoes) {
  const std::pair<int, const char*> names[] = {{48, "C4"},  {49, "C#4"},  {59, "B4"},  {0, "C0"},
                                               {-1, "B-1"}, {-12, "C-1"}, {-13, "B-2"}};
  for (const auto& [pitch, name] : names) EXPECT_EQ(pitch_name(pitch), name) << pitch;
}

}  // namespace
}  // namespace bivox
