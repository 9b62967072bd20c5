#include "cli/terminal.hpp"

#include <iostream>
#include <string_view>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace bivox::cli {
namespace {

// The file's own name: what follows the last separator (on Windows also "\" and a drive's
// colon). The path stays UTF-8 on every system.
std::string_view file_name(std::string_view path) {
#ifdef _WIN32
  constexpr std::string_view kSeparators = "/\\:";
#else
  constexpr std::string_view kSeparators = "/";
#endif
  const std::size_t last = path.find_last_of(kSeparators);
  return last == std::string_view::npos ? path : path.substr(last + 1);
}

}  // namespace

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
                           std::string(file_name(path));
  std::cerr << '\r' << text << std::flush;
  width_ = text.size();
}

void ProgressLine::clear() {
  if (!shown_ || width_ == 0) return;
  std::cerr << '\r' << std::string(width_, ' ') << '\r' << std::flush;
  width_ = 0;
}

}  // namespace bivox::cli
