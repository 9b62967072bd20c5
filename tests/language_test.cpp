// The score language where the golden cases cannot show it: stops, long texts and chains,
// every limit reached through the score, and what one session keeps from job to job.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <string>
#include <vector>

#include "support.hpp"
#include "text/messages.hpp"

namespace bivox {
namespace {

using test::lines;
using test::sjis;

// A whole job on a score: the output file with plain line feeds and the diagnostics of its
// last pass. Texts are UTF-8 here and cp932 in the job.
struct LanguageCase {
  Job job;
  std::string score;
  std::string output;
  std::vector<std::string> diagnostics = {};
  Position stop = -1;  // -1: the whole score is understood
};

void PrintTo(const LanguageCase& c, std::ostream* os) {
  *os << c.score;
}

class LanguageJobs : public ::testing::TestWithParam<LanguageCase> {};

TEST_P(LanguageJobs, RebuildAndReport) {
  const LanguageCase& c = GetParam();
  const JobResult run = test::run_score(c.job, sjis(c.score));
  ASSERT_FALSE(run.fatal) << *run.fatal;
  EXPECT_EQ(lines(run.output), sjis(c.output));
  ASSERT_EQ(run.diagnostics.size(), c.diagnostics.size());
  for (std::size_t i = 0; i < c.diagnostics.size(); ++i) {
    EXPECT_EQ(run.diagnostics[i].text, sjis(c.diagnostics[i]));
  }
  EXPECT_EQ(run.stop, c.stop < 0 ? run.end : c.stop);
}

const std::string kBracketReport = "和音[]考慮願います。=";
const std::string kTenBytes = "drmfsldrmf";
const std::string kLongBody(20000, 'c');
const std::string kLongChord = "[" + std::string(1021, 'c') + "]";

INSTANTIATE_TEST_SUITE_P(
    Language, LanguageJobs,
    ::testing::Values(
        // An unclosed tuplet ends the score where it opens.
        LanguageCase{Job::syntax, "d (rm", "d\n", {}, 2},
        // The chord body is captured before its closing quote is looked for: the first
        // pass keeps 'Am7' although the symbol then fails, the second reproduces it.
        LanguageCase{Job::expand, "#B0 ,4 'Am7 c", "\n#B0 'Am7'4\n", {}, 7},
        // The pitch command reports itself unless the current track is pan-fixed, which in the
        // second pass of a job it is when a later S made it so.
        LanguageCase{Job::expand, "U+1 S0", "\nU+1!-[ 0.10]-!\nS0\n"},
        // A chord report longer than 255 bytes is kept whole.
        LanguageCase{Job::syntax,
                     "[" + std::string(300, 'd') + "]",
                     "[" + std::string(300, 'd') + "]\n",
                     {kBracketReport + "[" + std::string(300, 'd') + "]"}},
        // A pan set inside a chord that then fails stays in force for the second pass.
        LanguageCase{Job::stereo, "#B0 x1 c @BC [T+4 S0", "\n#B0 \nx1c\n@BC\n", {}, 13},
        // Texts longer than their fields outside the expansion, reproduced chords, and
        // repetitions up to the loop limit (2,999,990 bytes) are written whole.
        LanguageCase{Job::syntax, "$m{" + kLongBody + "}2{" + kLongBody + "}",
                     "\n$m{" + kLongBody + "}2{" + kLongBody + "}\n"},
        LanguageCase{Job::expand,
                     kLongChord + "4 ,8",
                     kLongChord + "4" + kLongChord + "8\n",
                     {kBracketReport + kLongChord}},
        LanguageCase{Job::expand, "$a{" + kTenBytes + "}299999",
                     "\n" + test::repeat(kTenBytes, 299999) + "\n"},
        // Long chains are read in a loop, not by recursion: they are rebuilt whole.
        LanguageCase{Job::stereo, "d" + test::repeat("^", 200000),
                     " @S0d" + test::repeat("^", 200000) + "\n"},
        LanguageCase{Job::stereo, test::repeat("<>", 100000) + "d",
                     test::repeat("<>", 100000) + " @S0d\n"},
        // A pitch above 500 never lowers the track's lowest pitch from its starting mark of
        // 500, so the one note sits at the top of the range 500..2400048.
        LanguageCase{Job::stereo, test::repeat("<", 200000) + "d",
                     test::repeat("<", 200000) + " @S+64d\n"},
        LanguageCase{Job::stereo, "\\" + test::repeat("AB", 100000) + " + x1 f",
                     "\n\\" + test::repeat("AB", 100000) + "+\nx1 @S0f\n"}));

// A job on a generated score either completes, or stops with exactly the message in the
// output file (nothing had been written when the limit was met).
struct LimitCase {
  const char* what;
  Job job;
  std::string score;
  std::string_view fatal;  // empty: the job completes
};

void expect_outcome(const LimitCase& c) {
  const JobResult run = test::run_score(c.job, c.score);
  if (c.fatal.empty()) {
    ASSERT_FALSE(run.fatal) << c.what << ": " << *run.fatal;
    EXPECT_TRUE(run.complete()) << c.what;
    return;
  }
  ASSERT_TRUE(run.fatal) << c.what;
  EXPECT_EQ(*run.fatal, c.fatal) << c.what;
  EXPECT_EQ(lines(run.output), c.fatal) << c.what;
  EXPECT_EQ(run.output.substr(run.output.size() - 2), "\r\n") << c.what;
}

class LanguageLimits : public ::testing::TestWithParam<LimitCase> {};

TEST_P(LanguageLimits, HoldUpToTheirSize) {
  expect_outcome(GetParam());
}

std::string definitions(int n) {
  std::string score;
  for (int i = 1; i <= n; ++i) score += "$m" + std::to_string(i) + "{c}\n";
  return score;
}

// The body "C(9,9,...,9)" with k tensions is 2k + 2 bytes; a flat root adds one.
std::string chord_symbol(std::string_view root, std::size_t nines) {
  return "'" + std::string(root) + "(" + test::repeat("9,", nines - 1) + "9)'";
}

const std::string_view kNamedFull = "NamedMacro=OneMacroBuf[10240]Over!!!\n";
const std::string_view kLoopFull = "LoopBun:buffer_max_over!!!\n";

// `count` track letters, cycling through all sixteen.
std::string track_letters(std::size_t count) {
  static constexpr std::string_view kLetters = "ABCDEFGHIJKLMNOZ";
  std::string out;
  for (std::size_t i = 0; i < count; ++i) out += kLetters[i % kLetters.size()];
  return out;
}

// ";" lines whose rebuilt texts (a line feed, ";", the text, a line feed) fill one element
// loop with exactly 2,999,997 bytes after a first note.
std::string comment_lines_filling_the_loop() {
  return "c" + test::repeat(";" + std::string(999'996, 'x') + "\n", 3);
}

// Three references after a first definition that write 2,999,997 bytes into the loop.
std::string references_filling_the_loop() {
  return "$x{c}0" + test::repeat("${x}999998", 3);
}

INSTANTIATE_TEST_SUITE_P(
    Language, LanguageLimits,
    ::testing::Values(
        // A name defined again is no new entry of the table.
        LimitCase{"999 macros", Job::expand, definitions(999) + "$m1{d}", ""},
        LimitCase{"1000 macros", Job::expand, definitions(1000), "MacroBlock[1000]Over!!!\n"},
        LimitCase{"1000 macros, syntax test", Job::syntax, definitions(1000), ""},
        LimitCase{"name of 31", Job::expand, "$" + std::string(31, 'n') + "{c}", ""},
        LimitCase{"name of 32", Job::expand, "$" + std::string(32, 'n') + "{c}", kNamedFull},
        LimitCase{"body of 10239", Job::expand, "$m{" + std::string(10239, 'c') + "}", ""},
        LimitCase{"body of 10240", Job::expand, "$m{" + std::string(10240, 'c') + "}", kNamedFull},
        LimitCase{"nameless 10239", Job::expand, "{" + std::string(10239, 'c') + "}", ""},
        LimitCase{"nameless 10240", Job::expand, "{" + std::string(10240, 'c') + "}",
                  "NonNamedMacro=OneMacroBuf[10240]Over!!!\n"},
        LimitCase{"tuplet of 1023", Job::expand, "(" + std::string(1023, 'c') + ")", ""},
        LimitCase{"tuplet of 1024", Job::expand, "(" + std::string(1024, 'c') + ")",
                  "RennpuMaxOver[1024]!!!\n"},
        LimitCase{"bracket chord of 1021", Job::expand, "[" + std::string(1021, 'c') + "]", ""},
        LimitCase{"bracket chord of 1022", Job::expand, "[" + std::string(1022, 'c') + "]",
                  "WaonnMaxOver[1024]!!!\n"},
        LimitCase{"chord symbol of 1021", Job::expand, chord_symbol("Cb", 509), ""},
        LimitCase{"chord symbol of 1022", Job::expand, chord_symbol("C", 510),
                  "CodeMaxOver[1024]!!!\n"},
        // Outside the expansion nothing is captured.
        LimitCase{"captures, syntax test", Job::syntax,
                  "(" + std::string(1024, 'c') + ")[" + std::string(1022, 'c') + "]" +
                      chord_symbol("C", 510),
                  ""},
        LimitCase{"repetition of 3000000 bytes", Job::expand, "$a{" + kTenBytes + "}300000",
                  kLoopFull},
        // Written out in a loop that already holds text, the loop's own limit applies.
        LimitCase{"repetition after text", Job::expand,
                  test::repeat("d ", 9) + "$a{" + kTenBytes + "}299999", kLoopFull},
        // The rebuilt text is written only when the parse has finished, so a limit met during
        // it leaves the message alone in the output; the element loop's last attempt reads the
        // trailing spacing before that, so even there.
        LimitCase{"spacing of 1023", Job::syntax, "cd" + std::string(1023, ' '), ""},
        LimitCase{"spacing of 1024", Job::syntax, "cd" + std::string(1024, ' '),
                  "push_char_buf_Over!!!\n"},
        LimitCase{"loop of comment lines", Job::syntax, comment_lines_filling_the_loop(), ""},
        LimitCase{"loop of comment lines and a note", Job::syntax,
                  comment_lines_filling_the_loop() + "c", kLoopFull},
        LimitCase{"loop of references", Job::expand, references_filling_the_loop(), ""},
        LimitCase{"loop of references and a note", Job::expand, references_filling_the_loop() + "c",
                  kLoopFull},
        LimitCase{"1023 members", Job::syntax, "@" + track_letters(1023) + " V1", ""},
        LimitCase{"1024 members", Job::syntax, "@" + track_letters(1024) + " V1",
                  "MemberNameMaxOver[1024]!!!\n"},
        LimitCase{"1000 tuplet levels", Job::syntax,
                  test::repeat("(", 1000) + "c" + test::repeat(")", 1000), ""},
        LimitCase{"10000 tuplet levels", Job::syntax,
                  test::repeat("(", 10000) + "c" + test::repeat(")", 10000),
                  "NestDepth[20000]Over!!!\n"}));

TEST(LoopBuffer, HoldsExactlyWhatFits) {
  const JobResult run = test::run_score(Job::expand, references_filling_the_loop());
  const std::string loop = test::repeat("\n" + std::string(999'998, 'c'), 3);
  EXPECT_EQ(run.output, text_mode("\n" + loop + "\n"));
}

// The peak resident memory of the process so far, in kilobytes.
long peak_memory_kb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

TEST(LanguageCounts, HugeCountsStopBeforeBuilding) {
  const long memory_before = peak_memory_kb();
  for (const std::string count : {"4000000000", "99999999999999999999999999"}) {
    expect_outcome({"definition", Job::expand, "$a{c}" + count, kLoopFull});
    expect_outcome({"reference", Job::expand, "$a{c}\n${a}" + count, kLoopFull});
  }
  EXPECT_LT(peak_memory_kb() - memory_before, 64 * 1024);
  // An empty body repeats to nothing, however often.
  const JobResult run = test::run_score(Job::expand, "$a{}4000000000 ${a}4000000000");
  EXPECT_EQ(lines(run.output), "\n\n\n");
}

// The nameless body and the tuplet and chord captures live as long as the session, and are
// only taken while macros are expanded; the macro table, pan-fixed and drum tracks start
// empty with every job.
TEST(SessionLifetime, CapturesAndNamelessBodyOutliveJobs) {
  const std::string_view recalls = "{}2 ()8 #B1 ,4";
  SessionState session;
  test::run_score(session, Job::expand, "{dr} (drm)8 #B1 [dms]4");
  test::run_score(session, Job::syntax, "{sl} (sl)8 #B1 [sl]4 'Am'");
  const JobResult recalled = test::run_score(session, Job::expand, recalls);
  EXPECT_EQ(lines(recalled.output), "{dr}2(drm)8\n#B1 [dms]4\n");
  EXPECT_TRUE(recalled.diagnostics.empty());
  test::run_score(session, Job::expand, "$a{c}");
  EXPECT_EQ(lines(test::run_score(session, Job::expand, "${a}").output),
            "\n" + std::string(msg::kMacroNotFound) + "\n");
  test::run_score(session, Job::stereo, "@B S0 *DRUM\"C\"");
  EXPECT_EQ(lines(test::run_score(session, Job::stereo, "#B0 x1 c #C0 x1 c").output),
            "\n#B0 \nx1 @S0c\n#C0 \nx1 @S0c\n");
}

}  // namespace
}  // namespace bivox
