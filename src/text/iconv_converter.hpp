#pragma once

#include <iconv.h>

#include <cerrno>
#include <stdexcept>
#include <string>
#include <string_view>

namespace bivox {

// Converts between encodings with the C library's iconv, for example from "CP932" to
// "UTF-8".
class IconvConverter {
 public:
  IconvConverter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) {
      throw std::runtime_error(std::string("no converter from ") + from + " to " + to);
    }
  }
  ~IconvConverter() { iconv_close(cd_); }
  IconvConverter(const IconvConverter&) = delete;
  IconvConverter& operator=(const IconvConverter&) = delete;

  // Converts as much as it can; returns the offset of the first unconvertible sequence,
  // or npos when all of the input was converted.
  std::size_t convert(std::string_view in, std::size_t from, std::string& out) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char* src = const_cast<char*>(in.data()) + from;
    std::size_t src_left = in.size() - from;
    char buffer[4096];
    while (src_left > 0) {
      char* dst = buffer;
      std::size_t dst_left = sizeof buffer;
      const std::size_t rc = iconv(cd_, &src, &src_left, &dst, &dst_left);
      out.append(buffer, static_cast<std::size_t>(dst - buffer));
      if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
        return static_cast<std::size_t>(src - in.data());
      }
    }
    return std::string_view::npos;
  }

 private:
  iconv_t cd_;
};

}  // namespace bivox
