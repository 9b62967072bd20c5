#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "bivox/notes.hpp"

namespace bivox {

inline constexpr int kTrackSlots = 30;
inline constexpr int kVoices = 10;
inline constexpr int kTrackZ = 'Z' - 'A';
inline constexpr int kNoAccidental = 10;
inline constexpr int kRestNote = -1;
// The pitch range of a track that has played no note: above and below every pitch, so that
// the first note sets both ends.
inline constexpr int kNoLowestPitch = 500;
inline constexpr int kNoHighestPitch = -500;

using TrackTable = std::array<int, kTrackSlots>;
using TrackFlags = std::array<bool, kTrackSlots>;
using VoiceTable = std::array<std::array<int, kVoices>, kTrackSlots>;

// The table slot of a track letter "A".."Z" (and the slots the tables keep beyond it).
inline int track_slot(char letter) {
  return letter - 'A';
}

// A short text held in place, such as the pan command written before a note.
struct ShortText {
  std::array<char, 32> text{};
  std::size_t size = 0;
  constexpr void append(char c) { text[size++] = c; }
  std::string_view view() const { return {text.data(), size}; }
};

// The score context that a pass reads and updates: the current track and voice, the
// per-track and per-voice settings and the pitch range gathered for the stereo placement.
struct ScoreState {
  int current_track = 0;
  int current_voice = 0;
  bool note_seen = false;
  int macro_depth = 0;
  std::string member_list = "A";
  int last_key_signature = 0;
  int last_note = 0;
  int last_accidental = kNoAccidental;
  ShortText annotation;  // what is written before the last note read

  TrackTable key_signature{};
  TrackTable transpose{};
  TrackFlags pan_fixed{};
  TrackFlags drum_track{};
  TrackTable lowest_pitch{};
  TrackTable highest_pitch{};

  VoiceTable octave{};
  VoiceTable note_naming{};
  VoiceTable clef{};

  ScoreState() { reset(false); }

  // Back to the start of a pass. With keep_collected the placement flags and pitch ranges
  // that the first pass of a job gathered are kept for its second pass.
  void reset(bool keep_collected);
  // No track has played a note yet.
  void forget_pitch_ranges();

  void set_key_signature(std::string_view letters, int value);
  void mark_pan_fixed();
  void set_transpose(std::string_view signed_value);
  void set_all_voices(char kind, int value);

  int& voice_field(VoiceTable& table) { return table[at(current_track)][at(current_voice)]; }
  int voice_value(const VoiceTable& table) const {
    return table[at(current_track)][at(current_voice)];
  }

 private:
  static std::size_t at(int index) { return static_cast<std::size_t>(index); }
};

// How the stereo placement turns a pitch into a pan value: the pitch centre and scale in
// single precision, the direction, the pan value of the centre (a half when the pan range
// is odd) and the pan range that values are clamped to.
struct PitchScale {
  float centre = 48.0F;
  float scale = 1.0F;
  bool reversed = false;
  float mid = 0.0F;
  int lowest_pan = -kPanLimit;
  int highest_pan = kPanLimit;
};

// Chords and tuplets remembered per track and voice while macros are expanded. They live
// as long as the session: no pass or job clears them.
struct CaptureBuffers {
  std::array<std::array<std::string, kVoices>, kTrackSlots> chord_capture;
  std::array<std::array<std::string, kVoices>, kTrackSlots> tuplet_capture;
  std::string tuplet_recall;
};

// What the stereo placement met per track during one pass, for reports: the pitch range of
// every note (placed or left alone) and the range of the pan values written before notes.
struct PlacementRecord {
  struct Track {
    int notes = 0;
    int lowest_pitch = 0;
    int highest_pitch = 0;
    int placed = 0;
    int lowest_pan = 0;
    int highest_pan = 0;
  };
  std::array<Track, kTrackSlots> tracks{};

  void clear() { tracks = {}; }
  void heard(int track, int pitch) {
    Track& t = tracks[static_cast<std::size_t>(track)];
    widen(t.notes, t.lowest_pitch, t.highest_pitch, pitch);
  }
  void placed_at(int track, int pan) {
    Track& t = tracks[static_cast<std::size_t>(track)];
    widen(t.placed, t.lowest_pan, t.highest_pan, pan);
  }

 private:
  static void widen(int& count, int& lowest, int& highest, int value) {
    lowest = count == 0 || value < lowest ? value : lowest;
    highest = count == 0 || value > highest ? value : highest;
    ++count;
  }
};

// The decimal value of a signed number text ("+5", "-12", "0"); values beyond the range of
// int saturate.
int parse_signed(std::string_view text);

}  // namespace bivox
