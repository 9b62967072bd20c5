// Output names beside the input, for cp932 and UTF-8 paths.
#include "jobs/output_name.hpp"

#include <gtest/gtest.h>

#include "support.hpp"

namespace bivox {
namespace {

using test::sjis;

struct NameCase {
  NameEncoding encoding;
  std::string input;
  std::string output;
};

// In cp932 paths the trail byte of 表 and ソ is a backslash; UTF-8 paths take slashes.
TEST(OutputName, PutsAnUnderscoreBeforeTheNameAndEndsInZrb) {
  constexpr NameEncoding cp932 = NameEncoding::cp932;
  constexpr NameEncoding utf8 = NameEncoding::utf8;
  const NameCase cases[] = {
      {cp932, "C:\\scores\\song.zrb", "C:\\scores\\_song.zrb"},
      {cp932, "C:\\scores\\SONG.ZRB", "C:\\scores\\_SONG.zrb"},
      {cp932, "C:\\scores\\a.zrb.zrb", "C:\\scores\\_a.zrb"},
      {cp932, "song.zrb", "_song.zrb"},
      {cp932, "C:\\x.zrb\\song", "C:\\x.zrb\\_song.zrb"},
      {cp932, "C:\\scores\\A.Zrb", "---non---"},
      {cp932, sjis("C:\\曲\\表.zrb"), sjis("C:\\曲\\_表.zrb")},
      {cp932, sjis("ソ.zrb"), sjis("_ソ.zrb")},
      {cp932, sjis("表\\song.zrb"), sjis("表\\_song.zrb")},
      {cp932, "C:\\x.zrb\\", "C:\\x.zrb\\_.zrb"},
      {cp932, "\\song.zrb", "\\_song.zrb"},
      {cp932, "C:\\a/b.zrb", "C:\\a/_b.zrb"},
      {cp932, "C:\\s\\a.zrbak", "C:\\s\\_a.zrb"},
      {cp932, "", "---non---"},
      {utf8, "/home/u/scores/song.zrb", "/home/u/scores/_song.zrb"},
      {utf8, "scores/あ/曲.ZRB", "scores/あ/_曲.zrb"},
      {utf8, "dir\\song.zrb", "dir\\_song.zrb"},
      {utf8, "x.ZRB.zrb", "_x.ZRB.zrb"},
  };
  for (const NameCase& c : cases) {
    EXPECT_EQ(make_output_name(c.input, c.encoding), c.output) << c.input;
  }
}

}  // namespace
}  // namespace bivox
