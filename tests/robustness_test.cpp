// What no input may do: crash, hang, exhaust memory, corrupt or lose data, or write
// anywhere but the output file. Nesting of every kind is driven far past the limit, and bad
// files are handed to the job driver and to bivox-cli. (The language tests reach every
// resource limit through the score.)
#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "support.hpp"

namespace bivox {
namespace {

namespace fs = std::filesystem;
using test::repeat;
using test::run_score;

// A few bytes of macro reference write out megabytes, and every open level of a nesting
// keeps what it has read so far: nested definitions that each hold three such references
// would need gigabytes. The text held at once is bounded; past it the pass ends in the
// out-of-memory stop instead of exhausting the machine.
std::string amplified_nesting(int levels) {
  std::string score = "$x{" + std::string(10, 'c') + "}0";
  for (int i = 0; i < levels; ++i) score += "$a" + std::to_string(i) + "{" + repeat("${x}99999", 3);
  return score + repeat("}", static_cast<std::size_t>(levels));
}

TEST(HeldText, ShallowNestingOfLargeExpansionsIsUnchanged) {
  // Two levels hold some 12 MB at once, far below the bound; the inner body is too long for
  // the macro table, as it always was.
  const JobResult run = run_score(Job::expand, amplified_nesting(2));
  ASSERT_TRUE(run.fatal);
  EXPECT_EQ(*run.fatal, "NamedMacro=OneMacroBuf[10240]Over!!!\n");
}

// Nesting of every kind (one per code path), as deep as a score can make it.
struct NestingKind {
  const char* name;
  std::function<std::string(std::size_t)> score;
  // The stop a million levels may end in, besides a result.
  const char* fatal = "NestDepth[20000]Over!!!\n";
};

std::vector<NestingKind> nesting_kinds() {
  const auto wrapped = [](std::string open, std::string inner, std::string close) {
    return [=](std::size_t n) { return repeat(open, n) + inner + repeat(close, n); };
  };
  return {
      {"tuplets", wrapped("(", "c", ")")},
      {"bracket_chords", wrapped("[", "c", "]")},
      {"named_macros", wrapped("$m{", "c", "}")},
      {"unclosed_tuplets", wrapped("(c", "", "")},
      {"tie_chain", wrapped("", "c4", "^8")},
      {"member_letters", [](std::size_t n) { return "@" + repeat("A", n); },
       "MemberNameMaxOver[1024]!!!\n"},
      {"key_signature_letters", [](std::size_t n) { return "\\" + repeat("C", n) + "+"; }},
      {"tension_list", [](std::size_t n) { return "'C(" + repeat("9,", n) + "9)'"; }},
  };
}

void PrintTo(const NestingKind& kind, std::ostream* os) {
  *os << kind.name;
}

class Nesting : public ::testing::TestWithParam<NestingKind> {};

// A million levels end in the nesting stop or in a result; never in a crash.
TEST_P(Nesting, MillionLevelsEndCleanly) {
  const std::string score = GetParam().score(1'000'000);
  for (const Job job : {Job::syntax, Job::expand, Job::stereo}) {
    const JobResult run = run_score(job, score);
    if (run.fatal) {
      EXPECT_EQ(*run.fatal, GetParam().fatal);
      EXPECT_EQ(run.output, text_mode(*run.fatal));
    }
    EXPECT_LE(run.stop, run.end);
  }
}

// Processor seconds for `reps` runs of the syntax test on the score: other work on a busy
// machine stretches the wall clock, not this.
double seconds_for(const std::string& score, int reps) {
  const std::clock_t start = std::clock();
  for (int i = 0; i < reps; ++i) run_score(Job::syntax, score);
  return static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
}

double fastest_of_three(const std::string& score, int reps) {
  return std::min({seconds_for(score, reps), seconds_for(score, reps), seconds_for(score, reps)});
}

// Four times the input takes about four times the work, never the sixteen of a square.
void expect_linear(const std::function<std::string(std::size_t)>& make, std::size_t n) {
  const std::string small = make(n);
  const std::string large = make(4 * n);
  // Repeat the small input until it takes long enough to measure.
  int reps = 1;
  while (seconds_for(small, reps) < 0.05 && reps < 1024) reps *= 2;
  const double ratio = fastest_of_three(large, reps) / fastest_of_three(small, reps);
  EXPECT_LT(ratio, 8.0) << "input " << small.size() << " -> " << large.size() << " bytes";
}

// One check per kind of growth: depth past the limit, and groups a thousand levels deep one
// after another (the whole score is parsed).
TEST(Growth, RunTimeIsLinearPastTheLimitAndWithManyGroupsBelowIt) {
  const auto tuplets = [](std::size_t n) { return repeat("(", n) + "c" + repeat(")", n); };
  expect_linear(tuplets, 250'000);
  expect_linear([&](std::size_t n) { return repeat(tuplets(1000) + "\n", n); }, 10);
}

INSTANTIATE_TEST_SUITE_P(Kinds, Nesting, ::testing::ValuesIn(nesting_kinds()),
                         [](const auto& test_case) { return std::string(test_case.param.name); });

// Bad files, through the job driver: the input is never modified and nothing is written but
// the output file beside it.
class BadFile : public ::testing::Test {
 protected:
  test::TempDir dir;
  std::string input = dir.file("score.zrb");
  std::string output = dir.file("_score.zrb");

  std::set<std::string> files() const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.path())) {
      names.insert(entry.path().filename().string());
    }
    return names;
  }

  std::pair<std::string, fs::file_time_type> stored() const {
    return {test::read_file(input), fs::last_write_time(input)};
  }

  // Runs every job on the input as stored; checks that the input stays as it was and that
  // only the output file is added.
  JobResult run_every_job(std::string_view bytes) {
    test::write_file(input, bytes);
    const auto before = stored();
    JobResult last;
    for (const Job job : {Job::syntax, Job::expand, Job::stereo}) {
      Session session;
      last = run_file(session, job, input, {});
      EXPECT_TRUE(stored() == before) << "the input was modified";
      EXPECT_EQ(files(), (std::set<std::string>{"score.zrb", "_score.zrb"}));
    }
    return last;
  }
};

TEST_F(BadFile, EmptyBinaryOrCutScoresNeverBreakTheJob) {
  std::string binary;
  for (int b = 0; b < 1024; ++b) binary += static_cast<char>((b * 97 + b / 256 * 31) % 256);
  for (const std::string& bytes : {std::string(), binary, std::string("c d \x1a e f")}) {
    const JobResult r = run_every_job(bytes);
    EXPECT_EQ(r.end, static_cast<Position>(bytes.size()));
    EXPECT_LE(r.stop, r.end);
  }
}

TEST_F(BadFile, HundredMegabyteScoreEndsInTheLoopLimitWithBoundedMemory) {
  // A hundred megabytes of comment lines: the loop limit ends the job long before the end.
  const std::string line = ";" + std::string(1'000'000, 'x') + "\n";
  test::write_file(input, repeat(line, 100));
  const auto size_before = fs::file_size(input);
  const test::CliRun child = test::run_cli(dir.path(), "stereo " + input);
  EXPECT_EQ(child.status, 1);
  EXPECT_EQ(test::read_file(output), "LoopBun:buffer_max_over!!!\r\n");
  EXPECT_EQ(fs::file_size(input), size_before);
  // The score itself is held once, with room for a few copies of the rebuilt text.
  EXPECT_LT(child.peak_kib, 1024L * 1024) << "peak memory in KiB";
}

TEST_F(BadFile, NestedExpansionsStopInBoundedMemory) {
  test::write_file(input, amplified_nesting(3000));
  const test::CliRun child = test::run_cli(dir.path(), "expand " + input);
  EXPECT_EQ(child.status, 1);
  EXPECT_EQ(test::read_file(output), test::sjis("領域が確保できません。TooLarge。!!!\r\n"));
  EXPECT_LT(child.peak_kib, 2L * 1024 * 1024) << "peak memory in KiB";
}

}  // namespace
}  // namespace bivox
