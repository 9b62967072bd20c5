#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace bivox {

// Named macro definitions in the order stored, and the body of the last nameless one.
struct MacroTable {
  static constexpr std::size_t kCapacity = 999;
  static constexpr std::size_t kNameField = 32;
  static constexpr std::size_t kBodyField = 10240;

  struct Entry {
    std::string name;
    std::string body;
  };

  std::vector<Entry> entries;
  // Lives as long as the session: passes and jobs never clear it.
  std::string nameless_body;

  const Entry* find(std::string_view name) const {
    for (const Entry& e : entries) {
      if (e.name == name) return &e;
    }
    return nullptr;
  }
};

}  // namespace bivox
