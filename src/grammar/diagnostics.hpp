#pragma once

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "engine/input_source.hpp"

namespace bivox {

// Messages for the user gathered during a pass: at most 299, later ones are dropped. Each
// message keeps the input position the parse had reached when it was added (just after
// the construct it is about), so that tools can point at the place.
class Diagnostics {
 public:
  static constexpr std::size_t kCapacity = 299;
  // While the first pass of a stereo conversion writes marks, more are kept: the second
  // pass made from it leaves out those about tracks fixed later, and later ones move up.
  static constexpr std::size_t kMarkedCapacity = 4 * kCapacity;

  // The input whose position every added message records; without one it records 0.
  void follow(const InputSource* input) { input_ = input; }

  // A message about the notes of a track (-1: about none) is one that the stereo
  // conversion leaves out once the track's pan is fixed.
  void add(std::string_view text, int track = -1) {
    if (full()) return drop();
    entries_.emplace_back(text);
    positions_.push_back(input_ != nullptr ? input_->tell_pos() : 0);
    tracks_.push_back(track);
  }
  void clear() {
    entries_.clear();
    positions_.clear();
    tracks_.clear();
    dropped_ = false;
  }
  // Whether the next message would be dropped.
  bool full() const { return entries_.size() >= room_; }
  // Drops a message without making it: the next one when full() holds.
  void drop() { dropped_ = true; }
  // Room for kMarkedCapacity messages rather than kCapacity.
  void keep_more(bool more) { room_ = more ? kMarkedCapacity : kCapacity; }
  // Whether a message found no room.
  bool dropped() const { return dropped_; }
  const std::vector<std::string>& entries() const { return entries_; }
  const std::vector<Position>& positions() const { return positions_; }
  const std::vector<int>& tracks() const { return tracks_; }

  // Rewrites every message with `revise(text, track)`, leaving out those it returns false
  // for; the first kCapacity of the rest keep their order and positions.
  template <class Revise>
  void revise(Revise&& revise) {
    std::size_t kept = 0;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
      if (!revise(entries_[i], tracks_[i])) continue;
      if (kept != i) {
        entries_[kept] = std::move(entries_[i]);
        positions_[kept] = positions_[i];
        tracks_[kept] = tracks_[i];
      }
      ++kept;
    }
    kept = std::min(kept, kCapacity);
    entries_.resize(kept);
    positions_.resize(kept);
    tracks_.resize(kept);
  }

 private:
  std::vector<std::string> entries_;
  std::vector<Position> positions_;
  std::vector<int> tracks_;
  std::size_t room_ = kCapacity;
  bool dropped_ = false;
  const InputSource* input_ = nullptr;
};

}  // namespace bivox
