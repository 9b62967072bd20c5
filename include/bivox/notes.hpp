// Bivox: the plain types that both the core and its callers use for the notes the stereo
// conversion places. Included by bivox/bivox.hpp; it depends on nothing, so the core's
// grammar records into these types without seeing the rest of the interface.
#pragma once

#include <cstdint>

namespace bivox {

// A byte offset into the score as stored.
using Position = std::int64_t;

inline constexpr int kPanLimit = 64;  // pan values run from -64 to +64

// A note that the placing pass of a stereo conversion read: where it stands, its pitch and
// the pan command written before it, or why none was (what an editor shows on a note).
struct NotePlacement {
  // left_alone: a track named in StereoOptions::leave.
  enum class Kind { placed, pan_fixed, drum, track_z, left_alone, rest };
  Position begin = 0;  // its letter
  Position end = 0;    // just after it (accidental and length included)
  char letter = 'A';   // its track
  Kind kind = Kind::placed;
  int pitch = 0;  // the absolute pitch; 0 for a rest
  int pan = 0;    // the pan command's value (placed notes only)
  bool operator==(const NotePlacement&) const = default;
};

}  // namespace bivox
