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
#include <map>
#include <sstream>

#include "support.hpp"
#include "text/encoding.hpp"

namespace bivox {
namespace {

namespace fs = std::filesystem;

struct GoldenCase {
  std::vector<std::string> header;  // the lines before the first section
  std::map<std::string, std::string> sections;
  std::vector<std::string> jobs;
  std::optional<Position> stop;
};

GoldenCase parse_case(const std::string& text) {
  GoldenCase c;
  std::istringstream in(text);
  std::string line;
  std::string* section = nullptr;
  while (std::getline(in, line)) {
    if (line.rfind("=== ", 0) == 0) {
      section = &c.sections[line.substr(4)];
    } else if (section != nullptr) {
      *section += line + "\n";
    } else {
      c.header.push_back(line);
      if (line.rfind("job: ", 0) == 0) {
        std::istringstream jobs(line.substr(5));
        for (std::string j; jobs >> j;) c.jobs.push_back(j);
      } else if (line.rfind("stop: ", 0) == 0) {
        c.stop = std::stoll(line.substr(6));
      }
    }
  }
  return c;
}

class Golden : public ::testing::TestWithParam<std::string> {};

TEST_P(Golden, JobGivesTheExpectedOutput) {
  const std::string path = GetParam();
  GoldenCase c = parse_case(test::read_file(path));
  ASSERT_FALSE(c.jobs.empty()) << path << " names no job";
  SessionState session;
  test::Run run;
  for (const std::string& job : c.jobs) {
    const std::optional<Job> named = job_named(job);
    ASSERT_TRUE(named) << path << " names the job " << job;
    run = test::run_score(session, *named, test::sjis(c.sections["input"]));
  }
  std::string diagnostics;
  for (const Diagnostic& d : run.result.diagnostics) diagnostics += cp932_to_utf8(d.text) + "\n";
  const std::string output = cp932_to_utf8(test::lines(run.output));

  if (std::getenv("BIVOX_UPDATE_GOLDEN") != nullptr) {
    std::ostringstream out;
    for (const std::string& h : c.header) {
      if (h.rfind("stop: ", 0) != 0) out << h << "\n";
    }
    if (run.result.stop != run.result.end) out << "stop: " << run.result.stop << "\n";
    out << "=== input\n" << c.sections["input"] << "=== output\n" << output;
    out << "=== diagnostics\n" << diagnostics;
    test::write_file(path, out.str());
    return;
  }
  EXPECT_EQ(run.output, text_mode(*utf8_to_cp932(c.sections["output"]))) << "output of " << path;
  EXPECT_EQ(diagnostics, c.sections["diagnostics"]) << path;
  const Position expected_stop = c.stop.value_or(run.result.end);
  EXPECT_EQ(run.result.stop, expected_stop) << path;
}

std::vector<std::string> golden_files() {
  std::vector<std::string> files;
  for (const auto& entry : fs::directory_iterator(BIVOX_GOLDEN_DIR)) {
    if (entry.path().extension() == ".case") files.push_back(entry.path().string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::string case_name(const ::testing::TestParamInfo<std::string>& info) {
  std::string name = fs::path(info.param).stem().string();
  for (char& ch : name) {
    if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(Cases, Golden, ::testing::ValuesIn(golden_files()), case_name);

}  // namespace
}  // namespace bivox
