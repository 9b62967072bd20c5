#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

namespace bivox::cli {

// Whether the stream is a terminal (a person reads it) rather than a file or a pipe.
bool is_terminal(std::FILE* stream);

// One line on standard error that names the file being worked on, rewritten for every file
// and wiped before anything else is printed. Shown only when asked for.
class ProgressLine {
 public:
  ProgressLine(bool shown, std::size_t total) : shown_(shown), total_(total) {}
  void show(std::size_t index, const std::string& path);
  void clear();

 private:
  bool shown_;
  std::size_t total_;
  std::size_t width_ = 0;
};

}  // namespace bivox::cli
