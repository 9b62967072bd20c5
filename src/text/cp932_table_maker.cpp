// Writes the cp932 tables of builds whose C library has no CP932 converter (WebAssembly):
// every character exactly as this build machine's iconv converts it, so that both builds
// give the same text. Built and run for the build machine during such a build:
//   cp932_table_maker OUTPUT.cpp
#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <vector>

namespace {

constexpr unsigned kInvalid = 0xFFFF;
constexpr unsigned kLead = 0xFFFE;

// Converts `in` whole with `cd`; gives the output bytes, or errno when it fails.
int convert(iconv_t cd, std::vector<unsigned char> in, std::vector<unsigned char>& out) {
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  out.assign(8, 0);
  char* src = reinterpret_cast<char*>(in.data());
  char* dst = reinterpret_cast<char*>(out.data());
  std::size_t src_left = in.size();
  std::size_t dst_left = out.size();
  if (iconv(cd, &src, &src_left, &dst, &dst_left) == static_cast<std::size_t>(-1)) return errno;
  out.resize(out.size() - dst_left);
  return 0;
}

// The one code point that the bytes decode to, or kInvalid (kLead: the bytes begin a
// longer character).
unsigned decode(iconv_t cd, std::vector<unsigned char> bytes) {
  std::vector<unsigned char> out;
  const int error = convert(cd, std::move(bytes), out);
  if (error == EINVAL) return kLead;
  if (error != 0 || out.size() != 4) return kInvalid;
  return out[0] | out[1] << 8 | out[2] << 16 | out[3] << 24;
}

void write_array(std::FILE* f, const char* declaration, const std::vector<unsigned>& values) {
  std::fprintf(f, "%s = {", declaration);
  for (std::size_t i = 0; i < values.size(); ++i) {
    std::fprintf(f, "%s0x%X,", i % 12 == 0 ? "\n" : " ", values[i]);
  }
  std::fprintf(f, "\n};\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: cp932_table_maker OUTPUT.cpp\n", stderr);
    return 2;
  }
  const iconv_t from_cp932 = iconv_open("UTF-32LE", "CP932");
  const iconv_t to_cp932 = iconv_open("CP932", "UTF-32LE");
  if (from_cp932 == reinterpret_cast<iconv_t>(-1) || to_cp932 == reinterpret_cast<iconv_t>(-1)) {
    std::fputs("cp932_table_maker: this machine's iconv has no CP932\n", stderr);
    return 1;
  }

  std::vector<unsigned> single(256);
  std::vector<unsigned> lead_index(256, kInvalid);
  std::vector<unsigned> pairs;
  for (unsigned byte = 0; byte < 256; ++byte) {
    single[byte] = decode(from_cp932, {static_cast<unsigned char>(byte)});
    if (single[byte] != kLead) continue;
    lead_index[byte] = static_cast<unsigned>(pairs.size() / 256);
    for (unsigned trail = 0; trail < 256; ++trail) {
      const unsigned cp =
          decode(from_cp932, {static_cast<unsigned char>(byte), static_cast<unsigned char>(trail)});
      pairs.push_back(cp == kLead ? kInvalid : cp);
    }
  }

  std::vector<unsigned> code_points;
  std::vector<unsigned> encodings;
  for (unsigned cp = 0; cp < 0x10000; ++cp) {
    if (cp >= 0xD800 && cp <= 0xDFFF) continue;
    std::vector<unsigned char> out;
    const std::vector<unsigned char> in = {static_cast<unsigned char>(cp),
                                           static_cast<unsigned char>(cp >> 8), 0, 0};
    if (convert(to_cp932, in, out) != 0 || out.empty() || out.size() > 2) continue;
    code_points.push_back(cp);
    encodings.push_back(out.size() == 1 ? out[0] : (out[0] << 8 | out[1]));
  }
  iconv_close(from_cp932);
  iconv_close(to_cp932);

  std::FILE* f = std::fopen(argv[1], "w");
  if (f == nullptr) {
    std::perror(argv[1]);
    return 1;
  }
  std::fputs("// Made by cp932_table_maker from the build machine's iconv.\n", f);
  std::fputs("#include \"text/table_converter.hpp\"\n\nnamespace bivox::cp932 {\n\n", f);
  write_array(f, "const std::uint16_t kSingle[256]", single);
  write_array(f, "const std::uint16_t kLeadIndex[256]", lead_index);
  std::fprintf(f, "const std::size_t kLeadCount = %zu;\n", pairs.size() / 256);
  write_array(f, "const std::uint16_t kPairs[]", pairs);
  std::fprintf(f, "const std::size_t kEncodingCount = %zu;\n", code_points.size());
  write_array(f, "const std::uint16_t kEncodedCodePoints[]", code_points);
  write_array(f, "const std::uint16_t kEncodings[]", encodings);
  std::fputs("\n}  // namespace bivox::cp932\n", f);
  return std::fclose(f) == 0 ? 0 : 1;
}
