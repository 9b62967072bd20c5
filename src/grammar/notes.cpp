// Notes, rests and the octave commands, and the absolute pitch of a written note.
#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "engine/literal_list.hpp"
#include "engine/terminals.hpp"
#include "grammar/grammar.hpp"
#include "grammar/length_scanner.hpp"

namespace bivox {
namespace {

// Octaves subtracted per clef row.
constexpr std::array<int, 7> kClefOctave = {0, 1, 1, 1, 2, 2, 2};

// Semitone offset of each note number within the lowered octave, per clef row.
constexpr std::array<std::array<int, 12>, 7> kClefNote = {{
    {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11},
    {9, 0, 11, 0, 12, 14, 0, 16, 0, 17, 18, 19},
    {5, 0, 7, 0, 9, 11, 0, 12, 0, 14, 15, 16},
    {2, 0, 4, 0, 5, 7, 0, 9, 0, 11, 11, 12},
    {11, 0, 12, 0, 14, 16, 0, 17, 0, 19, 20, 21},
    {7, 0, 9, 0, 11, 12, 0, 14, 0, 16, 16, 17},
    {4, 0, 5, 0, 7, 9, 0, 11, 0, 12, 13, 14},
}};

// The notes that a key signature of k flats lowers, and of k sharps raises.
constexpr std::array<int, 7> kFlatOrder = {11, 4, 9, 2, 7, 0, 5};
constexpr std::array<int, 7> kSharpOrder = {5, 0, 7, 2, 9, 4, 11};

constexpr int kGermanNaming = 2;

using Choice = Grammar::Choice;

// The note letters of each naming system, and the accidentals, in the order their rules try
// them.
constexpr Choice kSolfegeLetters[] = {{"d", 0}, {"r", 2}, {"m", 4},  {"f", 5},
                                      {"s", 7}, {"l", 9}, {"c", 11}, {"_", -1}};
constexpr Choice kEnglishLetters[] = {{"c", 0}, {"d", 2}, {"e", 4},  {"f", 5},
                                      {"g", 7}, {"a", 9}, {"b", 11}, {"_", -1}};
constexpr Choice kGermanLetters[] = {{"c", 0}, {"d", 2},  {"e", 4},  {"f", 5}, {"g", 7},
                                     {"a", 9}, {"h", 11}, {"b", 10}, {"_", -1}};
constexpr Choice kAccidentals[] = {{"++", 2}, {"--", -2}, {"+", 1}, {"-", -1}, {"=", 0}};

constexpr LiteralList<Choice> kLettersByNaming[] = {LiteralList<Choice>(kSolfegeLetters),
                                                    LiteralList<Choice>(kEnglishLetters),
                                                    LiteralList<Choice>(kGermanLetters)};
constexpr LiteralList<Choice> kAccidentalList(kAccidentals);

bool in_first(const std::array<int, 7>& order, int count, int m) {
  for (int i = 0; i < count; ++i) {
    if (order[static_cast<std::size_t>(i)] == m) return true;
  }
  return false;
}

// Clef rows beyond the tables ("?7", "?8", or a FING value that is no digit) read as row 0.
std::size_t clef_row(int clef) {
  return static_cast<std::size_t>(clef >= 0 && clef < static_cast<int>(kClefOctave.size()) ? clef
                                                                                           : 0);
}

}  // namespace

bool Grammar::note_or_chord_symbol() {
  static constexpr Rule kForms[] = {&Grammar::note, &Grammar::chord_symbol};
  static constexpr Rule kSymbol[] = {&Grammar::chord_symbol};
  // What the rule note would give when read directly: the note, or a failure that changed
  // nothing, after which only the chord symbol is left to try.
  if (const std::optional<bool> read = push_note_directly()) return *read || first_rule(kSymbol);
  return first_rule(kForms);
}

bool Grammar::note() {
  if (const std::optional<bool> read = push_note_directly()) return *read;
  Frame f(*this);
  if (f.seq(&Grammar::note_name, &Grammar::accidental, &Grammar::note_length)) {
    s_.score.note_seen = true;
    annotate_note();
    return f.yield(s_.score.annotation.view(), f[1], f[2], f[3]);
  }
  return f.fail();
}

// The rule note without its activations, for the fast paths. Of the three naming systems
// only the voice's own is tried: the letters of the others set the last note, but a note
// that matches sets it again, and nothing reads it before a note matched. It declines
// (nothing read, nothing changed) wherever the rules must run themselves: fast paths off,
// the end of the data after a letter or at the start, a length the scanner leaves to the
// rules, or nesting close to its limit. The note's text is appended to `out`.
//
// With `bar_line_too` (for the element loop) a bar line "|" is read as well: it begins no
// other element, and its rule gives "|" and a line feed and does nothing else.
std::optional<bool> Grammar::read_note_directly(Text& out, bool bar_line_too) {
  // The rules would open a few activations (element, note, letter, accidental) above the
  // length, whose scanner keeps a margin of its own.
  constexpr int kDirectDepth = 72;
  ParseContext& ctx = s_.engine;
  ScoreState& st = s_.score;
  if (!ctx.may_shortcut(kDirectDepth)) return std::nullopt;
  InputSource& in = ctx.input;
  const Position start = in.tell_pos();
  Position letter_at = 0;
  int next = 0;
  if (!token_after(ctx, start, letter_at, next)) return std::nullopt;
  const int naming = st.voice_value(st.note_naming);
  const Choice* letter =
      naming >= 0 && naming < static_cast<int>(std::size(kLettersByNaming))
          ? kLettersByNaming[static_cast<std::size_t>(naming)].at(in.stored(), letter_at, next)
          : nullptr;
  if (letter == nullptr) {
    if (bar_line_too && next == '|') {
      out.append("|\n");
      in.seek_pos(letter_at + 1);
      return true;
    }
    in.seek_pos(start);
    return false;
  }
  const Position after_letter = letter_at + static_cast<Position>(letter->literal.size());
  Position accidental_at = 0;
  if (!token_after(ctx, after_letter, accidental_at, next)) {
    in.seek_pos(start);
    return std::nullopt;
  }
  const Choice* sign = kAccidentalList.at(in.stored(), accidental_at, next);
  const Position length_at =
      sign != nullptr ? accidental_at + static_cast<Position>(sign->literal.size()) : after_letter;
  in.seek_pos(length_at);
  const auto read = [&] {
    st.last_note = letter->value;
    st.last_accidental = sign != nullptr ? sign->value : kNoAccidental;
    st.note_seen = true;
    note_at_ = letter_at;
    annotate_note();
  };
  // Mostly the letter, accidental and length stand together: the note's text is the input's.
  Position end = 0;
  if ((sign == nullptr || accidental_at == after_letter) &&
      quick_note_length(ctx, length_at, end)) {
    read();
    out.append(st.annotation.view());
    out.append(in.stored().substr(static_cast<std::size_t>(letter_at),
                                  static_cast<std::size_t>(end - letter_at)));
    return true;
  }
  const std::size_t note_start = out.size();
  out.append(letter->literal);
  if (sign != nullptr) out.append(sign->literal);
  if (!scan_note_length(ctx, out)) {
    out.resize(note_start);
    in.seek_pos(start);
    return std::nullopt;
  }
  read();
  if (!st.annotation.view().empty()) out.insert(note_start, st.annotation.view());
  return true;
}

// read_note_directly, with the element's text pushed as the rule's result.
std::optional<bool> Grammar::push_note_directly(bool bar_line_too) {
  Text text;
  const std::optional<bool> read = read_note_directly(text, bar_line_too);
  if (read == true) s_.engine.values.push_moved(std::move(text));
  return read;
}

bool Grammar::note_name() {
  const int naming = s_.score.voice_value(s_.score.note_naming);
  Frame f(*this);
  if (!f.seq(&Grammar::solfege_name, NotationMark{naming, 0}) &&
      !f.seq(&Grammar::english_name, NotationMark{naming, 1}) &&
      !f.seq(&Grammar::german_name, NotationMark{naming, 2})) {
    return f.fail();
  }
  // Every note letter is one byte, and the notation mark reads nothing.
  note_at_ = s_.engine.input.tell_pos() - 1;
  return f.pass(1);
}

bool Grammar::solfege_name() {
  return choose(kSolfegeLetters, s_.score.last_note);
}

bool Grammar::english_name() {
  return choose(kEnglishLetters, s_.score.last_note);
}

bool Grammar::german_name() {
  return choose(kGermanLetters, s_.score.last_note);
}

bool Grammar::accidental() {
  Frame f(*this);
  if (choose(kAccidentals, s_.score.last_accidental)) return true;
  if (f.seq(empty)) {
    s_.score.last_accidental = kNoAccidental;
    return f.yield("");
  }
  return f.fail();
}

bool Grammar::octave_set() {
  Frame f(*this);
  if (f.seq("o", &Grammar::number)) {
    s_.score.voice_field(s_.score.octave) = f[2][0] - '0';
    return f.yield(f[1], f[2]);
  }
  return f.fail();
}

bool Grammar::octave_shift() {
  static constexpr Choice kShifts[] = {{"<<<", 3}, {">>>", -3}, {"<<", 2},
                                       {">>", -2}, {"<", 1},    {">", -1}};
  int delta = 0;
  if (!choose(kShifts, delta)) return false;
  s_.score.voice_field(s_.score.octave) += delta;
  return true;
}

int Grammar::absolute_pitch() const {
  const ScoreState& st = s_.score;
  const auto t = static_cast<std::size_t>(st.current_track);
  const int n = st.last_note;
  const int a = st.last_accidental;
  const std::size_t q = clef_row(st.voice_value(st.clef));
  const long long base = (static_cast<long long>(st.voice_value(st.octave)) - kClefOctave[q]) * 12;
  const int m = kClefNote[q][static_cast<std::size_t>(n)];
  long long pitch = base + m;
  if (a == kNoAccidental) {
    const int k = st.key_signature[t];
    const bool german_b_or_h =
        st.voice_value(st.note_naming) == kGermanNaming && (n == 10 || n == 11);
    if (k < 0 && !german_b_or_h && in_first(kFlatOrder, -k, m)) pitch -= 1;
    if (k > 0 && !german_b_or_h && in_first(kSharpOrder, k, m)) pitch += 1;
  } else {
    pitch += a;
  }
  // Octave commands and transpositions have no bounds; keep the sum inside int.
  return static_cast<int>(std::clamp<long long>(pitch + st.transpose[t], INT_MIN + 1, INT_MAX));
}

}  // namespace bivox
