#include "support.hpp"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <stdexcept>

#include "text/encoding.hpp"

extern char** environ;

namespace bivox::test {

TempDir::TempDir() {
  std::random_device rd;
  path_ = std::filesystem::temp_directory_path() / ("bivox-test-" + std::to_string(rd()));
  std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

void write_file(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string repeat(std::string_view piece, std::size_t times) {
  std::string out;
  out.reserve(piece.size() * times);
  for (std::size_t i = 0; i < times; ++i) out += piece;
  return out;
}

std::string sjis(std::string_view utf8) {
  auto converted = utf8_to_cp932(utf8);
  if (!converted) throw std::invalid_argument("test text has no cp932 form");
  return *converted;
}

JobResult run_score(SessionState& session, Job job, std::string_view score_bytes) {
  return run_job(session, job, score_bytes, "score.zrb", {});
}

JobResult run_score(Job job, std::string_view score_bytes) {
  SessionState session;
  return run_score(session, job, score_bytes);
}

std::string lines(std::string_view output_bytes) {
  std::string out;
  for (std::size_t i = 0; i < output_bytes.size(); ++i) {
    if (output_bytes[i] == '\r' && i + 1 < output_bytes.size() && output_bytes[i + 1] == '\n')
      continue;
    out += output_bytes[i];
  }
  return out;
}

CliRun run_cli(const std::filesystem::path& dir, const std::string& args) {
  std::vector<std::string> words{BIVOX_CLI};
  std::istringstream in(args);
  for (std::string word; in >> word;) words.push_back(word);
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  const std::string out = (dir / "stdout.txt").string();
  const std::string err = (dir / "stderr.txt").string();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addchdir_np(&actions, dir.c_str());
  CliRun run;
  pid_t pid = 0;
  if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.peak_kib = usage.ru_maxrss;
  }
  posix_spawn_file_actions_destroy(&actions);
  run.out = read_file(out);
  run.err = read_file(err);
  return run;
}

GoldenCase parse_golden_case(const std::string& text) {
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

std::vector<std::string> golden_case_files() {
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(BIVOX_GOLDEN_DIR)) {
    if (entry.path().extension() == ".case") files.push_back(entry.path().string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace bivox::test
