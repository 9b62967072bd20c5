#include "cli/terminal.hpp"

#include <filesystem>
#include <iostream>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace bivox::cli {

bool is_terminal(std::FILE* stream) {
#ifdef _WIN32
  // A console, not any character device: the device NUL is no terminal.
  DWORD mode = 0;
  return GetConsoleMode(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream))), &mode) != 0;
#else
  return isatty(fileno(stream)) != 0;
#endif
}

void ProgressLine::show(std::size_t index, const std::string& path) {
  if (!shown_) return;
  clear();
  const std::string text = "[" + std::to_string(index + 1) + "/" + std::to_string(total_) + "] " +
                           std::filesystem::path(path).filename().string();
  std::cerr << '\r' << text << std::flush;
  width_ = text.size();
}

void ProgressLine::clear() {
  if (!shown_ || width_ == 0) return;
  std::cerr << '\r' << std::string(width_, ' ') << '\r' << std::flush;
  width_ = 0;
}

}  // namespace bivox::cli
