// Chord symbols between single quotes: recognised, reported and captured, never placed.
#include "engine/fatal_stop.hpp"
#include "grammar/grammar.hpp"
#include "text/format.hpp"
#include "text/messages.hpp"

namespace bivox {
namespace {

constexpr std::size_t kChordField = 1024;

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
  static constexpr std::string_view kLetters[] = {"C", "D", "E", "F", "G", "A", "B"};
  return first_literal(kLetters);
}

bool Grammar::chord_accidental() {
  static constexpr std::string_view kAccidentals[] = {"#", "b"};
  return first_literal(kAccidentals);
}

bool Grammar::chord_quality() {
  static constexpr std::string_view kQualities[] = {
      "aug", "M7",   "M9",    "M",     "add9", "dim7", "dimM7", "dim9", "dim",  "+5",   "-5",
      "m-5", "m+5",  "mM7",   "madd9", "m69",  "mM9",  "m7+5",  "m7-5", "m7+9", "m7-9", "m6",
      "m7",  "m9+5", "m9-5",  "m9",    "m",    "sus2", "sus4",  "69",   "6",    "7+5",  "7-5",
      "7+9", "7-9",  "7sus4", "7",     "9+5",  "9-5",  "9sus4", "9",
  };
  Frame f(*this);
  if (first_literal(kQualities)) return true;
  if (f.seq(empty)) return f.yield("");
  return f.fail();
}

bool Grammar::chord_octave() {
  static constexpr std::string_view kOctaves[] = {">>>>", ">>>", ">>", ">",
                                                  "<<<<", "<<<", "<<", "<"};
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
  static constexpr std::string_view kTensions[] = {"-9",  "9",   "+9", "-11", "11",
                                                   "+11", "-13", "13", "+13"};
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
