// bivox-cli as a user and a script meet it: the built program run on files in a temporary
// directory, its exit status, standard output and error, and the files it leaves.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "support.hpp"
#include "text/encoding.hpp"

namespace bivox::test {
namespace {

namespace fs = std::filesystem;

std::vector<nlohmann::json> json_lines(const std::string& text) {
  std::vector<nlohmann::json> objects;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    objects.push_back(nlohmann::json::parse(text.substr(start, end - start)));
  }
  return objects;
}

// Seven lines with CR LF ends; a macro reference on line 5, double-byte characters and then
// text the grammar does not know ("???") on line 7.
std::string score_stopping_on_line_7() {
  return sjis(
      "%1\r\n@AB V100 P64\r\n\r\n#A0 o4\r\nd4 r8 m8 f4 | ${riff} s2 |\r\n#B0 o3\r\n"
      "l4 c4 日本 d4 ??? m4 |\r\nf2 s2 |\r\n");
}

constexpr std::string_view kWholeScore = "%1\r\n#A0 o4\r\nd4 r4 m4 |\r\n";

// Each test has a directory of its own for the scores, the outputs and the captured streams.
class Cli : public ::testing::Test {
 protected:
  TempDir dir;

  CliRun cli(const std::string& args) const { return run_cli(dir.path(), args); }
  void write(std::string_view name, std::string_view bytes) const {
    write_file(dir.file(name), bytes);
  }
  std::string read(std::string_view name) const { return read_file(dir.file(name)); }
  bool exists(std::string_view name) const { return fs::exists(dir.file(name)); }
};

TEST_F(Cli, BadCommandLinesExitWithStatus2AndRunNothing) {
  write("a.zrb", kWholeScore);
  write("b.zrb", kWholeScore);
  for (const char* args :
       {"", "syntax", "transpose a.zrb", "syntax -o x.zrb a.zrb b.zrb", "syntax --report a.zrb",
        "stereo --plain --json a.zrb", "stereo --locations --plain a.zrb",
        "syntax --input-encoding latin1 a.zrb", "syntax --no-such-option a.zrb",
        "expand --pan-range -32..32 a.zrb", "syntax --leave A a.zrb", "expand --map m.svg a.zrb",
        "stereo --map m.svg a.zrb b.zrb", "stereo --pan-range 0..65 a.zrb",
        "stereo --pitch-range C7..C2 a.zrb"}) {
    EXPECT_EQ(cli(args).status, 2) << args;
  }
  EXPECT_FALSE(exists("_a.zrb"));
  EXPECT_FALSE(exists("x.zrb"));
  EXPECT_FALSE(exists("m.svg"));
  EXPECT_EQ(
      cli("stereo --pan-range 5..5 a.zrb").err,
      "--pan-range: '5..5': the two ends must differ\nRun with --help for more information.\n");
}

// Piped, the plain output is the dialog's lines: the summary, the diagnostics, the summary
// again. With locations, each diagnostic and the stop name line and column and show the
// source line with a caret, and the summary comes once, after them.
TEST_F(Cli, SummariesFrameTheDiagnosticsOrFollowTheirLocations) {
  write("song.zrb", score_stopping_on_line_7());
  write("whole.zrb", kWholeScore);
  const std::string stopped = "[song.zrb][4e][61]の構文テスト、処理を打ち切りしました。\n";
  const std::string complete = "[whole.zrb]の構文テストを完了しました。\n";
  const std::string expanded = "[_song.zrb][4e][61]のマクロ展開、処理を打ち切りしました。\n";
  struct Case {
    const char* args;
    int status;
    std::string out;
  };
  for (const Case& c :
       {Case{"syntax song.zrb", 4, stopped + "展開マクロがありました、展開して下さい\n" + stopped},
        Case{"syntax whole.zrb", 0, complete + complete},
        Case{"expand song.zrb", 4, expanded + expanded},
        Case{"syntax --locations whole.zrb", 0, complete},
        // Column 13 of line 7 is the first "?": the two double-byte characters count one
        // column each, and take two cells each in the caret line.
        Case{"syntax --locations song.zrb", 4,
             "song.zrb:5:22: warning: 展開マクロがありました、展開して下さい\n"
             "    5 | d4 r8 m8 f4 | ${riff} s2 |\n"
             "      |                      ^\n"
             "song.zrb:7:13: error: not understood from here on (byte 0x4e of 0x61)\n"
             "    7 | l4 c4 日本 d4 ??? m4 |\n"
             "      |               ^\n" +
                 stopped}}) {
    const CliRun run = cli(c.args);
    EXPECT_EQ(run.status, c.status) << c.args;
    EXPECT_EQ(run.out, c.out) << c.args;
    EXPECT_EQ(run.err, "") << c.args;
  }
  EXPECT_TRUE(exists("_song.zrb"));
}

// One object per file and line, with the positions also as lines and columns; a file that
// cannot be read still gives its object, and the run goes on.
TEST_F(Cli, JsonGivesEveryFileItsObjectWithLinesAndColumns) {
  write("v.zrb", "%1\r\n\xFF d4\r\n");
  write("song.zrb", cp932_to_utf8(score_stopping_on_line_7()));
  const CliRun run = cli("syntax --json --input-encoding utf-8 missing.zrb v.zrb song.zrb");
  EXPECT_EQ(run.status, 3);
  EXPECT_EQ(nlohmann::json(json_lines(run.out)), nlohmann::json::parse(R"([
      {"job": "syntax", "input": "missing.zrb", "output": "_missing.zrb",
       "error": "missing.zrb: cannot be opened for reading"},
      {"job": "syntax", "input": "v.zrb", "output": "_v.zrb",
       "error": "v.zrb: the byte 0xFF is not UTF-8", "error_at": {"line": 2, "column": 1}},
      {"job": "syntax", "input": "song.zrb", "output": "_song.zrb", "complete": false,
       "stop": 78, "end": 97, "fatal": null,
       "stop_at": {"position": 78, "line": 7, "column": 13},
       "diagnostics": ["展開マクロがありました、展開して下さい"],
       "diagnostics_at": [{"position": 49, "line": 5, "column": 22}],
       "summary": "[song.zrb][4e][61]の構文テスト、処理を打ち切りしました。"}])"));
  EXPECT_FALSE(exists("_v.zrb"));
}

// Nor is the output ever written over the input, under whatever name.
TEST_F(Cli, AnUnreadableInputOrUnwritableOutputWritesNothing) {
  write("song.zrb", kWholeScore);
  fs::create_directory(dir.file("folder.zrb"));
  fs::create_hard_link(dir.file("song.zrb"), dir.file("hard.zrb"));
  fs::create_symlink(dir.file("song.zrb"), dir.file("soft.zrb"));
  struct Case {
    const char* args;
    const char* written;  // a file that must not exist afterwards
  };
  for (const Case& c : {Case{"expand -o ./song.zrb song.zrb", "_song.zrb"},
                        Case{"expand -o hard.zrb song.zrb", "_song.zrb"},
                        Case{"expand -o soft.zrb song.zrb", "_song.zrb"},
                        Case{"stereo --input-encoding utf-8 -o song.zrb song.zrb", "_song.zrb"},
                        Case{"syntax folder.zrb", "_folder.zrb"},
                        Case{"syntax -o folder.zrb song.zrb", "_song.zrb"},
                        Case{"syntax --input-encoding utf-8 -o no/out.zrb song.zrb", "no"}}) {
    const CliRun run = cli(c.args);
    EXPECT_EQ(run.status, 3) << c.args;
    EXPECT_EQ(run.out, "") << c.args;
    EXPECT_NE(run.err.find("bivox-cli: "), std::string::npos) << c.args;
    EXPECT_FALSE(exists(c.written)) << c.args;
    EXPECT_EQ(read("song.zrb"), kWholeScore) << c.args;
  }
  EXPECT_TRUE(fs::is_empty(dir.file("folder.zrb")));
}

TEST_F(Cli, AUtf8ScoreIsConvertedForTheJobAndItsOutputWrittenInUtf8) {
  write("u.zrb", "\xEF\xBB\xBF" + cp932_to_utf8(score_stopping_on_line_7()));
  write("s.zrb", score_stopping_on_line_7());
  const CliRun utf8 = cli("syntax --locations --input-encoding utf-8 u.zrb");
  const CliRun sjis_run = cli("syntax --locations s.zrb");
  EXPECT_EQ(utf8.status, 4);
  // Same places, same positions (those of the converted score), other file names.
  std::string expected = sjis_run.out;
  for (std::size_t at; (at = expected.find("s.zrb")) != std::string::npos;) expected[at] = 'u';
  EXPECT_EQ(utf8.out, expected);
  EXPECT_EQ(read("_u.zrb"), cp932_to_utf8(read("_s.zrb")));
}

TEST_F(Cli, ACharacterWithoutCp932FormIsRefusedWithItsPlace) {
  write("u.zrb", "%1\n#A0\nd4 日本 é m4\n");
  const CliRun run = cli("stereo --input-encoding utf-8 u.zrb");
  EXPECT_EQ(run.status, 3);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err,
            "bivox-cli: u.zrb:3:7: the character U+00E9 has no Shift-JIS (cp932) form; nothing "
            "was written\n"
            "    3 | d4 日本 é m4\n"
            "      |         ^\n");
  EXPECT_FALSE(exists("_u.zrb"));
}

// Track A is placed; B sets its pan after its note, which stays out of the range; J is a drum
// track; Z is never placed.
constexpr std::string_view kPlacementScore =
    "%1\r\n*DRUM\"J\"\r\n#A0 o4 d4 m4 s4\r\n#B0 o3 d4\r\n@B S+10\r\n#J0 o4 d4 r4\r\n"
    "#Z0 o5 d4 _4\r\n";

TEST_F(Cli, TheStereoReportTableNamesRangesPlacementAndPans) {
  write("song.zrb", kPlacementScore);
  const CliRun run = cli("stereo --plain --report song.zrb");
  EXPECT_EQ(run.status, 0);
  // Range 48..55 of track A alone: centre 51.5, scale 129 / 8.
  EXPECT_EQ(run.out,
            "[_song.zrb]のステレオ化を完了しました。\n"
            "[_song.zrb]のステレオ化を完了しました。\n"
            "track  notes  lowest   highest  placement  pan\n"
            "A          3  C4 (48)  G4 (55)  placed     -56 .. +56\n"
            "B          1  C3 (36)  C3 (36)  pan fixed  -\n"
            "J          2  C4 (48)  D4 (50)  drum       -\n"
            "Z          1  C5 (60)  C5 (60)  track Z    -\n"
            "pitch centre 51.500000, scale 16.125000\n");

  write("rests.zrb", "%1\r\n#A0 _4 _4\r\n");
  const CliRun rests = cli("stereo --plain --report rests.zrb");
  EXPECT_EQ(rests.status, 0);
  EXPECT_NE(rests.out.find("track  notes  lowest  highest  placement  pan\n(no notes)\n"),
            std::string::npos)
      << rests.out;
  EXPECT_EQ(rests.out.find("pitch centre"), std::string::npos);
}

// The options in effect show in the report and the JSON placement; the map is written.
TEST_F(Cli, StereoOptionsShowInTheReportAndJsonAndTheMapIsWritten) {
  write("song.zrb", kPlacementScore);
  const CliRun run =
      cli("stereo --plain --report --pan-range 32..-32 --pitch-range C3..60 --leave ZA "
          "--map map.svg song.zrb");
  EXPECT_EQ(run.status, 0);
  const std::string report = run.out.substr(run.out.find("track  notes"));
  EXPECT_EQ(report,
            "track  notes  lowest   highest  placement   pan\n"
            "A          3  C4 (48)  G4 (55)  left alone  -\n"
            "B          1  C3 (36)  C3 (36)  pan fixed   -\n"
            "J          2  C4 (48)  D4 (50)  drum        -\n"
            "Z          1  C5 (60)  C5 (60)  left alone  -\n"
            "stereo options: pan range 32..-32, pitch range C3..C5 (36..60), left alone: AZ\n");
  EXPECT_NE(read("map.svg").find(R"(class="left-alone" data-track="A")"), std::string::npos);

  const CliRun json = cli("stereo --json --report --pan-range -32..32 song.zrb");
  EXPECT_EQ(json_lines(json.out).at(0)["placement"]["options"], nlohmann::json::parse(R"({
      "pan_range": [-32, 32], "pitch_range": null, "leave": ""})"));
}

TEST_F(Cli, FilesRunInOrderAndAClosingCountFollowsWithoutProgressWhenPiped) {
  write("a.zrb", kWholeScore);
  write("b.zrb", score_stopping_on_line_7());
  write("c.zrb", kWholeScore);
  const CliRun run = cli("syntax --plain a.zrb b.zrb missing.zrb c.zrb");
  EXPECT_EQ(run.status, 3);  // a file error outranks a stopped parse
  EXPECT_LT(run.out.find("[a.zrb]"), run.out.find("[b.zrb]"));
  EXPECT_LT(run.out.find("[b.zrb]"), run.out.find("[c.zrb]"));
  EXPECT_EQ(run.err,
            "bivox-cli: missing.zrb: cannot be opened for reading\n"
            "bivox-cli: 4 files: 2 complete, 1 stopped early, 1 failed\n");
  EXPECT_EQ(cli("syntax a.zrb b.zrb c.zrb").status, 4);
  EXPECT_EQ(cli("syntax a.zrb c.zrb").status, 0);
}

// Files named together are jobs of one session: the second recalls the chord the first left.
TEST_F(Cli, FilesOfOneCallShareTheSession) {
  write("first.zrb", "[dms]4");
  write("second.zrb", ",4");
  ASSERT_EQ(cli("expand first.zrb second.zrb").status, 0);
  EXPECT_EQ(read("_second.zrb"), "[dms]4\r\n");
}

TEST_F(Cli, AFatalStopEndsTheRunWithStatus1) {
  // The repeat count makes the expanded text pass the loop limit.
  write("huge.zrb", "%1\r\n#A0\r\nd4\r\n$a{c4}99999999\r\nd4\r\n");
  write("next.zrb", kWholeScore);
  const CliRun run = cli("expand --locations huge.zrb next.zrb");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out,
            "huge.zrb:4:15: error: fatal stop: LoopBun:buffer_max_over!!!\n"
            "    4 | $a{c4}99999999\n"
            "      |               ^\n");
  EXPECT_EQ(run.err,
            "bivox-cli: _huge.zrb: stopped: LoopBun:buffer_max_over!!!\n"
            "bivox-cli: 2 files: 0 complete, 0 stopped early, 1 failed, 1 not run after the "
            "fatal stop\n");
  EXPECT_EQ(read("_huge.zrb"), "LoopBun:buffer_max_over!!!\r\n");
  EXPECT_FALSE(exists("_next.zrb"));
}

}  // namespace
}  // namespace bivox::test
