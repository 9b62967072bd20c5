// The options of the stereo conversion as people write them: pan ranges, pitch ranges,
// note names and track letters, read and written back.
#include "jobs/stereo_options.hpp"

#include <algorithm>
#include <charconv>
#include <stdexcept>

namespace bivox {
namespace {

constexpr int kPitchLimit = 1000;
constexpr std::string_view kTrackLetters = "ABCDEFGHIJKLMNOZ";

std::string_view trimmed(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

std::string quoted(std::string_view text) {
  return "'" + std::string(text) + "'";
}

[[noreturn]] void refuse(std::string_view text, const std::string& why) {
  throw std::invalid_argument(quoted(text) + ": " + why);
}

// A whole number with an optional sign, and nothing else.
std::optional<int> whole_number(std::string_view text) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return {};
  return value;
}

// The two sides of "A..B", trimmed.
std::optional<std::pair<std::string_view, std::string_view>> two_ends(std::string_view text) {
  const std::size_t dots = text.find("..");
  if (dots == std::string_view::npos) return {};
  return std::pair{trimmed(text.substr(0, dots)), trimmed(text.substr(dots + 2))};
}

// The semitone of a note letter within its octave, or nothing.
std::optional<int> semitone_of(char letter) {
  static constexpr std::string_view kLetters = "CDEFGAB";
  static constexpr int kSemitones[] = {0, 2, 4, 5, 7, 9, 11};
  const char upper =
      letter >= 'a' && letter <= 'z' ? static_cast<char>(letter - 'a' + 'A') : letter;
  const std::size_t at = kLetters.find(upper);
  if (at == std::string_view::npos) return {};
  return kSemitones[at];
}

// "C4", "F#3", "Bb5", "c-1": the letter, maybe "#" or "b", then the octave.
std::optional<int> note_name_pitch(std::string_view text) {
  if (text.empty()) return {};
  std::optional<int> semitone = semitone_of(text.front());
  if (!semitone) return {};
  text.remove_prefix(1);
  if (!text.empty() && (text.front() == '#' || text.front() == 'b')) {
    *semitone += text.front() == '#' ? 1 : -1;
    text.remove_prefix(1);
  }
  const std::optional<int> octave = whole_number(text);
  if (!octave || *octave < -kPitchLimit / 12 || *octave > kPitchLimit / 12) return {};
  return *octave * 12 + *semitone;
}

}  // namespace

std::pair<int, int> parse_pan_range(std::string_view text) {
  const auto ends = two_ends(trimmed(text));
  const std::optional<int> left = ends ? whole_number(ends->first) : std::nullopt;
  const std::optional<int> right = ends ? whole_number(ends->second) : std::nullopt;
  if (!left || !right) refuse(text, "expected L..R, two whole numbers such as -32..32");
  const auto inside = [](int v) { return v >= -kPanLimit && v <= kPanLimit; };
  if (!inside(*left) || !inside(*right)) refuse(text, "each end must lie from -64 to 64");
  if (*left == *right) refuse(text, "the two ends must differ");
  return {*left, *right};
}

int parse_pitch(std::string_view text) {
  const std::string_view t = trimmed(text);
  std::optional<int> pitch = whole_number(t);
  if (!pitch) pitch = note_name_pitch(t);
  if (!pitch || *pitch < -kPitchLimit || *pitch > kPitchLimit) {
    refuse(text, "not a pitch number from -1000 to 1000 nor a note name such as C4 or F#3");
  }
  return *pitch;
}

PitchRange parse_pitch_range(std::string_view text) {
  const auto ends = two_ends(trimmed(text));
  if (!ends)
    refuse(text, "expected LO..HI, pitch numbers such as 36..96 or note names such as C2..C7");
  const PitchRange range{parse_pitch(ends->first), parse_pitch(ends->second)};
  if (range.lowest > range.highest) {
    refuse(text, "the lowest pitch " + pitch_name(range.lowest) + " is above the highest " +
                     pitch_name(range.highest));
  }
  return range;
}

std::string parse_track_letters(std::string_view text) {
  std::string letters;
  for (const char c : trimmed(text)) {
    if (kTrackLetters.find(c) == std::string_view::npos) {
      refuse(text, quoted(std::string(1, c)) + " is no track letter (A to O, or Z)");
    }
    if (letters.find(c) == std::string::npos) letters += c;
  }
  std::sort(letters.begin(), letters.end());
  return letters;
}

std::string pan_range_text(int left, int right) {
  return std::to_string(left) + ".." + std::to_string(right);
}

std::string pitch_range_text(const PitchRange& range) {
  return pitch_name(range.lowest) + ".." + pitch_name(range.highest);
}

std::string describe(const StereoOptions& options) {
  const StereoOptions defaults;
  std::string text;
  const auto add = [&](const std::string& part) { text += (text.empty() ? "" : ", ") + part; };
  if (options.pan_left != defaults.pan_left || options.pan_right != defaults.pan_right) {
    add("pan range " + pan_range_text(options.pan_left, options.pan_right));
  }
  if (options.pitch_range) {
    add("pitch range " + pitch_range_text(*options.pitch_range) + " (" +
        std::to_string(options.pitch_range->lowest) + ".." +
        std::to_string(options.pitch_range->highest) + ")");
  }
  if (!options.leave.empty()) add("left alone: " + options.leave);
  return text;
}

void check_stereo_options(const StereoOptions& options) {
  parse_pan_range(pan_range_text(options.pan_left, options.pan_right));
  if (options.pitch_range) {
    parse_pitch_range(std::to_string(options.pitch_range->lowest) + ".." +
                      std::to_string(options.pitch_range->highest));
  }
  parse_track_letters(options.leave);
}

}  // namespace bivox
