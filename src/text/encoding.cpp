#include "text/encoding.hpp"

#if defined(__EMSCRIPTEN__)
#include "text/table_converter.hpp"
#else
#include "text/iconv_converter.hpp"
#endif

namespace bivox {
namespace {

#if defined(__EMSCRIPTEN__)
using Converter = TableConverter;
#else
using Converter = IconvConverter;
#endif

// One converter per direction and thread, opened once: opening one costs more than most of
// the short texts it converts. Each conversion starts from the initial state.
Converter& converter_to_utf8() {
  thread_local Converter converter("UTF-8", "CP932");
  return converter;
}
Converter& converter_to_cp932() {
  thread_local Converter converter("CP932", "UTF-8");
  return converter;
}

}  // namespace

std::string cp932_to_utf8(std::string_view cp932) {
  Converter& converter = converter_to_utf8();
  std::string out;
  std::size_t at = 0;
  while ((at = converter.convert(cp932, at, out)) != std::string_view::npos) {
    out += "\xEF\xBF\xBD";
    ++at;
  }
  return out;
}

std::optional<std::string> utf8_to_cp932(std::string_view utf8, std::size_t* bad_offset) {
  Converter& converter = converter_to_cp932();
  std::string out;
  const std::size_t at = converter.convert(utf8, 0, out);
  if (at == std::string_view::npos) return out;
  if (bad_offset != nullptr) *bad_offset = at;
  return std::nullopt;
}

std::string utf8_to_cp932_lossy(std::string_view utf8) {
  Converter& converter = converter_to_cp932();
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
