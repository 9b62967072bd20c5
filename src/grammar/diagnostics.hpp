#pragma once

#include <string>
#include <vector>

#include "engine/input_source.hpp"

namespace bivox {

// Messages for the user gathered during a pass: at most 299, later ones are dropped. Each
// message keeps the input position the parse had reached when it was added (just after
// the construct it is about), so that tools can point at the place.
class Diagnostics {
 public:
  static constexpr std::size_t kCapacity = 299;

  // The input whose position every added message records; without one it records 0.
  void follow(const InputSource* input) { input_ = input; }

  void add(std::string text) {
    if (entries_.size() >= kCapacity) return;
    entries_.push_back(std::move(text));
    positions_.push_back(input_ != nullptr ? input_->tell_pos() : 0);
  }
  void clear() {
    entries_.clear();
    positions_.clear();
  }
  const std::vector<std::string>& entries() const { return entries_; }
  const std::vector<Position>& positions() const { return positions_; }

 private:
  std::vector<std::string> entries_;
  std::vector<Position> positions_;
  const InputSource* input_ = nullptr;
};

}  // namespace bivox
