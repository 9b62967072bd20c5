// Chord symbols, tuplets, bracket chords, macros and repeats through whole scores.
#include <gtest/gtest.h>

#if __has_include(<sys/resource.h>)
#include <sys/resource.h>
#endif

#include <chrono>
#include <string>
#include <vector>

#include "grammar/grammar.hpp"
#include "support.hpp"
#include "text/messages.hpp"

namespace bivox {
namespace {

using test::lines;
using test::sjis;

std::string repeat_text(std::string_view piece, std::size_t times) {
  std::string text;
  for (std::size_t i = 0; i < times; ++i) text += piece;
  return text;
}

// A whole job on a small score: the output file with plain line feeds and the diagnostics
// of its last pass. Texts are UTF-8 here and cp932 in the job.
struct LanguageCase {
  const char* what;
  Job job;
  std::string score;
  std::string output;
  std::vector<std::string> diagnostics;
  Position stop = -1;  // -1: the whole score is understood
};

void PrintTo(const LanguageCase& c, std::ostream* os) {
  *os << c.what;
}

class LanguageJobs : public ::testing::TestWithParam<LanguageCase> {};

TEST_P(LanguageJobs, RebuildAndReport) {
  const LanguageCase& c = GetParam();
  const test::Run run = test::run_score(c.job, sjis(c.score));
  ASSERT_FALSE(run.result.fatal) << *run.result.fatal;
  EXPECT_EQ(lines(run.output), sjis(c.output));
  std::vector<std::string> expected;
  for (const std::string& d : c.diagnostics) expected.push_back(sjis(d));
  EXPECT_EQ(run.result.diagnostics, expected);
  EXPECT_EQ(run.result.stop, c.stop < 0 ? run.result.end : c.stop);
}

const std::string kNotFound = "!-----マクロ定義が見つかりません-----!";
const std::string kMacroRef = "展開マクロがありました、展開して下さい";
const std::string kNamelessRef = "無名マクロ省略時展開がありました、展開して下さい";
const std::string kOmitted = "省略連符がありました、展開して下さい";
const std::string kRepeat = "再現がありました、展開して下さい";

INSTANTIATE_TEST_SUITE_P(
    Macros, LanguageJobs,
    ::testing::Values(
        LanguageCase{"definition with a count", Job::expand, "$a{c}3", "\nccc\n", {}},
        LanguageCase{"count 0 still stores", Job::expand, "$a{c}0${a}2", "\n\ncc\n", {}},
        LanguageCase{"count with leading zeros", Job::expand, "$a{c}003", "\nccc\n", {}},
        LanguageCase{
            "count after spacing and a comment", Job::expand, "$a{c} //- two\n 2", "\ncc\n", {}},
        LanguageCase{"first definition of a name is kept",
                     Job::expand,
                     "$a{c}${a}$a{d}2${a}",
                     "\nc\nc\ndd\nc\n",
                     {}},
        LanguageCase{"forward reference resolved by the second pass",
                     Job::expand,
                     "${a}2$a{dr}",
                     "\ndrdr\ndr\n",
                     {}},
        LanguageCase{
            "undefined name: the marker once", Job::expand, "${zz}4", "\n" + kNotFound + "\n", {}},
        LanguageCase{
            "names are case-sensitive", Job::expand, "$a{c}${A}", "\nc\n" + kNotFound + "\n", {}},
        LanguageCase{"empty named body", Job::expand, "$a{}3${a}", "\n\n\n", {}},
        LanguageCase{
            "nested macros", Job::expand, "$a{dr}$b{${a}2m}${b}", "\ndr\n\ndrdrm\n\ndrdrm\n", {}},
        // The body of b was stored in the first pass, when a was not yet known: its
        // definition site is rebuilt with a, its reference keeps the marker.
        LanguageCase{"stored body is not refreshed",
                     Job::expand,
                     "$b{${a}}$a{d}${b}",
                     "\n\nd\nd\n\n" + kNotFound + "\n",
                     {}},
        LanguageCase{
            "syntax test: definition written back", Job::syntax, "$a{c}2", "\n$a{c}2\n", {}},
        LanguageCase{
            "syntax test: reference reported", Job::syntax, "${a}2", "\n${a}2\n", {kMacroRef}},
        LanguageCase{"stereo: reference reported", Job::stereo, "${a}", "\n${a}\n", {kMacroRef}},
        LanguageCase{"syntax test: empty braces reported",
                     Job::syntax,
                     "{dr}{}2",
                     "{dr}{}2\n",
                     {kNamelessRef}},
        LanguageCase{"expansion: empty braces filled, count kept",
                     Job::expand,
                     "{dr}{}2",
                     "{dr}{dr}2\n",
                     {}},
        LanguageCase{"no member prefix inside a macro body",
                     Job::expand,
                     "$m{c V90}V80",
                     "\nc\nV90\n@AV80\n",
                     {}},
        LanguageCase{
            "empty braces leave no macro depth behind", Job::expand, "{}c V80", "{}c\n@AV80\n", {}},
        LanguageCase{"a tuplet is no macro level", Job::expand, "(c V90)4", "(c\n@AV90)4\n", {}},
        LanguageCase{"syntax test: members inside a body are reported",
                     Job::syntax,
                     "$m{c V90}",
                     "\n$m{c\nV90}\n",
                     {"メンバー宣言から,メンバー属性値設定までの間に、音が挟まれました。"
                      "展開して下さい[V]"}}));

INSTANTIATE_TEST_SUITE_P(
    Tuplets, LanguageJobs,
    ::testing::Values(
        LanguageCase{"omitted tuplet recalled", Job::expand, "(drm)8 ()8", "(drm)8(drm)8\n", {}},
        LanguageCase{"syntax test: omitted tuplet reported",
                     Job::syntax,
                     "(drm)8 ( )8",
                     "(drm)8()8\n",
                     {kOmitted}},
        LanguageCase{"stereo: reported once, by the last pass",
                     Job::stereo,
                     "()8 ()4",
                     "()8()4\n",
                     {kOmitted, kOmitted}},
        LanguageCase{"the enclosing tuplet overwrites the inner capture",
                     Job::expand,
                     "((dr)8m)4 ()4",
                     "((dr)8m)4((dr)8m)4\n",
                     {}},
        LanguageCase{"captures per track and voice",
                     Job::expand,
                     "#B1 (dr)8 #A0 ()8 #B1 ()8",
                     "\n#B1 (dr)8\n#A0 ()8\n#B1 (dr)8\n",
                     {}},
        LanguageCase{"a track selection inside moves the capture",
                     Job::expand,
                     "(d #B2 r)8 ()8",
                     "(d\n#B2 r)8(d\n#B2 r)8\n",
                     {}},
        LanguageCase{"before the first tuplet: the last of the first pass",
                     Job::expand,
                     "()8 (dr)8 (mf)4",
                     "(mf)8(dr)8(mf)4\n",
                     {}},
        LanguageCase{"unclosed tuplet stops the parse", Job::syntax, "d (rm", "d\n", {}, 2}));

const std::string kBracketReport = "和音[]考慮願います。=";
const std::string kSymbolReport = "コード''考慮願います。=";

INSTANTIATE_TEST_SUITE_P(
    Chords, LanguageJobs,
    ::testing::Values(
        LanguageCase{"bracket chord reported",
                     Job::syntax,
                     "[dms]4",
                     "[dms]4\n",
                     {kBracketReport + "[dms]"}},
        LanguageCase{"empty bracket chord not reported", Job::syntax, "[]4", "[]4\n", {}},
        LanguageCase{"spacing dropped, both lengths kept",
                     Job::syntax,
                     "[d m s]4:2",
                     "[dms]4:2\n",
                     {kBracketReport + "[dms]"}},
        // d m s are 48 52 55: centre 51.5, scale 129 / 8; the report drops the pans.
        LanguageCase{"stereo: notes inside placed",
                     Job::stereo,
                     "[dms]4",
                     "[ @S-56d @S+8m @S+56s]4\n",
                     {kBracketReport + "[dms]"}},
        LanguageCase{
            "pan-fixed track not reported", Job::syntax, "S0 [dms]4 'C'", "\nS0[dms]4'C'\n", {}},
        LanguageCase{"nested groups",
                     Job::syntax,
                     "[d(rm)8]4",
                     "[d(rm)8]4\n",
                     {kBracketReport + "[d(rm)8]"}},
        LanguageCase{
            "chord symbol reported", Job::syntax, "'C'4", "'C'4\n", {kSymbolReport + "[C]"}},
        LanguageCase{"every part of a chord symbol",
                     Job::syntax,
                     "'C#m7-5(9,11)/E'4:8-",
                     "'C#m7-5(9,11)/E'4:8-\n",
                     {kSymbolReport + "[C#m7-5(9,11)/E]"}},
        LanguageCase{"flat root", Job::syntax, "'Bbm'", "'Bbm'\n", {kSymbolReport + "[Bbm]"}},
        LanguageCase{
            "octave mark and tensions as written",
            Job::syntax,
            "'C7>>' 'C(13,+11)' 'G/F#'",
            "'C7>>''C(13,+11)''G/F#'\n",
            {kSymbolReport + "[C7>>]", kSymbolReport + "[C(13,+11)]", kSymbolReport + "[G/F#]"}},
        LanguageCase{"a double-byte sharp is spacing",
                     Job::syntax,
                     "'C♯'",
                     "'C'\n",
                     {kSymbolReport + "[C]"}},
        LanguageCase{"maj7 is no quality", Job::syntax, "d 'Cmaj7'", "d\n", {}, 2},
        LanguageCase{"stereo: no pan before a chord symbol",
                     Job::stereo,
                     "d 'C'",
                     " @S0d'C'\n",
                     {kSymbolReport + "[C]"}}));

INSTANTIATE_TEST_SUITE_P(
    Repeats, LanguageJobs,
    ::testing::Values(
        LanguageCase{"syntax test: comma reported", Job::syntax, ",4", ",4\n", {kRepeat}},
        LanguageCase{"syntax test: dash kept", Job::syntax, ",4 -", ",4-\n", {kRepeat}},
        LanguageCase{"expansion: bracket chord reproduced",
                     Job::expand,
                     "#A1 [dm]4 ,4:8",
                     "\n#A1 [dm]4[dm]4:8\n",
                     {kBracketReport + "[dm]"}},
        LanguageCase{"expansion: chord symbol reproduced",
                     Job::expand,
                     "#B0 'Am7'2 ,4-",
                     "\n#B0 'Am7'2'Am7'4-\n",
                     {kSymbolReport + "[Am7]"}},
        LanguageCase{"expansion: no chord yet, the length alone", Job::expand, ",4 ,-", "4-\n", {}},
        LanguageCase{"expansion: an empty bracket chord is remembered too",
                     Job::expand,
                     "[dm]4 []4 ,8",
                     "[dm]4[]4[]8\n",
                     {kBracketReport + "[dm]"}},
        LanguageCase{"expansion: a pan-fixed track captures without a report",
                     Job::expand,
                     "S0 [dm]4 ,4",
                     "\nS0[dm]4[dm]4\n",
                     {}},
        LanguageCase{"expansion: chords per voice",
                     Job::expand,
                     "#A1 [dm]4 #A2 ,4",
                     "\n#A1 [dm]4\n#A2 4\n",
                     {kBracketReport + "[dm]"}},
        // The chord body is captured before its closing quote is looked for: the first
        // pass keeps 'Am7' although the symbol then fails, the second reproduces it.
        LanguageCase{"capture before the closing quote",
                     Job::expand,
                     "#B0 ,4 'Am7 c",
                     "\n#B0 'Am7'4\n",
                     {},
                     7},
        LanguageCase{"ampersand passed on", Job::syntax, "& d&", "&d&\n", {}},
        LanguageCase{"ampersand in the expansion", Job::expand, "&", "&\n", {}}));

// The rules of a chord symbol, one input each.
struct ChordRuleCase {
  const char* rule_name;
  bool (Grammar::*rule)();
  std::string input;
  std::string text;  // "<fail>" when the rule must not match
  Position after;
};

#define LANGUAGE_RULE(r) #r, &Grammar::r

void PrintTo(const ChordRuleCase& c, std::ostream* os) {
  *os << c.rule_name << " on " << c.input;
}

class ChordRules : public ::testing::TestWithParam<ChordRuleCase> {};

TEST_P(ChordRules, YieldTheirText) {
  const ChordRuleCase& c = GetParam();
  Session session;
  session.engine.input.open(c.input);
  Grammar grammar(session);
  std::string text = "<fail>";
  if ((grammar.*c.rule)()) session.engine.values.pop_into(text);
  EXPECT_EQ(text, c.text);
  EXPECT_EQ(session.engine.input.tell_pos(), c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Language, ChordRules,
    ::testing::Values(ChordRuleCase{LANGUAGE_RULE(chord_quality), "maj7", "m", 1},
                      ChordRuleCase{LANGUAGE_RULE(chord_quality), "'", "", 0},
                      ChordRuleCase{LANGUAGE_RULE(chord_quality), "dim M7", "dim", 3},
                      ChordRuleCase{LANGUAGE_RULE(chord_octave), ">>>>>", ">>>>", 4},
                      ChordRuleCase{LANGUAGE_RULE(chord_octave), "<<'", "<<", 2},
                      ChordRuleCase{LANGUAGE_RULE(chord_tensions), "(9, +11,-13)", "(9,+11,-13)",
                                    12},
                      ChordRuleCase{LANGUAGE_RULE(chord_tensions), "(10)", "", 0},
                      ChordRuleCase{LANGUAGE_RULE(chord_tensions), "(9,)", "", 0},
                      ChordRuleCase{LANGUAGE_RULE(chord_bass), "/Bb'", "/Bb", 3},
                      ChordRuleCase{LANGUAGE_RULE(chord_bass), "/H", "", 0},
                      ChordRuleCase{LANGUAGE_RULE(chord_root), "Eb", "Eb", 2},
                      ChordRuleCase{LANGUAGE_RULE(chord_root), "H", "<fail>", 0},
                      ChordRuleCase{LANGUAGE_RULE(chord_symbol_length), "4:8 -x", "4:8-", 5},
                      ChordRuleCase{LANGUAGE_RULE(chord_symbol_length), "x", "", 0},
                      ChordRuleCase{LANGUAGE_RULE(chord_colon_length), ":x", ":", 1}));

// Each quality is taken whole: no earlier literal of the list is a prefix that steals it.
TEST(ChordQualities, EveryQualityIsTakenWhole) {
  static const char* const kQualities[] = {
      "aug", "M7",   "M9",    "M",     "add9", "dim7", "dimM7", "dim9", "dim",  "+5",   "-5",
      "m-5", "m+5",  "mM7",   "madd9", "m69",  "mM9",  "m7+5",  "m7-5", "m7+9", "m7-9", "m6",
      "m7",  "m9+5", "m9-5",  "m9",    "m",    "sus2", "sus4",  "69",   "6",    "7+5",  "7-5",
      "7+9", "7-9",  "7sus4", "7",     "9+5",  "9-5",  "9sus4", "9",
  };
  ASSERT_EQ(std::size(kQualities), 41U);
  for (const std::string quality : kQualities) {
    const test::Run run = test::run_score(Job::syntax, "'F#" + quality + "'8");
    EXPECT_EQ(lines(run.output), "'F#" + quality + "'8\n") << quality;
    EXPECT_EQ(run.result.stop, run.result.end) << quality;
  }
}

// What a job on a generated score leaves: complete, or stopped with exactly the message in
// the output file (nothing had been written when the limit was met).
void expect_fatal(Job job, const std::string& score, std::string_view message) {
  const test::Run run = test::run_score(job, score);
  ASSERT_TRUE(run.result.fatal) << message;
  EXPECT_EQ(*run.result.fatal, message);
  EXPECT_EQ(lines(run.output), message);
  EXPECT_EQ(run.output.substr(run.output.size() - 2), "\r\n");
}

void expect_complete(Job job, const std::string& score) {
  const test::Run run = test::run_score(job, score);
  ASSERT_FALSE(run.result.fatal) << *run.result.fatal;
  EXPECT_TRUE(run.result.complete());
}

std::string definitions(int n) {
  std::string score;
  for (int i = 1; i <= n; ++i) score += "$m" + std::to_string(i) + "{c}\n";
  return score;
}

TEST(LanguageLimits, MacroTableHolds999Names) {
  expect_complete(Job::expand, definitions(999) + "$m1{d}");  // a known name is no new entry
  expect_fatal(Job::expand, definitions(1000), "MacroBlock[1000]Over!!!\n");
  expect_complete(Job::syntax, definitions(1000));
}

TEST(LanguageLimits, NamesUpTo31Bytes) {
  expect_complete(Job::expand, "$" + std::string(31, 'n') + "{c}");
  expect_fatal(Job::expand, "$" + std::string(32, 'n') + "{c}",
               "NamedMacro=OneMacroBuf[10240]Over!!!\n");
}

TEST(LanguageLimits, BodiesUpTo10239Bytes) {
  expect_complete(Job::expand, "$m{" + std::string(10239, 'c') + "}");
  expect_fatal(Job::expand, "$m{" + std::string(10240, 'c') + "}",
               "NamedMacro=OneMacroBuf[10240]Over!!!\n");
  expect_complete(Job::expand, "{" + std::string(10239, 'c') + "}");
  expect_fatal(Job::expand, "{" + std::string(10240, 'c') + "}",
               "NonNamedMacro=OneMacroBuf[10240]Over!!!\n");
  // Outside the expansion nothing is stored, and the text is written whole.
  const std::string body(20000, 'c');
  const test::Run run = test::run_score(Job::syntax, "$m{" + body + "}2{" + body + "}");
  EXPECT_EQ(lines(run.output), "\n$m{" + body + "}2{" + body + "}\n");
}

TEST(LanguageLimits, ChordAndTupletCaptures) {
  expect_complete(Job::expand, "(" + std::string(1023, 'c') + ")");
  expect_fatal(Job::expand, "(" + std::string(1024, 'c') + ")", "RennpuMaxOver[1024]!!!\n");
  expect_complete(Job::expand, "[" + std::string(1021, 'c') + "]");
  expect_fatal(Job::expand, "[" + std::string(1022, 'c') + "]", "WaonnMaxOver[1024]!!!\n");
  // The body "C(9,9,...,9)" with k tensions is 2k + 2 bytes; a flat root adds one.
  const auto symbol = [](std::string_view root, std::size_t nines) {
    return "'" + std::string(root) + "(" + repeat_text("9,", nines - 1) + "9)'";
  };
  expect_complete(Job::expand, symbol("Cb", 509));
  expect_fatal(Job::expand, symbol("C", 510), "CodeMaxOver[1024]!!!\n");
  expect_complete(Job::syntax, "(" + std::string(1024, 'c') + ")[" + std::string(1022, 'c') + "]" +
                                   symbol("C", 510));
}

TEST(LanguageLimits, LongChordsAreReproducedWhole) {
  const std::string chord = "[" + std::string(1021, 'c') + "]";
  const test::Run run = test::run_score(Job::expand, chord + "4 ,8");
  EXPECT_EQ(lines(run.output), chord + "4" + chord + "8\n");
}

// The peak resident memory of the process so far, in kilobytes (0 where it is not known).
long peak_memory_kb() {
#if __has_include(<sys/resource.h>)
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
#else
  return 0;
#endif
}

TEST(LanguageCounts, HugeCountsStopBeforeBuilding) {
  const auto started = std::chrono::steady_clock::now();
  const long memory_before = peak_memory_kb();
  for (const std::string count : {"4000000000", "99999999999999999999999999"}) {
    expect_fatal(Job::expand, "$a{c}" + count, msg::kLoopBufferFull);
    expect_fatal(Job::expand, "$a{c}\n${a}" + count, msg::kLoopBufferFull);
  }
  EXPECT_LT(peak_memory_kb() - memory_before, 64 * 1024);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
  // An empty body repeats to nothing, however often.
  const test::Run run = test::run_score(Job::expand, "$a{}4000000000 ${a}4000000000");
  EXPECT_EQ(lines(run.output), "\n\n\n");
}

TEST(LanguageCounts, RepetitionsThatFitAreWrittenWhole) {
  // Ten bytes 299,999 times is 2,999,990 bytes: inside the loop limit.
  const std::string body = "drmfsldrmf";
  const test::Run run = test::run_score(Job::expand, "$a{" + body + "}299999");
  ASSERT_FALSE(run.result.fatal);
  EXPECT_EQ(run.output.size(), 2 + 299999 * body.size() + 2);
  EXPECT_EQ(lines(run.output), "\n" + repeat_text(body, 299999) + "\n");
  expect_fatal(Job::expand, "$a{" + body + "}300000", msg::kLoopBufferFull);
  // Written out in a loop that already holds text, the loop's own limit applies.
  expect_fatal(Job::expand, repeat_text("d ", 9) + "$a{" + body + "}299999", msg::kLoopBufferFull);
}

// Definitions and references leave trace lines only while macros are expanded.
TEST(MacroTrace, OnlyInTheExpansion) {
  for (const Job job : {Job::syntax, Job::expand}) {
    Session session;
    std::string trace;
    session.engine.trace = [&](std::string_view line) {
      if (line.find("-----macro_") != std::string_view::npos) trace += line;
    };
    test::run_score(session, job, "${a} $a{c}");
    const std::string pass = "-----macro_ref-----\n-----macro_def-----\n";
    EXPECT_EQ(trace, job == Job::expand ? pass + pass : "");
  }
}

// A chord symbol's body is captured as soon as it matched, whether its closing quote
// follows or not, and only while macros are expanded.
TEST(ChordCapture, HappensBeforeTheClosingQuote) {
  for (const bool expansion : {false, true}) {
    Session session;
    set_job_mode(session, expansion ? JobMode::expand : JobMode::syntax, false);
    session.score.current_track = 1;
    session.engine.input.open("'Am7 c");
    Grammar grammar(session);
    EXPECT_FALSE(grammar.chord_symbol());
    EXPECT_EQ(session.engine.input.tell_pos(), 0);
    EXPECT_EQ(session.captures.chord_capture[1][0], expansion ? "'Am7'" : "");
    EXPECT_TRUE(session.diagnostics.entries().empty());
  }
}

}  // namespace
}  // namespace bivox
// ---- end of language -----------------------------------------------------------------
