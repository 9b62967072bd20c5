// The stereo placement: a pan command before every note of an eligible track.
#include <array>
#include <string>
#include <string_view>

#include "bivox/bivox.hpp"
#include "grammar/grammar.hpp"
#include "text/messages.hpp"

namespace bivox {
namespace {

// The pan command texts are a fixed prefix and the value.
constexpr std::string_view prefix_of(std::string_view command) {
  return command.substr(0, command.find("%d"));
}
constexpr std::string_view kPositivePrefix = prefix_of(msg::kPanPositive);
constexpr std::string_view kNegativePrefix = prefix_of(msg::kPanNegative);
static_assert(msg::kPanPositive.substr(kPositivePrefix.size()) == "%d");
static_assert(msg::kPanNegative.substr(kNegativePrefix.size()) == "%d");

constexpr ShortText pan_command(int value) {
  ShortText command;
  const std::string_view head = value == 0  ? msg::kPanZero
                                : value > 0 ? kPositivePrefix
                                            : kNegativePrefix;
  for (const char c : head) command.append(c);
  if (value == 0) return command;
  if (value < 0) command.append('-');
  long long magnitude = value < 0 ? -static_cast<long long>(value) : value;
  std::array<char, 20> digits{};
  std::size_t count = 0;
  for (; magnitude > 0; magnitude /= 10) digits[count++] = static_cast<char>('0' + magnitude % 10);
  while (count > 0) command.append(digits[--count]);
  return command;
}

// The commands of every placed value, written once rather than once per note.
constexpr auto kPlacedCommands = [] {
  std::array<ShortText, 2 * kPanLimit + 1> commands{};
  for (int value = -kPanLimit; value <= kPanLimit; ++value) {
    commands[static_cast<std::size_t>(value + kPanLimit)] = pan_command(value);
  }
  return commands;
}();

// The pan command of a value: those of placed values are ready made.
ShortText pan_command_for(int value) {
  return value >= -kPanLimit && value <= kPanLimit
             ? kPlacedCommands[static_cast<std::size_t>(value + kPanLimit)]
             : pan_command(value);
}

// ±(pitch - centre) * scale + mid in single precision, rounded half away from zero and
// clamped to the pan range. With the whole field (mid 0, not reversed) the sum adds nothing
// to the product: the value is the product's, bit for bit.
int placed_value(int pitch, const PitchScale& s) {
  float x = (static_cast<float>(pitch) - s.centre) * s.scale;
  if (s.reversed) x = -x;
  x = x + s.mid;
  if (x > -0.5F && x < 0.5F) {
    x = 0.0F;
  } else if (x > 0.0F) {
    x = x + 0.5F;
  } else {
    x = x - 0.5F;
  }
  // Clamped before it is truncated, so that a value far outside the range stays an int.
  if (x >= static_cast<float>(s.highest_pan)) return s.highest_pan;
  if (x <= static_cast<float>(s.lowest_pan)) return s.lowest_pan;
  return static_cast<int>(x);
}

}  // namespace

void Grammar::annotate_note() {
  ScoreState& st = s_.score;
  st.annotation = {};
  const auto t = static_cast<std::size_t>(st.current_track);
  if (s_.switches.plain_notes) return;
  if (st.last_note == kRestNote) return record_note(NotePlacement::Kind::rest);
  // Every note's pitch is recorded for the report, also on tracks that are left alone.
  const int p = absolute_pitch();
  s_.placement.heard(st.current_track, p);
  if (st.pan_fixed[t] || st.current_track == kTrackZ || st.drum_track[t]) {
    using enum NotePlacement::Kind;
    return record_note(st.pan_fixed[t]               ? pan_fixed
                       : st.current_track == kTrackZ ? track_z
                                                     : drum,
                       p);
  }
  if (s_.switches.pass == 0) {
    if (p < st.lowest_pitch[t]) st.lowest_pitch[t] = p;
    if (p > st.highest_pitch[t]) st.highest_pitch[t] = p;
    st.annotation = pan_command_for(p);
    return;
  }
  const int n = placed_value(p, s_.pitch);
  s_.placement.placed_at(st.current_track, n);
  st.annotation = pan_command_for(n);
  record_note(NotePlacement::Kind::placed, p, n);
}

void Grammar::record_note(NotePlacement::Kind kind, int pitch, int pan) {
  if (s_.note_log == nullptr) return;
  s_.note_log->push_back({note_at_, s_.engine.input.tell_pos(),
                          static_cast<char>('A' + s_.score.current_track), kind, pitch, pan});
}

}  // namespace bivox
