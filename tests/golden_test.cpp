// End-to-end cases: each file in golden/ gives a job, a score, and the exact output file,
// diagnostics and stop position the job must give. Case files are UTF-8; scores and
// outputs are compared as cp932 bytes, outputs with CR LF line ends.
//
// Layout of a case file:
//   job: syntax | expand | stereo      (several, space-separated, run in one session)
//   stop: N                            (optional: the stop position; else the whole score)
//   === input
//   ...
//   === output
//   ...
//   === diagnostics
//   ...
// Setting BIVOX_UPDATE_GOLDEN=1 rewrites the output and diagnostics sections from what the
// jobs give now.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "support.hpp"
#include "text/encoding.hpp"

namespace bivox {
namespace {

namespace fs = std::filesystem;

class Golden : public ::testing::TestWithParam<std::string> {};

TEST_P(Golden, JobGivesTheExpectedOutput) {
  const std::string path = GetParam();
  test::GoldenCase c = test::parse_golden_case(test::read_file(path));
  ASSERT_FALSE(c.jobs.empty()) << path << " names no job";
  SessionState session;
  JobResult run;
  for (const std::string& job : c.jobs) {
    const std::optional<Job> named = job_named(job);
    ASSERT_TRUE(named) << path << " names the job " << job;
    run = test::run_score(session, *named, test::sjis(c.sections["input"]));
  }
  std::string diagnostics;
  for (const Diagnostic& d : run.diagnostics) diagnostics += cp932_to_utf8(d.text) + "\n";
  const std::string output = cp932_to_utf8(test::lines(run.output));

  if (std::getenv("BIVOX_UPDATE_GOLDEN") != nullptr) {
    std::ostringstream out;
    for (const std::string& h : c.header) {
      if (h.rfind("stop: ", 0) != 0) out << h << "\n";
    }
    if (run.stop != run.end) out << "stop: " << run.stop << "\n";
    out << "=== input\n" << c.sections["input"] << "=== output\n" << output;
    out << "=== diagnostics\n" << diagnostics;
    test::write_file(path, out.str());
    return;
  }
  EXPECT_EQ(run.output, text_mode(*utf8_to_cp932(c.sections["output"]))) << "output of " << path;
  EXPECT_EQ(diagnostics, c.sections["diagnostics"]) << path;
  const Position expected_stop = c.stop.value_or(run.end);
  EXPECT_EQ(run.stop, expected_stop) << path;
}

std::string case_name(const ::testing::TestParamInfo<std::string>& info) {
  std::string name = fs::path(info.param).stem().string();
  for (char& ch : name) {
    if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(Cases, Golden, ::testing::ValuesIn(test::golden_case_files()), case_name);

}  // namespace
}  // namespace bivox
