#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "engine/input_source.hpp"

namespace bivox {

// The literal of a list item: the item itself, or its `literal`.
constexpr std::string_view literal_of(std::string_view item) {
  return item;
}
template <class Item>
constexpr std::string_view literal_of(const Item& item) {
  return item.literal;
}

// Whether the stored bytes at `token` begin with the literal, whose first byte the caller
// compared. Literals are a few bytes long: compared in place, without a library call.
inline bool begins_at(std::string_view stored, Position token, std::string_view literal) {
  const auto at = static_cast<std::size_t>(token);
  if (stored.size() - at < literal.size()) return false;
  for (std::size_t i = 1; i < literal.size(); ++i) {
    if (stored[at + i] != literal[i]) return false;
  }
  return true;
}

// An ordered list of literals, none of which holds a line end, with the first of them that
// each byte can begin: literals that cannot begin at the next byte are passed over without
// a look, and the others are compared with the stored bytes directly (where they match
// exactly as they would match what reads deliver).
template <class Item>
class LiteralList {
 public:
  template <std::size_t N>
  constexpr explicit LiteralList(const Item (&items)[N]) : items_(items) {
    static_assert(N < kNone);
    first_.fill(kNone);
    for (std::size_t i = N; i-- > 0;) {
      first_[static_cast<unsigned char>(literal_of(items[i])[0])] = static_cast<std::uint8_t>(i);
    }
  }

  // The first item whose literal the stored bytes begin with at `token`, or null. `next` is
  // the byte at `token`, or negative when there is none.
  const Item* at(std::string_view stored, Position token, int next) const {
    if (next < 0) return nullptr;
    for (std::size_t k = first_[static_cast<std::size_t>(next)]; k < items_.size(); ++k) {
      const std::string_view literal = literal_of(items_[k]);
      if (static_cast<unsigned char>(literal[0]) == next && begins_at(stored, token, literal)) {
        return &items_[k];
      }
    }
    return nullptr;
  }

 private:
  static constexpr std::uint8_t kNone = 255;

  std::span<const Item> items_;
  std::array<std::uint8_t, 256> first_{};
};

}  // namespace bivox
