// cp932 <-> UTF-8 through the system's own code-page 932 tables (by way of UTF-16), with the
// same results as the iconv converter of the other platforms: a sequence that is no
// character is found and treated alike.
#include <windows.h>

#include <algorithm>
#include <utility>

#include "text/encoding.hpp"

namespace bivox {
namespace {

constexpr UINT kCp932 = 932;
// Text is converted in blocks of about this many bytes; only a block that fails as a whole
// is looked at character by character, so a text with many bad bytes stays linear.
constexpr std::size_t kBlockBytes = 1 << 16;

// The bytes of one character of the code page starting at `at` (a lone lead byte at the end
// is one).
using CharLength = std::size_t (*)(std::string_view text, std::size_t at);

std::size_t cp932_char_length(std::string_view text, std::size_t at) {
  return is_cp932_lead(static_cast<unsigned char>(text[at])) && at + 1 < text.size() ? 2 : 1;
}

std::size_t utf8_char_length(std::string_view text, std::size_t at) {
  return std::min(utf8_sequence_length(static_cast<unsigned char>(text[at])), text.size() - at);
}

// Bytes of the code page as UTF-16; nothing when they hold a sequence that is no character.
std::optional<std::wstring> to_wide(UINT code_page, std::string_view bytes) {
  const int size = static_cast<int>(bytes.size());
  const int length =
      MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
  if (length == 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, bytes.data(), size, wide.data(), length);
  return wide;
}

// UTF-16 in the code page; nothing when a character has no form of its own there (no "best
// fit" stand-ins such as "e" for "é").
std::optional<std::string> from_wide(UINT code_page, std::wstring_view wide) {
  const bool utf8 = code_page == CP_UTF8;
  const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
  BOOL defaulted = FALSE;
  BOOL* used_default = utf8 ? nullptr : &defaulted;
  const int size = static_cast<int>(wide.size());
  const int length =
      WideCharToMultiByte(code_page, flags, wide.data(), size, nullptr, 0, nullptr, used_default);
  if (length == 0 || defaulted) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(code_page, flags, wide.data(), size, bytes.data(), length, nullptr, nullptr);
  return bytes;
}

// Characters that JIS-based text (and the iconv converter of the other platforms) writes
// for the same cp932 characters as the system's table: the wave dash 〜 for ～, the em dash
// for ―, the minus sign for －, the yen sign for the backslash, and a few more. Taken to their
// cp932 forms here too, so that a UTF-8 score gives the same bytes everywhere.
constexpr std::pair<wchar_t, wchar_t> kJisVariants[] = {
    {L'\u00A2', L'\uFFE0'}, {L'\u00A3', L'\uFFE1'}, {L'\u00A5', L'\\'},
    {L'\u00AC', L'\uFFE2'}, {L'\u2014', L'\u2015'}, {L'\u2016', L'\u2225'},
    {L'\u203E', L'~'},      {L'\u2212', L'\uFF0D'}, {L'\u301C', L'\uFF5E'},
};

void fold_jis_variants(std::wstring& wide) {
  for (wchar_t& c : wide) {
    for (const auto& [variant, table_form] : kJisVariants) {
      if (c == variant) c = table_form;
    }
  }
}

std::optional<std::string> convert(UINT from, UINT to, std::string_view bytes) {
  if (bytes.empty()) return std::string();
  std::optional<std::wstring> wide = to_wide(from, bytes);
  if (!wide) return std::nullopt;
  if (to == kCp932) fold_jis_variants(*wide);
  return from_wide(to, *wide);
}

// Converts as much as it can from `at`; returns the offset of the first character that
// cannot be converted, or npos when all of the rest was.
std::size_t convert_from(UINT from, UINT to, CharLength char_length, std::string_view text,
                         std::size_t at, std::string& out) {
  while (at < text.size()) {
    std::size_t block_end = at;
    while (block_end < text.size() && block_end - at < kBlockBytes) {
      block_end += char_length(text, block_end);
    }
    if (const auto block = convert(from, to, text.substr(at, block_end - at))) {
      out += *block;
      at = block_end;
      continue;
    }
    for (; at < block_end; at += char_length(text, at)) {
      const auto one = convert(from, to, text.substr(at, char_length(text, at)));
      if (!one) return at;
      out += *one;
    }
  }
  return std::string_view::npos;
}

}  // namespace

std::string cp932_to_utf8(std::string_view cp932) {
  std::string out;
  std::size_t at = 0;
  while ((at = convert_from(kCp932, CP_UTF8, cp932_char_length, cp932, at, out)) !=
         std::string_view::npos) {
    out += "\xEF\xBF\xBD";
    ++at;
  }
  return out;
}

std::optional<std::string> utf8_to_cp932(std::string_view utf8, std::size_t* bad_offset) {
  std::string out;
  const std::size_t at = convert_from(CP_UTF8, kCp932, utf8_char_length, utf8, 0, out);
  if (at == std::string_view::npos) return out;
  if (bad_offset != nullptr) *bad_offset = at;
  return std::nullopt;
}

std::string utf8_to_cp932_lossy(std::string_view utf8) {
  std::string out;
  std::size_t at = 0;
  while ((at = convert_from(CP_UTF8, kCp932, utf8_char_length, utf8, at, out)) !=
         std::string_view::npos) {
    out += '?';
    at += utf8_sequence_length(static_cast<unsigned char>(utf8[at]));
    if (at > utf8.size()) break;
  }
  return out;
}

}  // namespace bivox
