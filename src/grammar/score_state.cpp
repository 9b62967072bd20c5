#include "grammar/score_state.hpp"

#include <limits>

namespace bivox {
namespace {

// Every table index comes from an upper-case letter; anything else is ignored rather than
// written outside the tables.
bool valid_slot(char letter) {
  const int slot = track_slot(letter);
  return slot >= 0 && slot < kTrackSlots;
}

}  // namespace

void ScoreState::reset(bool keep_collected) {
  current_track = current_voice = macro_depth = 0;
  note_seen = false;
  for (std::size_t t = 0; t < kTrackSlots; ++t) {
    key_signature[t] = 0;
    if (!keep_collected) {
      pan_fixed[t] = false;
      drum_track[t] = false;
    }
    transpose[t] = 0;
    for (std::size_t v = 0; v < kVoices; ++v) {
      note_naming[t][v] = 0;
      octave[t][v] = 4;
      clef[t][v] = 0;
    }
  }
  member_list = "A";
  if (!keep_collected) forget_pitch_ranges();
}

void ScoreState::forget_pitch_ranges() {
  lowest_pitch.fill(kNoLowestPitch);
  highest_pitch.fill(kNoHighestPitch);
}

void ScoreState::set_key_signature(std::string_view letters, int value) {
  for (const char c : letters) {
    if (valid_slot(c)) key_signature[at(track_slot(c))] = value;
  }
}

void ScoreState::mark_pan_fixed() {
  for (const char c : member_list) {
    if (valid_slot(c)) pan_fixed[at(track_slot(c))] = true;
  }
}

void ScoreState::set_transpose(std::string_view signed_value) {
  const int value = parse_signed(signed_value);
  for (const char c : member_list) {
    if (valid_slot(c)) transpose[at(track_slot(c))] = value;
  }
}

void ScoreState::set_all_voices(char kind, int value) {
  VoiceTable* table = kind == '?' ? &clef : kind == 'x' ? &note_naming : &octave;
  for (auto& voices : *table) voices.fill(value);
}

int parse_signed(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  long long value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') break;
    value = value * 10 + (c - '0');
    if (value > std::numeric_limits<int>::max()) {
      return negative ? std::numeric_limits<int>::min() : std::numeric_limits<int>::max();
    }
  }
  return static_cast<int>(negative ? -value : value);
}

}  // namespace bivox
