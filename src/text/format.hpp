#pragma once

#include <charconv>
#include <cstdio>
#include <string>
#include <string_view>
#include <type_traits>

namespace bivox {

// printf-style formatting into a string. The formats are the system's own fixed texts
// (messages.hpp), never user input.
template <class... Args>
std::string format(std::string_view fmt, Args... args) {
  if constexpr (sizeof...(Args) == 1 && (std::is_same_v<Args, int> && ...)) {
    // A format whose only conversion is one "%d" is filled without printf: the pan
    // commands are formatted once per note.
    const auto at = fmt.find('%');
    if (fmt.substr(at == std::string_view::npos ? 0 : at, 2) == "%d" &&
        fmt.find('%', at + 2) == std::string_view::npos) {
      char digits[16];
      const char* end = std::to_chars(digits, digits + sizeof digits, args...).ptr;
      std::string out(fmt.substr(0, at));
      out.append(digits, static_cast<std::size_t>(end - digits));
      out.append(fmt.substr(at + 2));
      return out;
    }
  }
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
