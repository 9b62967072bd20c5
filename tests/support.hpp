#pragma once

#include <filesystem>
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

// What one job made of a score given as bytes.
struct Run {
  JobResult result;
  std::string output;  // the output file's bytes
};
Run run_score(SessionState& session, Job job, std::string_view score_bytes);
Run run_score(Job job, std::string_view score_bytes);

// The texts of the diagnostics.
std::vector<std::string> texts(const std::vector<Diagnostic>& diagnostics);

// The output file's text with CR LF turned back into line feeds.
std::string lines(std::string_view output_bytes);

}  // namespace bivox::test
