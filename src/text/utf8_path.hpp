#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace bivox {

// File names travel through the system as UTF-8 strings. On Windows a path is made from
// them as UTF-8 and opened by its wide name, so that any name works (not only those of the
// system's ANSI code page); elsewhere the bytes are the name.
inline std::filesystem::path utf8_path(std::string_view utf8) {
#ifdef _WIN32
  return std::filesystem::path(
      std::u8string_view(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
#else
  return std::filesystem::path(utf8);
#endif
}

inline std::string utf8_string(const std::filesystem::path& path) {
#ifdef _WIN32
  const std::u8string utf8 = path.u8string();
  return std::string(utf8.begin(), utf8.end());
#else
  return path.string();
#endif
}

}  // namespace bivox
