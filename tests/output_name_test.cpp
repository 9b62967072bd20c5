// Output names beside the input, for cp932 and UTF-8 paths.
#include "jobs/output_name.hpp"

#include <gtest/gtest.h>

#include "support.hpp"

namespace bivox {
namespace {

struct NameCase {
  std::string input;
  std::string output;
};

TEST(OutputName, Cp932Paths) {
  const NameCase cases[] = {
      {"C:\\scores\\song.zrb", "C:\\scores\\_song.zrb"},
      {"C:\\scores\\SONG.ZRB", "C:\\scores\\_SONG.zrb"},
      {"C:\\scores\\a.zrb.zrb", "C:\\scores\\_a.zrb"},
      {"song.zrb", "_song.zrb"},
      {"non\\song.zrb", "non\\_song.zrb"},
      {"C:\\x.zrb\\song", "C:\\x.zrb\\_song.zrb"},
      {"C:\\scores\\song.txt", "---non---"},
      {"C:\\scores\\A.Zrb", "---non---"},
      {"a.ZRB\\b.zrb", "a.ZRB\\_b.zrb"},
      {test::sjis("C:\\曲\\表.zrb"), test::sjis("C:\\曲\\_表.zrb")},
      {test::sjis("C:\\ソ\\十"), "---non---"},
      {test::sjis("ソ.zrb"), test::sjis("_ソ.zrb")},
      {test::sjis("表\\song.zrb"), test::sjis("表\\_song.zrb")},
      {test::sjis("C:\\十.ZRB"), test::sjis("C:\\_十.zrb")},
      {"C:\\x.zrb\\", "C:\\x.zrb\\_.zrb"},
      {"\\song.zrb", "\\_song.zrb"},
      {"C:\\a/b.zrb", "C:\\a/_b.zrb"},
      {"C:\\s\\a.zrbak", "C:\\s\\_a.zrb"},
      {"", "---non---"},
  };
  for (const NameCase& c : cases) {
    EXPECT_EQ(make_output_name(c.input, PathEncoding::cp932), c.output) << c.input;
  }
}

TEST(OutputName, Utf8PathsWithSlashes) {
  const NameCase cases[] = {
      {"/home/u/scores/song.zrb", "/home/u/scores/_song.zrb"},
      {"scores/あ/曲.ZRB", "scores/あ/_曲.zrb"},
      {"./song.zrb", "./_song.zrb"},
      {"dir\\song.zrb", "dir\\_song.zrb"},
  };
  for (const NameCase& c : cases) {
    EXPECT_EQ(make_output_name(c.input, PathEncoding::utf8), c.output) << c.input;
  }
}

TEST(OutputName, FindExtensionPrefersLowerCase) {
  EXPECT_EQ(find_extension("x.ZRB.zrb", ".zrb"), 5);
  EXPECT_EQ(find_extension("x.ZRB", ".zrb"), 1);
  EXPECT_EQ(find_extension("x.Zrb", ".zrb"), -1);
  EXPECT_EQ(find_text("", ".zrb"), -1);
  EXPECT_EQ(find_text(".zr", ".zrb"), -1);
}

}  // namespace
}  // namespace bivox
