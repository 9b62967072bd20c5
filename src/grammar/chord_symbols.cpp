// Chord symbols between single quotes: recognised, reported and captured, never placed.
#include <optional>

#include "engine/fatal_stop.hpp"
#include "engine/literal_list.hpp"
#include "engine/terminals.hpp"
#include "grammar/grammar.hpp"
#include "text/format.hpp"
#include "text/messages.hpp"

namespace bivox {
namespace {

constexpr std::size_t kChordField = 1024;

constexpr std::string_view kLetters[] = {"C", "D", "E", "F", "G", "A", "B"};
constexpr std::string_view kAccidentals[] = {"#", "b"};
constexpr std::string_view kQualities[] = {
    "aug", "M7",   "M9",    "M",     "add9", "dim7", "dimM7", "dim9", "dim",  "+5",   "-5",
    "m-5", "m+5",  "mM7",   "madd9", "m69",  "mM9",  "m7+5",  "m7-5", "m7+9", "m7-9", "m6",
    "m7",  "m9+5", "m9-5",  "m9",    "m",    "sus2", "sus4",  "69",   "6",    "7+5",  "7-5",
    "7+9", "7-9",  "7sus4", "7",     "9+5",  "9-5",  "9sus4", "9",
};
constexpr std::string_view kOctaves[] = {">>>>", ">>>", ">>", ">", "<<<<", "<<<", "<<", "<"};
constexpr std::string_view kTensions[] = {"-9", "9", "+9", "-11", "11", "+11", "-13", "13", "+13"};

// The rules of a chord body open a few activations, and two more for each tension.
constexpr int kMaxDirectTensions = 16;
constexpr int kDirectBodyDepth = 8 + 2 * kMaxDirectTensions;

// Where a chord body that starts at `at` ends, when every terminal of it follows the last
// directly: no spacing, comment or end of the data where the rules would look for one.
// Its literals are the first in each list that the stored bytes begin with, as the rules
// take them. None where the body holds anything else, and the rules must read it.
std::optional<Position> plain_body_end(std::string_view stored, Position at) {
  using List = LiteralList<std::string_view>;
  static constexpr List kLetterList(kLetters);
  static constexpr List kAccidentalList(kAccidentals);
  static constexpr List kQualityList(kQualities);
  static constexpr List kOctaveList(kOctaves);
  static constexpr List kTensionList(kTensions);
  // The byte at `p`, where no spacing can stand; kAnyByte where it could, or the data ends.
  // A "/" begins spacing only before "/" or "*".
  const auto plain_byte = [&](Position p) {
    const auto i = static_cast<std::size_t>(p);
    if (i >= stored.size()) return kAnyByte;
    const auto c = static_cast<unsigned char>(stored[i]);
    if (c == '/') {
      return i + 1 < stored.size() && stored[i + 1] != '/' && stored[i + 1] != '*' ? c : kAnyByte;
    }
    return may_begin_spacing(c) ? kAnyByte : c;
  };
  // The literal of the list at `p`, if any, with `p` moved past it; false where the byte
  // there is not plain.
  const auto take = [&](const List& list, Position& p, bool& taken) {
    const int c = plain_byte(p);
    if (c == kAnyByte) return false;
    const std::string_view* literal = list.at(stored, p, c);
    taken = literal != nullptr;
    if (taken) p += static_cast<Position>(literal->size());
    return true;
  };
  bool taken = false;
  if (!take(kLetterList, at, taken) || !taken || !take(kAccidentalList, at, taken) ||
      !take(kQualityList, at, taken) || !take(kOctaveList, at, taken)) {
    return std::nullopt;
  }
  int c = plain_byte(at);
  if (c == '(') {
    Position p = at + 1;
    for (int tensions = 1;; ++tensions) {
      if (tensions > kMaxDirectTensions || !take(kTensionList, p, taken) || !taken) {
        return std::nullopt;
      }
      c = plain_byte(p);
      if (c != ',') break;
      ++p;
    }
    if (c != ')') return std::nullopt;
    at = p + 1;
    c = plain_byte(at);
  }
  if (c == '/') {
    Position p = at + 1;
    if (!take(kLetterList, p, taken) || !taken || !take(kAccidentalList, p, taken)) {
      return std::nullopt;
    }
    at = p;
  } else if (c == kAnyByte) {
    return std::nullopt;
  }
  return at;
}

}  // namespace

bool Grammar::chord_symbol() {
  Frame f(*this);
  if (f.seq("'", &Grammar::chord_body, "'", &Grammar::chord_symbol_length)) {
    report_text(msg::kChordSymbolLabel, f[2]);
    return f.yield(f[1], f[2], f[3], f[4]);
  }
  return f.fail();
}

bool Grammar::chord_body() {
  // With the fast paths, a body whose terminals follow each other directly (as they
  // mostly do) is read without its rules, which have no action but the capture below.
  ParseContext& ctx = s_.engine;
  const Position start = ctx.input.tell_pos();
  if (ctx.may_shortcut(kDirectBodyDepth)) {
    if (const std::optional<Position> end = plain_body_end(ctx.input.stored(), start)) {
      const std::string_view body = ctx.input.stored().substr(
          static_cast<std::size_t>(start), static_cast<std::size_t>(*end - start));
      capture_chord(ChordKind::symbol, body);
      ctx.values.push(body);
      ctx.input.seek_pos(*end);
      return true;
    }
  }
  Frame f(*this);
  if (f.seq(&Grammar::chord_root, &Grammar::chord_quality, &Grammar::chord_octave,
            &Grammar::chord_tensions, &Grammar::chord_bass)) {
    std::string body;
    for (int k = 1; k <= 5; ++k) body += f[k];
    capture_chord(ChordKind::symbol, body);
    return f.yield(body);
  }
  return f.fail();
}

bool Grammar::chord_root() {
  Frame f(*this);
  if (f.seq(&Grammar::chord_letter, &Grammar::chord_accidental)) return f.yield(f[1], f[2]);
  if (f.seq_prefix(&Grammar::chord_letter)) return f.pass(1);
  return f.fail();
}

bool Grammar::chord_letter() {
  return first_literal(kLetters);
}

bool Grammar::chord_accidental() {
  return first_literal(kAccidentals);
}

bool Grammar::chord_quality() {
  Frame f(*this);
  if (first_literal(kQualities)) return true;
  if (f.seq(empty)) return f.yield("");
  return f.fail();
}

bool Grammar::chord_octave() {
  Frame f(*this);
  if (first_literal(kOctaves)) return true;
  if (f.seq(empty)) return f.yield("");
  return f.fail();
}

bool Grammar::chord_tensions() {
  Frame f(*this);
  if (f.seq("(", &Grammar::tension_list, ")")) return f.yield(f[1], f[2], f[3]);
  if (f.seq(empty)) return f.yield("");
  return f.fail();
}

bool Grammar::tension_list() {
  Frame f(*this);
  if (f.seq(&Grammar::tension, ",", &Grammar::tension_list)) return f.yield(f[1], f[2], f[3]);
  if (f.seq_prefix(&Grammar::tension)) return f.pass(1);
  return f.fail();
}

bool Grammar::tension() {
  return first_literal(kTensions);
}

bool Grammar::chord_bass() {
  Frame f(*this);
  if (f.seq("/", &Grammar::chord_letter, &Grammar::chord_accidental)) {
    return f.yield(f[1], f[2], f[3]);
  }
  if (f.seq_prefix("/", &Grammar::chord_letter)) return f.yield(f[1], f[2]);
  if (f.seq(empty)) return f.yield("");
  return f.fail();
}

bool Grammar::chord_symbol_length() {
  Frame f(*this);
  if (f.seq(&Grammar::length, &Grammar::chord_colon_length, "-")) {
    return f.yield(f[1], f[2], f[3]);
  }
  if (f.seq_prefix(&Grammar::length, &Grammar::chord_colon_length)) return f.yield(f[1], f[2]);
  return f.fail();
}

bool Grammar::chord_colon_length() {
  Frame f(*this);
  if (f.seq(":", &Grammar::length)) return f.yield(f[1], f[2]);
  if (f.seq(":")) return f.pass(1);
  if (f.seq(empty)) return f.yield("");
  return f.fail();
}

void Grammar::capture_chord(ChordKind kind, std::string_view text) {
  if (!s_.switches.expansion) return;
  if (text.size() >= kChordField - 2) {
    const auto message =
        kind == ChordKind::bracket ? msg::kBracketChordTooLong : msg::kChordSymbolTooLong;
    throw FatalStop(format(message, static_cast<int>(kChordField)));
  }
  const char open = kind == ChordKind::bracket ? '[' : '\'';
  const char close = kind == ChordKind::bracket ? ']' : '\'';
  chord_slot() = open + std::string(text) + close;
}

}  // namespace bivox
