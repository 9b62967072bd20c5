#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace bivox {

// printf-style formatting into a string. The formats are the system's own fixed texts
// (messages.hpp), never user input.
template <class... Args>
std::string format(std::string_view fmt, Args... args) {
  const std::string f(fmt);
#if defined(__clang__) || defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#pragma GCC diagnostic ignored "-Wformat-security"
#endif
  // Most texts fit a small buffer and are formatted once; longer ones a second time.
  char small[64];
  const int n = std::snprintf(small, sizeof small, f.c_str(), args...);
  if (n <= 0) return {};
  if (static_cast<std::size_t>(n) < sizeof small)
    return std::string(small, static_cast<std::size_t>(n));
  std::string out(static_cast<std::size_t>(n), '\0');
  std::snprintf(out.data(), out.size() + 1, f.c_str(), args...);
#if defined(__clang__) || defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
  return out;
}

}  // namespace bivox
