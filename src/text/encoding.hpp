#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace bivox {

// Whether a byte begins a two-byte cp932 character, whose second byte may then look like
// any ASCII character ("\\", "A", "o", "x").
inline bool is_cp932_lead(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// The length of the UTF-8 sequence that the byte begins, by its leading bits alone: what a
// converter passes over when the sequence is no character.
inline std::size_t utf8_sequence_length(unsigned char lead) {
  if (lead >= 0xF0) return 4;
  if (lead >= 0xE0) return 3;
  if (lead >= 0xC0) return 2;
  return 1;
}

// cp932 bytes as UTF-8. A byte sequence that is no cp932 character becomes U+FFFD, so any
// score text can be shown.
std::string cp932_to_utf8(std::string_view cp932);

// UTF-8 as cp932 bytes; no value when a character has no cp932 form or the input is no
// valid UTF-8. `bad_offset` then receives the byte offset of the first such character.
std::optional<std::string> utf8_to_cp932(std::string_view utf8, std::size_t* bad_offset = nullptr);

// UTF-8 as cp932 bytes, with "?" for every character that has no cp932 form.
std::string utf8_to_cp932_lossy(std::string_view utf8);

}  // namespace bivox
