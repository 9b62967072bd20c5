#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "jobs/job_driver.hpp"
#include "jobs/session_state.hpp"

namespace bivox::test {

// A fresh directory under the system's temporary directory, removed at the end.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  std::filesystem::path path() const { return path_; }
  std::string file(std::string_view name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

void write_file(const std::string& path, std::string_view bytes);
std::string read_file(const std::string& path);

// `piece` `times` times over.
std::string repeat(std::string_view piece, std::size_t times);

// UTF-8 test text as cp932 bytes.
std::string sjis(std::string_view utf8);

// One job on a score given as bytes (the output file named "_score.zrb").
JobResult run_score(SessionState& session, Job job, std::string_view score_bytes);
JobResult run_score(Job job, std::string_view score_bytes);

// The output file's text with CR LF turned back into line feeds.
std::string lines(std::string_view output_bytes);

// bivox-cli run in `dir` on the space-separated arguments, its input empty and its output and
// error captured in files there (not terminals).
struct CliRun {
  int status = -1;
  std::string out;
  std::string err;
  long peak_kib = 0;  // its peak resident memory
};
CliRun run_cli(const std::filesystem::path& dir, const std::string& args);

// A case file of golden/ (its layout is described in golden_test.cpp).
struct GoldenCase {
  std::vector<std::string> header;  // the lines before the first section
  std::map<std::string, std::string> sections;
  std::vector<std::string> jobs;
  std::optional<Position> stop;
};
GoldenCase parse_golden_case(const std::string& text);
// The paths of the case files, in order.
std::vector<std::string> golden_case_files();

}  // namespace bivox::test
