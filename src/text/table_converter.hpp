#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace bivox {
namespace cp932 {

// The tables of cp932_tables.cpp, made by cp932_table_maker from the build machine's iconv.
inline constexpr std::uint16_t kInvalid = 0xFFFF;
inline constexpr std::uint16_t kLead = 0xFFFE;
extern const std::uint16_t kSingle[256];     // a byte's code point, kLead or kInvalid
extern const std::uint16_t kLeadIndex[256];  // a lead byte's row of kPairs
extern const std::size_t kLeadCount;
extern const std::uint16_t kPairs[];  // per lead byte 256 code points (trail bytes) or kInvalid
extern const std::size_t kEncodingCount;
extern const std::uint16_t kEncodedCodePoints[];  // ascending
extern const std::uint16_t kEncodings[];          // the cp932 form: a byte, or lead << 8 | trail

}  // namespace cp932

// Converts between cp932 and UTF-8 from tables, for builds whose C library has no CP932
// converter (WebAssembly): the same interface and results as IconvConverter.
class TableConverter {
 public:
  TableConverter(std::string_view to, std::string_view /*from*/) : to_cp932_(to == "CP932") {}

  // Converts as much as it can; returns the offset of the first unconvertible sequence,
  // or npos when all of the input was converted.
  std::size_t convert(std::string_view in, std::size_t from, std::string& out) const {
    return to_cp932_ ? encode(in, from, out) : decode(in, from, out);
  }

 private:
  static std::size_t decode(std::string_view in, std::size_t at, std::string& out) {
    while (at < in.size()) {
      const auto byte = static_cast<unsigned char>(in[at]);
      std::uint16_t cp = cp932::kSingle[byte];
      std::size_t length = 1;
      if (cp == cp932::kLead) {
        if (at + 1 == in.size()) return at;
        const auto trail = static_cast<unsigned char>(in[at + 1]);
        cp = cp932::kPairs[cp932::kLeadIndex[byte] * std::size_t{256} + trail];
        length = 2;
      }
      if (cp == cp932::kInvalid) return at;
      append_utf8(cp, out);
      at += length;
    }
    return std::string_view::npos;
  }

  static std::size_t encode(std::string_view in, std::size_t at, std::string& out) {
    while (at < in.size()) {
      std::size_t length = 0;
      const char32_t cp = next_utf8(in, at, length);
      const std::uint16_t* end = cp932::kEncodedCodePoints + cp932::kEncodingCount;
      const std::uint16_t* found = std::lower_bound(cp932::kEncodedCodePoints, end, cp);
      if (length == 0 || found == end || *found != cp) return at;
      const std::uint16_t bytes = cp932::kEncodings[found - cp932::kEncodedCodePoints];
      if (bytes > 0xFF) out += static_cast<char>(bytes >> 8);
      out += static_cast<char>(bytes & 0xFF);
      at += length;
    }
    return std::string_view::npos;
  }

  static void append_utf8(char32_t cp, std::string& out) {
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | cp >> 6);
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | cp >> 12);
      out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }

  // The code point of the well-formed UTF-8 sequence at `at`, with its length; length 0
  // when the bytes there are no such sequence (overlong, surrogate, cut short, stray).
  static char32_t next_utf8(std::string_view in, std::size_t at, std::size_t& length) {
    const auto lead = static_cast<unsigned char>(in[at]);
    length = 0;
    if (lead < 0x80) {
      length = 1;
      return lead;
    }
    std::size_t count = 0;
    char32_t cp = 0;
    char32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
      count = 2, cp = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      count = 3, cp = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      count = 4, cp = lead & 0x07, minimum = 0x10000;
    } else {
      return 0;
    }
    if (at + count > in.size()) return 0;
    for (std::size_t i = 1; i < count; ++i) {
      const auto next = static_cast<unsigned char>(in[at + i]);
      if ((next & 0xC0) != 0x80) return 0;
      cp = cp << 6 | (next & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    length = count;
    return cp;
  }

  bool to_cp932_;
};

}  // namespace bivox
