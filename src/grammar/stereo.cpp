// The stereo placement: a pan command before every note of an eligible track, and the
// second pass made from the marks of the first.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <string>
#include <string_view>

#include "bivox/notes.hpp"
#include "grammar/grammar.hpp"
#include "grammar/placement_marks.hpp"
#include "text/format.hpp"
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
// What a mark changes: the " @" of a pan command, the "!" of a value report.
static_assert(msg::kPanZero.starts_with(" @S") && kPositivePrefix.starts_with(" @S") &&
              kNegativePrefix.starts_with(" @S"));
static_assert(msg::kValueReport.starts_with("!-[") && msg::kValueReport.ends_with("]-!"));

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

// The commands of every placed value and of the pitches notes mostly have (the first pass
// writes the pitch), written once rather than once per note.
constexpr int kLowestReady = -128;
constexpr int kHighestReady = 255;
static_assert(kLowestReady <= -kPanLimit && kHighestReady >= kPanLimit);
constexpr auto kReadyCommands = [] {
  std::array<ShortText, kHighestReady - kLowestReady + 1> commands{};
  for (int value = kLowestReady; value <= kHighestReady; ++value) {
    commands[static_cast<std::size_t>(value - kLowestReady)] = pan_command(value);
  }
  return commands;
}();

// The pan command of a value: those of the usual values are ready made.
ShortText pan_command_for(int value) {
  return value >= kLowestReady && value <= kHighestReady
             ? kReadyCommands[static_cast<std::size_t>(value - kLowestReady)]
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
  st.annotation.size = 0;
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
    if (s_.mark != 0) {
      st.annotation.text[0] = s_.mark;
      st.annotation.text[1] = static_cast<char>('A' + st.current_track);
      // Until the second pass is made, the pitch stands for the value it will be placed at.
      s_.placement.placed_at(st.current_track, p);
    }
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

namespace {

bool is_digit(char c) {
  return c >= '0' && c <= '9';
}

// Reads the marks of a text and writes the text with each replaced by what the second pass
// writes in its place: the output as its file holds it, with CR LF line ends; a message
// with its value reports without their spaces, as messages quote texts (the marks of pan
// commands are gone from them already).
class SecondPassWriter {
 public:
  enum class Form { file, message };
  SecondPassWriter(const GrammarState& s, Form form) : s_(s), form_(form) {}

  std::string write(std::string_view text) {
    // Reserved whole, but sized (and so touched) only as far as it is written.
    out_.reserve(text.size() + text.size() / 4);
    out_.clear();
    size_ = 0;
    next_feed_ = form_ == Form::file ? text.find('\n') : std::string_view::npos;
    const char mark = s_.mark;
    std::size_t at = 0;
    while (at < text.size()) {
      const std::size_t next_mark = std::min(text.find(mark, at), text.size());
      put_plain(text, at, next_mark);
      at = next_mark;
      if (at == text.size()) break;
      at = pan_mark_at(text, at, mark) ? pan_command(text, at) : value_report(text, at);
    }
    out_.resize(size_);
    return std::move(out_);
  }

 private:
  // The bytes from `from` to `to`, which hold no mark: for a file, with a CR before each
  // line feed. Each line feed is looked for once, not once per piece of its line (marks
  // hold none).
  void put_plain(std::string_view text, std::size_t from, std::size_t to) {
    for (; next_feed_ < to; next_feed_ = text.find('\n', from)) {
      put_run(text, from, next_feed_);
      put("\r\n");
      from = next_feed_ + 1;
    }
    put_run(text, from, to);
  }
  // The bytes of the text from `from` to `to`. Mostly a few: then a fixed sixteen are
  // copied where the text and the room allow, which copies fast.
  void put_run(std::string_view text, std::size_t from, std::size_t to) {
    constexpr std::size_t kShort = 16;
    if (to - from <= kShort && from + kShort <= text.size() && size_ + kShort <= out_.size()) {
      std::memcpy(out_.data() + size_, text.data() + from, kShort);
      size_ += to - from;
    } else {
      put(text.substr(from, to - from));
    }
  }

  void put(std::string_view piece) {
    if (size_ + piece.size() > out_.size()) grow(piece.size());
    piece.copy(out_.data() + size_, piece.size());
    size_ += piece.size();
  }
  // A command is copied whole, with the unused rest of its array: a fixed size copies fast.
  void put(const ShortText& command) {
    if (size_ + command.text.size() > out_.size()) grow(command.text.size());
    std::memcpy(out_.data() + size_, command.text.data(), command.text.size());
    size_ += command.size;
  }
  void grow(std::size_t more) { out_.resize(std::max(out_.size() + kStep, size_ + more)); }

  // A pan command's mark: the mark byte, the track letter, "S" and the pitch the first pass
  // wrote. Nothing is written for a track whose pan is fixed or that holds drums.
  std::size_t pan_command(std::string_view text, std::size_t at) {
    const auto t = static_cast<std::size_t>(text[at + 1] - 'A');
    std::size_t end = at + 3;
    const bool negative = end < text.size() && text[end] == '-';
    if (negative || (end < text.size() && text[end] == '+')) ++end;
    long long magnitude = 0;
    for (; end < text.size() && is_digit(text[end]); ++end) {
      magnitude = magnitude * 10 + (text[end] - '0');
    }
    if (s_.score.pan_fixed[t] || s_.score.drum_track[t]) return end;
    const auto pitch = static_cast<int>(negative ? -magnitude : magnitude);
    if (pitch < 0 || pitch >= kMadeOnce) {
      put(pan_command_for(placed_value(pitch, s_.pitch)));
      return end;
    }
    ShortText& command = by_pitch_[static_cast<std::size_t>(pitch)];
    if (command.size == 0) command = pan_command_for(placed_value(pitch, s_.pitch));
    put(command);
    return end;
  }

  // A value report's mark: the mark byte, "-[", the value over ten with two decimals and
  // "]-!".
  std::size_t value_report(std::string_view text, std::size_t at) {
    std::size_t end = at + 3;
    while (end < text.size() && text[end] == ' ') ++end;
    const bool negative = end < text.size() && text[end] == '-';
    if (negative) ++end;
    long long hundredths = 0;
    for (; end < text.size() && text[end] != ']'; ++end) {
      if (is_digit(text[end])) hundredths = hundredths * 10 + (text[end] - '0');
    }
    const auto value = static_cast<int>((negative ? -hundredths : hundredths) / 10);
    std::string report = value_report_text(value, s_.pitch.scale);
    if (form_ == Form::message) std::erase(report, ' ');
    put(report);
    return std::min(end + 3, text.size());
  }

  // How far the text's size grows at a time.
  static constexpr std::size_t kStep = 64 * 1024;
  // The commands of the pitches below this are made once per text.
  static constexpr int kMadeOnce = 256;
  const GrammarState& s_;
  Form form_;
  std::array<ShortText, kMadeOnce> by_pitch_{};
  std::string out_;
  std::size_t size_ = 0;
  // Where the next line feed stands, for a file; none for a message.
  std::size_t next_feed_ = std::string_view::npos;
};

// Whether the second pass leaves out a message of the first: one about a track whose pan
// a command fixed.
bool withdrawn(const GrammarState& s, int track) {
  return track >= 0 && s.score.pan_fixed[static_cast<std::size_t>(track)];
}

// Whether every text the second pass builds stays within the loop's buffer and the bound on
// held text, given that its marks of one kind are at least `shortest_before` bytes long in
// the first pass and at most `longest_after` in the second: each text then grows at most
// by their ratio, and the most the first pass held at once bounds every loop's text.
bool grows_within_bounds(const GrammarState& s, std::size_t longest_after,
                         std::size_t shortest_before) {
  const std::size_t peak = s.engine.peak_held_bytes;
  const std::size_t after = std::max(longest_after, shortest_before);
  return peak * after < (kLoopBuffer - 2) * shortest_before &&
         peak * after <= ParseContext::kMaxHeldBytes * shortest_before;
}

}  // namespace

char choose_mark(std::string_view score) {
  for (char c = 1; c < ' '; ++c) {
    // Not the characters of spacing and line ends, nor the end-of-file byte.
    if ((c >= '\t' && c <= '\r') || c == '\x1a') continue;
    if (score.find(c) == std::string_view::npos) return c;
  }
  return 0;
}

std::string value_report_text(int value, float scale) {
  return format(msg::kValueReport, value * static_cast<double>(scale) / 10.0);
}

bool second_pass_from_marks_fits(const GrammarState& s) {
  const PitchScale& p = s.pitch;
  if (!std::isfinite(p.scale) || !std::isfinite(p.centre)) return false;
  const std::vector<int>& tracks = s.diagnostics.tracks();
  const auto kept =
      std::count_if(tracks.begin(), tracks.end(), [&](int track) { return !withdrawn(s, track); });
  if (s.diagnostics.dropped() && static_cast<std::size_t>(kept) < Diagnostics::kCapacity) {
    return false;
  }
  const std::size_t longest_pan =
      std::max(pan_command_for(p.lowest_pan).size, pan_command_for(p.highest_pan).size);
  const std::size_t longest_report = std::max(value_report_text(s.lowest_report, p.scale).size(),
                                              value_report_text(s.highest_report, p.scale).size());
  return grows_within_bounds(s, longest_pan, msg::kPanZero.size()) &&
         grows_within_bounds(s, longest_report, value_report_text(0, 1.0F).size());
}

void make_second_pass_from_marks(GrammarState& s) {
  s.output = SecondPassWriter(s, SecondPassWriter::Form::file).write(s.output);
  SecondPassWriter messages(s, SecondPassWriter::Form::message);
  s.diagnostics.revise([&](std::string& text, int track) {
    if (withdrawn(s, track)) return false;
    if (text.find(s.mark) != std::string::npos) text = messages.write(text);
    return true;
  });
  // placed_value is monotone in the pitch: the lowest and highest pitch give the range.
  for (std::size_t t = 0; t < kTrackSlots; ++t) {
    PlacementRecord::Track& r = s.placement.tracks[t];
    if (r.placed == 0) continue;
    if (s.score.pan_fixed[t] || s.score.drum_track[t]) {
      r.placed = r.lowest_pan = r.highest_pan = 0;
      continue;
    }
    const int a = placed_value(r.lowest_pan, s.pitch);
    const int b = placed_value(r.highest_pan, s.pitch);
    r.lowest_pan = std::min(a, b);
    r.highest_pan = std::max(a, b);
  }
}

void unmark_first_pass(GrammarState& s) {
  const auto unmark = [mark = s.mark](std::string& text) {
    for (std::size_t at = text.find(mark); at != std::string::npos; at = text.find(mark, at)) {
      if (pan_mark_at(text, at, mark)) {
        text[at] = ' ';
        text[at + 1] = '@';
      } else {
        text[at] = '!';
      }
    }
  };
  unmark(s.output);
  s.diagnostics.revise([&](std::string& text, int) {
    unmark(text);
    return true;
  });
}

}  // namespace bivox
