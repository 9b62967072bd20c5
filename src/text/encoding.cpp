#include "text/encoding.hpp"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

namespace bivox {
namespace {

class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) {
      throw std::runtime_error(std::string("no converter from ") + from + " to " + to);
    }
  }
  ~Converter() { iconv_close(cd_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

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

}  // namespace

std::string cp932_to_utf8(std::string_view cp932) {
  Converter converter("UTF-8", "CP932");
  std::string out;
  std::size_t at = 0;
  while ((at = converter.convert(cp932, at, out)) != std::string_view::npos) {
    out += "\xEF\xBF\xBD";
    ++at;
  }
  return out;
}

std::optional<std::string> utf8_to_cp932(std::string_view utf8, std::size_t* bad_offset) {
  Converter converter("CP932", "UTF-8");
  std::string out;
  const std::size_t at = converter.convert(utf8, 0, out);
  if (at == std::string_view::npos) return out;
  if (bad_offset != nullptr) *bad_offset = at;
  return std::nullopt;
}

std::string utf8_to_cp932_lossy(std::string_view utf8) {
  Converter converter("CP932", "UTF-8");
  std::string out;
  std::size_t at = 0;
  while ((at = converter.convert(utf8, at, out)) != std::string_view::npos) {
    out += '?';
    at += utf8_sequence_length(static_cast<unsigned char>(utf8[at]));
    if (at > utf8.size()) break;
  }
  return out;
}

}  // namespace bivox
