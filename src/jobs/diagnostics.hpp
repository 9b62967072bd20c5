#pragma once

#include <string>
#include <vector>

namespace bivox {

// Messages for the user gathered during a pass: at most 299, later ones are dropped.
class Diagnostics {
 public:
  static constexpr std::size_t kCapacity = 299;

  void add(std::string text) {
    if (entries_.size() < kCapacity) entries_.push_back(std::move(text));
  }
  void clear() { entries_.clear(); }
  const std::vector<std::string>& entries() const { return entries_; }

 private:
  std::vector<std::string> entries_;
};

// The pitch centre and scale of the stereo placement, in single precision.
struct PitchScale {
  float centre = 48.0F;
  float scale = 1.0F;
};

}  // namespace bivox
