// The fast paths of the engine (remembered spacing, alternatives passed over by their first
// byte, the stereo conversion's second pass made from the marks of the first) must not
// change anything a job gives: output bytes, diagnostics, positions, fatal stops, the
// placement and trace lines are compared with the plain engine, job after job in one
// session. A trace needs the second pass run, so the fast paths run traced and untraced.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "score_generator.hpp"
#include "support.hpp"

namespace bivox {
namespace {

namespace fs = std::filesystem;

struct Outcome {
  std::vector<JobResult> results;
  std::string trace;
};

using Jobs = std::vector<Job>;
const Jobs kEveryJob = {Job::syntax, Job::expand, Job::stereo};
// Jobs again after others: what a session keeps (captures, the nameless body) carries over.
const Jobs kJobsAgain = {Job::syntax, Job::expand, Job::stereo, Job::expand, Job::syntax};

// Runs the jobs in turn on the score in one session, as consecutive button presses.
Outcome run_jobs(const std::string& score, const Jobs& jobs, bool fast, bool traced = true) {
  Outcome outcome;
  SessionState session;
  session.engine.fast_paths = fast;
  if (traced) session.engine.trace = [&](std::string_view line) { outcome.trace += line; };
  for (const Job job : jobs) outcome.results.push_back(test::run_score(session, job, score));
  return outcome;
}

void expect_same_with_and_without_fast_paths(const std::string& score, const std::string& name,
                                             const Jobs& jobs = kEveryJob) {
  const Outcome plain = run_jobs(score, jobs, false);
  for (const bool traced : {true, false}) {
    const Outcome fast = run_jobs(score, jobs, true, traced);
    ASSERT_EQ(fast.results.size(), plain.results.size());
    for (std::size_t i = 0; i < fast.results.size(); ++i) {
      SCOPED_TRACE(name + ", job " + std::to_string(i) + (traced ? ", traced" : ""));
      EXPECT_EQ(fast.results[i].output, plain.results[i].output);
      EXPECT_EQ(fast.results[i].diagnostics, plain.results[i].diagnostics);
      EXPECT_EQ(fast.results[i].stop, plain.results[i].stop);
      EXPECT_EQ(fast.results[i].end, plain.results[i].end);
      EXPECT_EQ(fast.results[i].fatal, plain.results[i].fatal);
      EXPECT_EQ(fast.results[i].placement.tracks, plain.results[i].placement.tracks);
    }
    if (traced) {
      EXPECT_EQ(fast.trace, plain.trace) << name;
    }
  }
}

TEST(FastPaths, GeneratedScoresGoldenInputsAndExamplesGiveTheSameJobs) {
  for (const std::uint32_t seed : {1U, 2U}) {
    expect_same_with_and_without_fast_paths(bench::generate_score(30'000, seed),
                                            "generated score " + std::to_string(seed), kJobsAgain);
  }
  for (const std::string& path : test::golden_case_files()) {
    const std::string input = test::parse_golden_case(test::read_file(path)).sections["input"];
    expect_same_with_and_without_fast_paths(test::sjis(input), path, kJobsAgain);
  }
  for (const auto& entry : fs::directory_iterator(BIVOX_EXAMPLES_DIR)) {
    expect_same_with_and_without_fast_paths(test::read_file(entry.path().string()),
                                            entry.path().string(), kJobsAgain);
  }
}

// Places where a fast path must step aside: the end of the data after an unclosed comment
// (every terminal traces it), the limit of the spacing record, the nesting limit, and
// bytes that begin no element.
TEST(FastPaths, EdgesGiveTheSameJobs) {
  const std::vector<std::string> scores = {
      "d4 r8 /* never closed", "c /* open\r\n", "", "   //- only a comment",
      "d4 " + std::string(1023, ' ') + "r4", "d4 " + std::string(1024, ' ') + "r4", "d4 ~ 8 ^",
      // Runs of blanks and line ends around the length that a quick look passes over.
      "d4" + std::string(63, ' ') + "r4", "d4" + std::string(64, '\t') + "r4", "d4 \t\r\n\r \n.",
      "d4 \r", "d4  /x r4", "d4 \n\x82\xa0", "V 12 34", "o\r\n5 V7", "'C7sus4'4 ,4- &",
      "$m{d r}2 ${m}3 {}2 {s}1 {}", "d4 \x1a r4", "d4 \x82\xa0 r4 \xff", "#B1 x1 c d e | #A0 d r m",
      // Every attribute and inline command, and each cut short by the end of the data.
      "@AB P64/2 V+3:4 S-2:8 R5 W6:16 Q7 U+1:2 Y1 T-3 X128=5.2 X9=3 X129=+4 @ V",
      "#A1 x2 v+3:4^8 v-2 o5 <<< >> < ?6 p0 p+2 q-1 p^4 q~8 ? x", "@A V /* open", "#A1 o /* open",
      // Chord bodies with spacing, comments or the end of the data between their parts, and
      // with more tensions than the nesting limit allows.
      "'C#m7(9,+11)/Gb'4 'D m7'4 'E/*c*/7'4 'F(9 , 11)'4 'G//-c\n'4 'Ab/C' 'B(9)/D#' 'C(9) /G'",
      "'Cm7(9", "'C(9)", "'C/", "'C(" + test::repeat("9,", 20000) + "9)'",
      // Runs of track letters with spacing and comments between them, and cut short.
      "@A B /* c */ C\r\nD V1 %E F \\G H +", "@AB /* open", "@A",
      // Shorter forms that reuse the longer form's first elements, before the data ends.
      "@A V5 /* open", "%3 /* open", ",4 /* open", "'C#(9 /* open",
      "\\ +++ \\ABZ -- %AB %3:4 *FING\"x2\" c h b", bench::generate_nested_score(1000),
      bench::generate_nested_score(300, true),
      // Reports quoting value reports, and reports about a track whose pan is fixed later,
      // with more of them than the messages hold.
      "#A0 [@A U+5 c]4 r #B0 [@B U-13:4 d] @B S+3 c",
      test::repeat("#B0 'C'4 ", 1000) + test::repeat("#A0 'C'4 ", 400) + "@B S+1",
      test::repeat("#B0 'C'4 ", 300) + test::repeat("#A0 'C'4 ", 200) + "@B S+1",
      // The deepest nesting that fits, and one level more.
      bench::generate_nested_score(3331), bench::generate_nested_score(3332)};
  for (const std::string& score : scores) {
    expect_same_with_and_without_fast_paths(score, score.substr(0, 80));
  }
}

// The length, with or without its slash suffix, is read without its rules on the fast
// paths: spacing and comments between its parts, every alternative of each part, and
// chains long enough to be left to the rules; after notes, chord symbols, commands.
TEST(FastPaths, NoteLengthsGiveTheSameJobs) {
  const std::vector<std::string> lengths = {
      "", "4", "64", "6", "12", "0.", "4...", " 4 . ^ 8", "i120", "i", "i 12 . `3", "i\r\n7",
      "4`3`2.", "4`", "4` 3 .", "^", "^8", "8 ^ 16 ~ 32", "4/////", "4///.", "4/...", "4/ .",
      "4//- line\r\n", "4 /* c */ . ^ /*d*/ 8", "4 !x! ~ 2", "4^^^^^^^^^^8", "4`1`2`3`4`5`6`7`8`9",
      "4 \x82\xa0 .", "2~4^8~16^32~64^1~2",
      // Terminals that follow each other directly, and each place where spacing could
      // come between them; chains at the limit and one beyond.
      "4 .", "4`3 .", "4`3`", "4`3.`1", "4^", "4^ 8", "4^i8", "4^i", "4~.", "i8^4`3./.", "i8 .",
      "4`3/* c */.", "4^4^4^4^4^4^4^4^4", "4^4^4^4^4^4^4^4^4^4", "4`1`2`3`4`5`6`7`8",
      // These two end the parse.
      "4`x", "4 /* open"};
  const std::vector<std::string> owners = {"d", "'C7'", "@A V5:", "p^", "%4:"};
  std::string score;
  for (const std::string& length : lengths) {
    for (const std::string& owner : owners) {
      score += owner + length + " r8 |\r\n";
      // At the end of the data the rules run.
      expect_same_with_and_without_fast_paths(owner + length, owner + length);
    }
  }
  expect_same_with_and_without_fast_paths(score, score);
}

// Notes are read without their rules on the fast paths: only the voice's own naming system
// is tried. Every letter of every system under every naming (and namings outside the three,
// set by a section text), each accidental, spacing and comments between the parts, key
// signatures that the German b and h ignore, and the end of the data at each part.
TEST(FastPaths, NotesGiveTheSameJobs) {
  const std::vector<std::string> namings = {"x0", "x1", "x2", "*FING\"x7\"\n", "*FING\"x/\"\n"};
  const std::string letters = "drmfslcegabh_";
  const std::vector<std::string> accidentals = {"",   "+",   "-",   "=",         "++",    "--",
                                                "+-", "===", " + ", "/* c */--", "\r\n+", "!x!="};
  for (const std::string& naming : namings) {
    std::string score = "%4:8 \\ABC -- \\D +++ " + naming + " ";
    for (const char letter : letters) {
      for (const std::string& accidental : accidentals) {
        score += std::string(1, letter) + accidental + "8 ";
      }
      score += "o3 <" + std::string(1, letter) + "4 > #D0 " + naming + " " + letter + "16 |\n";
    }
    expect_same_with_and_without_fast_paths(score, naming);
    // The end of the data after each part, and an unclosed comment there.
    for (const std::string end : {"c", "c+", "c+4", "c /* open", "c+ /* open", "r", "'C'"}) {
      expect_same_with_and_without_fast_paths(naming + " " + end, naming + " " + end);
    }
  }
}

// Notes read directly go straight into the element loop's text: the loop's buffer fills at
// the same note, and stops the pass the same way, as when each note passes through the
// value stack. In the stereo conversion 428,572 notes of seven bytes each fit.
TEST(FastPaths, NotesFillTheLoopAlike) {
  for (const std::size_t notes : {428'572U, 428'573U}) {
    const std::string score = test::repeat("c ", notes);
    EXPECT_EQ(test::run_score(Job::stereo, score).fatal.has_value(), notes > 428'572U);
    expect_same_with_and_without_fast_paths(score, std::to_string(notes), {Job::stereo});
  }
}

}  // namespace
}  // namespace bivox
