#include "score_generator.hpp"

#include <array>
#include <span>
#include <string_view>

namespace bivox::bench {
namespace {

// Japanese texts (cp932) for comments, lyrics and section texts.
// 主旋律
constexpr std::string_view kMelody = "\216\345\220\371\227\245";
// 内声の和音 (its fourth character ends in the byte of "a")
constexpr std::string_view kInnerChords = "\223\340\220\272\202\314\230\141\211\271";
// サビ、強く
constexpr std::string_view kChorus = "\203\124\203\162\201\101\213\255\202\255";
// 歌詞：さくら　さくら
constexpr std::string_view kLyrics =
    "\211\314\216\214\201\106\202\263\202\255\202\347\201\100\202\263\202\255\202\347";
// 繰り返し
constexpr std::string_view kRepeat = "\214\112\202\350\225\324\202\265";
// ト長調
constexpr std::string_view kKeyName = "\203\147\222\267\222\262";
// ┃ (a heavy bar drawn as a double-byte character: spacing to the grammar)
constexpr std::string_view kHeavyBar = "\204\253";

constexpr std::array<std::string_view, 7> kJapanese = {kMelody, kInnerChords, kChorus,  kLyrics,
                                                       kRepeat, kKeyName,     kHeavyBar};

// Note letters of the three naming systems: solfege, English, German.
constexpr std::array<std::string_view, 3> kLetters = {"drmfslc", "cdefgab", "cdefgahb"};

constexpr std::string_view kTracks = "ABCDEFGHIZ";
constexpr int kDrumTrack = 'J' - 'A';
constexpr int kPanFixedTrack = 'K' - 'A';

constexpr std::array<std::string_view, 22> kLengths = {
    "4",      "8",  "8", "16", "2",   "4.",  "8..",   "i120", "4^8", "2~4",      "4`3",
    "8 ^ 16", "32", "1", "64", "4//", "8/.", "16///", "",     "",    "4 ~ 8^16", "2`3.`1"};
constexpr std::array<std::string_view, 5> kAccidentals = {"+", "-", "=", "++", "--"};
constexpr std::array<std::string_view, 17> kAttributes = {
    "V100", "V+10:8", "V-10", "P64", "P5/3",  "R2:4",     "R3",    "W3:8",   "Q6",
    "Y0",   "Y1",     "T+2",  "T0",  "U+5:4", "X128=5.3", "X7=64", "X129=-2"};
constexpr std::array<std::string_view, 4> kAssignments = {"R=1.2.3", "W=..", "Q=5.", "R=.4."};
constexpr std::array<std::string_view, 12> kInline = {"v100", "v+5:4", "v-3", "o5",  "<",   ">",
                                                      ">>",   "p0",    "p+3", "q^8", "q-2", "?0"};
constexpr std::array<std::string_view, 8> kChordSymbols = {
    "'C'4",   "'C#m7-5(9,11)/E'4:8-", "'Bbm'2",    "'G7sus4'",
    "'Am7'2", "'F(13,+11)'4",         "'Ddim7>'8", "'EM7/G#'4:"};
constexpr std::array<std::string_view, 6> kComments = {"//- ", "/* ", "!! ", "!- ", "; ", ""};

class Rng {
 public:
  explicit Rng(std::uint32_t seed) : state_(seed == 0 ? 0x9E3779B9U : seed) {}
  std::uint32_t next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }
  int below(int n) { return static_cast<int>(next() % static_cast<std::uint32_t>(n)); }
  bool chance(int percent) { return below(100) < percent; }
  template <class T, std::size_t N>
  const T& pick(const std::array<T, N>& items) {
    return items[static_cast<std::size_t>(below(static_cast<int>(N)))];
  }

 private:
  std::uint32_t state_;
};

class ScoreWriter {
 public:
  explicit ScoreWriter(std::uint32_t seed) : rng_(seed) {}

  std::string write(std::size_t target) {
    header();
    while (out_.size() < target) phrase();
    return std::move(out_);
  }

 private:
  void line(std::string_view text) {
    out_ += text;
    out_ += "\r\n";
  }
  std::string_view japanese() { return rng_.pick(kJapanese); }

  void header() {
    out_ += "/* ";
    out_ += kKeyName;
    out_ += " -- generated score */\r\n*HEAD\"Generated\"\r\n*TEXT\"";
    out_ += kLyrics;
    line("\"");
    line("*DRUM\"J\"");
    line("*FING\"o4?0x0\"");
    line("\\ +");
    line("\\ACE --");
    line("%1");
    line("%ABCDEFGHIJZ");
    line("%4:8");
    line("@ABCDEFGHI V100 P64");
    line("@J V90");
    line("@K S-20 V80");
  }

  void phrase() {
    const int kind = rng_.below(100);
    if (kind < 8) {
      select_track();
    } else if (kind < 14) {
      members();
    } else if (kind < 52) {
      bar();
    } else if (kind < 60) {
      group();
    } else if (kind < 66) {
      line(std::string(rng_.pick(kChordSymbols)) + " ,4 ,8- &");
    } else if (kind < 74) {
      macro();
    } else if (kind < 84) {
      comment();
    } else if (kind < 88) {
      line(rng_.pick(kAssignments));
    } else if (kind < 91) {
      header_lines();
    } else if (kind < 93) {
      line("*FING\"o4?0x0\"");
      for (auto& track : naming_) track.fill(0);
    } else {
      line(std::string(rng_.pick(kInline)) + " " + notes(3));
    }
  }

  void select_track() {
    track_ = kTracks[static_cast<std::size_t>(rng_.below(static_cast<int>(kTracks.size())))] - 'A';
    if (rng_.chance(10)) track_ = rng_.chance(50) ? kDrumTrack : kPanFixedTrack;
    voice_ = rng_.below(4);
    std::string text = "#";
    text += static_cast<char>('A' + track_);
    text += std::to_string(voice_);
    if (rng_.chance(40)) {
      current_naming() = rng_.below(3);
      text += " x" + std::to_string(current_naming());
    }
    text += " o" + std::to_string(3 + rng_.below(3));
    if (rng_.chance(20)) text += " ?" + std::to_string(rng_.below(7));
    line(text);
  }

  void members() {
    std::string text = "@";
    const int count = 1 + rng_.below(4);
    for (int i = 0; i < count; ++i) {
      text += kTracks[static_cast<std::size_t>(rng_.below(static_cast<int>(kTracks.size()) - 1))];
    }
    for (int i = 0; i < 2 + rng_.below(3); ++i) {
      text += " ";
      text += rng_.pick(kAttributes);
    }
    // Attribute commands after a note: the member list is declared again on expansion.
    text += " " + note() + " " + std::string(rng_.pick(kAttributes));
    line(text);
  }

  void bar() {
    std::string text = notes(4 + rng_.below(5));
    if (rng_.chance(25)) text += " " + std::string(rng_.pick(kInline)) + " " + notes(2);
    if (rng_.chance(10)) text += " " + std::string(kHeavyBar);
    line(text + " |");
  }

  void group() {
    switch (rng_.below(6)) {
      case 0:
        line("(" + notes(3) + ")8");
        break;
      case 1:
        line("(" + notes(2) + " (" + notes(2) + ")16)4 ()8");
        break;
      case 2:
        line("[" + notes(3) + "]4");
        break;
      case 3:
        line("[" + notes(3) + "]4:2 []4");
        break;
      case 4:
        line("([" + notes(2) + "]8 " + notes(2) + ")4");
        break;
      default:
        line("{" + notes(3) + "}2 {}2");
        break;
    }
  }

  void macro() {
    const std::string name = macro_name();
    if (rng_.chance(50)) {
      line("$" + name + "{" + notes(3 + rng_.below(4)) + "}" + count());
    } else {
      line("${" + name + "}" + count() + " " + notes(2));
    }
  }

  std::string macro_name() {
    static constexpr std::array<std::string_view, 8> kStems = {"riff",  "bass", "fill", "a",
                                                               "Intro", "x_",   "7th",  "B"};
    return std::string(rng_.pick(kStems)) + std::to_string(rng_.below(8));
  }

  std::string count() {
    const int n = rng_.below(5);
    return n == 0 ? std::string() : std::to_string(n - 1);
  }

  void comment() {
    const std::string_view kind = rng_.pick(kComments);
    const std::string body = std::string(japanese()) + " " + std::string(japanese());
    if (kind == "//- " || kind == "; ") {
      line(std::string(kind) + body);
    } else if (kind == "/* ") {
      line(notes(2) + " /* " + body + " */ " + notes(2));
    } else if (kind == "!! ") {
      line("!! " + body + " ! " + body + " !! " + notes(2));
    } else if (kind == "!- ") {
      line(notes(2) + " !- " + body + " -!");
    } else {
      line(std::string(japanese()) + " " + notes(3));
    }
  }

  void header_lines() {
    static constexpr std::array<std::string_view, 8> kLines = {
        "%2", "%ABC", "%8:4", "\\BD +++", "\\ =", "*MARK\"A\"", "*DATA\"x1\"", "*COLR\"0\""};
    line(rng_.pick(kLines));
  }

  std::string notes(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
      if (i > 0) text += ' ';
      text += note();
    }
    return text;
  }

  std::string note() {
    std::string text;
    if (rng_.chance(6)) {
      text = "_";
    } else {
      const std::string_view letters = kLetters[static_cast<std::size_t>(current_naming())];
      text = letters[static_cast<std::size_t>(rng_.below(static_cast<int>(letters.size())))];
      if (rng_.chance(20)) text += rng_.pick(kAccidentals);
    }
    text += rng_.pick(kLengths);
    return text;
  }

  int& current_naming() {
    return naming_[static_cast<std::size_t>(track_)][static_cast<std::size_t>(voice_)];
  }

  Rng rng_;
  std::string out_;
  int track_ = 0;
  int voice_ = 0;
  std::array<std::array<int, 10>, 30> naming_{};
};

}  // namespace

std::string generate_score(std::size_t target_bytes, std::uint32_t seed) {
  return ScoreWriter(seed).write(target_bytes);
}

std::string generate_nested_score(int depth, bool with_chords) {
  const std::string_view inner = with_chords ? "[m " : "{m ";
  const std::string_view inner_end = with_chords ? " ]4" : " }2";
  std::string text;
  for (int i = 0; i < depth; ++i) text += i % 2 == 0 ? "(d " : inner;
  text += "s";
  for (int i = depth - 1; i >= 0; --i) text += i % 2 == 0 ? " )8" : inner_end;
  text += "\r\n";
  return text;
}

}  // namespace bivox::bench
