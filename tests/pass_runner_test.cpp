// The pass runner: positions, the pass start, the diagnostic list's capacity, fatal stops
// and files that cannot be read or written.
#include <gtest/gtest.h>

#include <filesystem>

#include "support.hpp"
#include "text/format.hpp"
#include "text/messages.hpp"

namespace bivox {
namespace {

using test::run_score;

TEST(PassRunner, EmptyAndCommentOnlyScoresWriteAnEmptyFile) {
  for (const char* score : {"", " \r\n/* only */ !x!"}) {
    auto run = run_score(Job::stereo, score);
    EXPECT_TRUE(run.result.complete());
    EXPECT_EQ(run.output, "");
  }
}

TEST(PassRunner, DiagnosticListKeeps299Messages) {
  auto run = run_score(Job::syntax, std::string(300, ','));
  ASSERT_EQ(run.result.diagnostics.size(), 299U);
  EXPECT_EQ(run.result.diagnostics.back(), msg::kChordRepeat);
}

TEST(PassRunner, TwoPassJobsShowTheSecondPassMessagesOnly) {
  auto run = run_score(Job::expand, "${a} $a{d}");
  EXPECT_TRUE(run.result.diagnostics.empty());
  EXPECT_EQ(test::lines(run.output), "\nd\nd\n");
}

TEST(FatalStop, MessageAloneWhenMetDuringTheParse) {
  // Trailing spacing is first skipped by the element loop's next attempt, inside the parse.
  for (const std::string& score :
       {std::string(1024, ' ') + "\\ +", "\\ +" + std::string(1024, ' ')}) {
    auto run = run_score(Job::syntax, score);
    ASSERT_TRUE(run.result.fatal);
    EXPECT_EQ(run.output, "push_char_buf_Over!!!\r\n");
  }
}

TEST(FatalStop, NestingBeyondTheStackEndsCleanly) {
  auto run = run_score(Job::syntax, std::string(200000, '(') + "c");
  ASSERT_TRUE(run.result.fatal);
  EXPECT_EQ(*run.result.fatal, format(msg::kNestingTooDeep, ParseContext::kMaxDepth));
  EXPECT_EQ(test::lines(run.output), *run.result.fatal);
}

TEST(Files, UnreadableInputWritesNothing) {
  test::TempDir dir;
  Session session;
  EXPECT_THROW(run_job(session, Job::syntax, dir.file("missing.zrb"), dir.file("_missing.zrb")),
               FileError);
  EXPECT_THROW(run_job(session, Job::syntax, dir.path().string(), dir.file("_x.zrb")), FileError);
  EXPECT_FALSE(std::filesystem::exists(dir.file("_missing.zrb")));
  EXPECT_FALSE(std::filesystem::exists(dir.file("_x.zrb")));
}

TEST(Files, OutputNeverReplacesTheInput) {
  test::TempDir dir;
  const std::string input = dir.file("song.zrb");
  test::write_file(input, "\\ +");
  Session session;
  EXPECT_THROW(run_job(session, Job::stereo, input, input), FileError);
  EXPECT_THROW(run_job(session, Job::stereo, input, dir.file("./song.zrb")), FileError);
  EXPECT_EQ(test::read_file(input), "\\ +");
}

TEST(Files, UnwritableOutputIsAnError) {
  test::TempDir dir;
  const std::string input = dir.file("song.zrb");
  test::write_file(input, "\\ +");
  Session session;
  EXPECT_THROW(run_job(session, Job::syntax, input, dir.file("no/such/dir/_song.zrb")), FileError);
}

}  // namespace
}  // namespace bivox
