#include "checked_run.hpp"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace bivox::fuzz {
namespace {

namespace fs = std::filesystem;

[[noreturn]] void broken(const char* promise) {
  std::fprintf(stderr, "bivox fuzz: broken promise: %s\n", promise);
  std::abort();
}

// A directory of one execution under $TMPDIR, removed when the execution ends (libFuzzer
// may end the process without running exit handlers), so that parallel fuzzing processes
// never share files and nothing is left behind.
class Scratch {
 public:
  Scratch() {
    std::string pattern = (fs::temp_directory_path() / "bivox-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) broken("a private scratch directory can be made");
    dir_ = pattern;
  }
  ~Scratch() {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;

  std::string input() const { return (dir_ / "score.zrb").string(); }
  std::string output() const { return (dir_ / "_score.zrb").string(); }
  const fs::path& dir() const { return dir_; }

 private:
  fs::path dir_;
};

void write_bytes(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  check(static_cast<bool>(out), "the scratch score can be written");
}

std::string read_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool ends_with(std::string_view text, std::string_view tail) {
  return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

void check_output(std::string_view out, const JobResult& result) {
  for (std::size_t i = 0; i < out.size(); ++i) {
    if (out[i] == '\n')
      check(i > 0 && out[i - 1] == '\r', "every line of the output ends in CR LF");
  }
  if (result.fatal) {
    check(ends_with(*result.fatal, "!!!\n"), "a fatal stop's message ends in !!! and a line feed");
    check(ends_with(out, text_mode(*result.fatal)), "a fatal stop's message ends the output");
  } else {
    check(out.empty() || ends_with(out, "\r\n"), "the rebuilt text ends with a line feed");
  }
}

void check_directory(const Scratch& scratch) {
  std::size_t files = 0;
  for (const auto& entry : fs::directory_iterator(scratch.dir())) {
    const std::string path = entry.path().string();
    check(path == scratch.input() || path == scratch.output(),
          "nothing is written beside the output file");
    ++files;
  }
  check(files == 2, "the input stays and the output is written");
}

}  // namespace

void check(bool holds, const char* promise) {
  if (!holds) broken(promise);
}

CheckedRun run_checked(Session& session, Job job, std::string_view score) {
  const Scratch scratch;
  write_bytes(scratch.input(), score);
  const JobResult result = run_job(session, job, scratch.input(), scratch.output());

  check(read_bytes(scratch.input()) == score, "the input is never modified");
  check_directory(scratch);
  check(result.end == static_cast<Position>(score.size()), "the end position is the file length");
  check(result.stop >= 0 && result.stop <= result.end, "the stop position lies within the file");
  CheckedRun run{result, read_bytes(scratch.output())};
  check_output(run.output, result);
  return run;
}

}  // namespace bivox::fuzz
