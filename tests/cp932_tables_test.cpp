// The cp932 tables that WebAssembly builds convert with (made by cp932_table_maker, as
// there) against this machine's iconv: every byte and byte pair decoded, every code point
// of the Basic Multilingual Plane and malformed UTF-8 encoded, with the same text and the
// same place where conversion fails.
#include <gtest/gtest.h>

#include <string>

#include "text/iconv_converter.hpp"
#include "text/table_converter.hpp"

namespace bivox {
namespace {

struct Converted {
  std::string out;
  std::size_t failed_at;
  bool operator==(const Converted&) const = default;
};

template <class Converter>
Converted convert(Converter& converter, std::string_view in) {
  Converted c;
  c.failed_at = converter.convert(in, 0, c.out);
  return c;
}

void expect_alike(const char* to, const char* from, const std::vector<std::string>& inputs) {
  IconvConverter iconv(to, from);
  TableConverter tables(to, from);
  std::size_t differences = 0;
  for (const std::string& in : inputs) {
    if (convert(iconv, in) == convert(tables, in)) continue;
    if (++differences <= 5)
      ADD_FAILURE() << from << " to " << to << " differs for " << ::testing::PrintToString(in);
  }
  EXPECT_EQ(differences, 0U);
}

std::string utf8(char32_t cp) {
  std::string s;
  if (cp < 0x80) return s += static_cast<char>(cp);
  if (cp < 0x800) {
    s += static_cast<char>(0xC0 | cp >> 6);
  } else {
    s += static_cast<char>(0xE0 | cp >> 12);
    s += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
  }
  return s += static_cast<char>(0x80 | (cp & 0x3F));
}

TEST(Cp932Tables, DecodeEveryByteAndPairAsIconv) {
  std::vector<std::string> inputs;
  for (int first = 0; first < 256; ++first) {
    inputs.push_back(std::string(1, static_cast<char>(first)));
    for (int second = 0; second < 256; ++second) {
      inputs.push_back({static_cast<char>(first), static_cast<char>(second), 'A'});
    }
  }
  expect_alike("UTF-8", "CP932", inputs);
}

TEST(Cp932Tables, EncodeEveryCodePointAndMalformedUtf8AsIconv) {
  std::vector<std::string> inputs;
  for (char32_t cp = 0; cp < 0x10000; ++cp) {
    if (cp < 0xD800 || cp > 0xDFFF) inputs.push_back(utf8(cp) + "A");
  }
  for (const char* bad :
       {"\x80", "\xC0\xAF", "\xC1\xBF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF0\x9F\x98\x80",
        "\xF4\x90\x80\x80", "\xF5\x80\x80\x80", "\xE3\x81", "\xE3\x41\x81", "\xFF"}) {
    inputs.push_back(std::string("a") + bad + "b");
  }
  expect_alike("CP932", "UTF-8", inputs);
}

}  // namespace
}  // namespace bivox
