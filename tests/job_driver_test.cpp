#include <gtest/gtest.h>

// ---- language: what one session keeps from job to job ------------------------------------
#include <cstdlib>
#include <string>

#include "support.hpp"
#include "text/messages.hpp"

namespace bivox {
namespace {

using test::lines;

// The first score leaves a nameless body, a tuplet and a chord behind; the second only
// recalls them.
constexpr std::string_view kLeaves = "{dr} (drm)8 #B1 [dms]4";
constexpr std::string_view kRecalls = "{}2 ()8 #B1 ,4";

TEST(SessionLifetime, CapturesAndNamelessBodyOutliveJobs) {
  Session session;
  test::run_score(session, Job::expand, kLeaves);
  // A syntax test in between neither clears nor changes them.
  const test::Run syntax = test::run_score(session, Job::syntax, kRecalls);
  EXPECT_EQ(lines(syntax.output), "{}2()8\n#B1 ,4\n");
  const test::Run recalled = test::run_score(session, Job::expand, kRecalls);
  EXPECT_EQ(lines(recalled.output), "{dr}2(drm)8\n#B1 [dms]4\n");
  EXPECT_TRUE(recalled.result.diagnostics.empty());
  // The macro table, unlike them, starts empty with every job.
  test::run_score(session, Job::expand, "$a{c}");
  EXPECT_EQ(lines(test::run_score(session, Job::expand, "${a}").output),
            "\n" + std::string(msg::kMacroNotFound) + "\n");
}

TEST(SessionLifetime, FreshSessionRecallsNothing) {
  EXPECT_EQ(lines(test::run_score(Job::expand, kRecalls).output), "{}2()8\n#B1 4\n");
}

// Files named together on one command line are jobs of one session.
TEST(SessionLifetime, FilesOfOneCliCallShareTheSession) {
  test::TempDir dir;
  const std::string first = dir.file("first.zrb");
  const std::string second = dir.file("second.zrb");
  test::write_file(first, kLeaves);
  test::write_file(second, kRecalls);
  const std::string command = std::string("\"") + BIVOX_CLI + "\" expand \"" + first + "\" \"" +
                              second + "\" > \"" + dir.file("log") + "\"";
  ASSERT_EQ(std::system(command.c_str()), 0);
  EXPECT_EQ(test::read_file(dir.file("_second.zrb")), "{dr}2(drm)8\r\n#B1 [dms]4\r\n");
  // Each call is a session of its own.
  const std::string alone =
      std::string("\"") + BIVOX_CLI + "\" expand \"" + second + "\" > \"" + dir.file("log") + "\"";
  ASSERT_EQ(std::system(alone.c_str()), 0);
  EXPECT_EQ(test::read_file(dir.file("_second.zrb")), "{}2()8\r\n#B1 4\r\n");
}

}  // namespace
}  // namespace bivox
// ---- end of language -----------------------------------------------------------------
