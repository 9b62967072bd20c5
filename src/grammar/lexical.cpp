// Numbers, names and the length notation that follows notes and many commands.
#include "grammar/grammar.hpp"
#include "grammar/length_literals.hpp"
#include "grammar/length_scanner.hpp"

namespace bivox {
namespace {

constexpr ClassPattern kDigits{"[0-9]+"};
constexpr ClassPattern kLongName{"[a-zA-Z0-9_-_][a-zA-Z0-9_-_]+"};
constexpr ClassPattern kShortName{"[a-zA-Z0-9_-_]"};

}  // namespace

bool Grammar::zero_or_more(Rule rule) {
  Frame f(*this);
  std::string joined;
  std::string piece;
  while ((this->*rule)()) {
    s_.engine.values.pop_into(piece);
    joined += piece;
  }
  return f.yield(joined);
}

bool Grammar::one_or_more(Rule rule) {
  Frame f(*this);
  if (!f.seq(rule)) return f.fail();
  zero_or_more(rule);
  std::string rest;
  s_.engine.values.pop_into(rest);
  return f.yield(f[1], rest);
}

bool Grammar::number() {
  if (const std::optional<bool> read = scan_number(s_.engine)) return *read;
  Frame f(*this);
  if (f.seq(kDigits)) return f.pass(1);
  return f.fail();
}

bool Grammar::optional_number() {
  Frame f(*this);
  if (f.seq(&Grammar::number)) return f.pass(1);
  if (f.seq(empty)) return f.yield("");
  return f.fail();
}

bool Grammar::signed_number() {
  Frame f(*this);
  if (f.seq(&Grammar::number)) return f.pass(1);
  if (f.seq("+", &Grammar::number)) return f.yield(f[1], f[2]);
  if (f.seq("-", &Grammar::number)) return f.yield(f[1], f[2]);
  return f.fail();
}

bool Grammar::signed_offset() {
  Frame f(*this);
  if (f.seq("0")) return f.pass(1);
  if (f.seq("+", &Grammar::number)) return f.yield(f[1], f[2]);
  if (f.seq("-", &Grammar::number)) return f.yield(f[1], f[2]);
  return f.fail();
}

bool Grammar::dotted_number() {
  Frame f(*this);
  if (f.seq(&Grammar::number, ".")) return f.yield(f[1], f[2]);
  if (f.seq_prefix(&Grammar::number)) return f.pass(1);
  return f.fail();
}

bool Grammar::name() {
  Frame f(*this);
  if (f.seq(kLongName)) return f.pass(1);
  if (f.seq(kShortName)) return f.pass(1);
  return f.fail();
}

bool Grammar::note_value() {
  Frame f(*this);
  if (first_literal(kNoteValues)) return true;
  if (f.seq(empty)) return f.yield("");
  return f.fail();
}

bool Grammar::dots() {
  Frame f(*this);
  if (first_literal(kDots)) return true;
  if (f.seq(empty)) return f.yield("");
  return f.fail();
}

bool Grammar::tick_length() {
  Frame f(*this);
  if (f.seq("i", &Grammar::number)) return f.yield(f[1], f[2]);
  return f.fail();
}

bool Grammar::base_length() {
  Frame f(*this);
  if (f.seq(&Grammar::tick_length)) return f.pass(1);
  if (f.seq(&Grammar::note_value, &Grammar::dots)) return f.yield(f[1], f[2]);
  return f.fail();
}

// Grave-accent additions: "`" dotted_number, any number of them. A grave accent without
// digits after it is not part of the length and stays unread.
bool Grammar::backquote_chain() {
  return zero_or_more(&Grammar::backquote_addition);
}

bool Grammar::backquote_addition() {
  Frame f(*this);
  if (f.seq("`", &Grammar::dotted_number)) return f.yield(f[1], f[2]);
  return f.fail();
}

bool Grammar::length_unit() {
  Frame f(*this);
  if (f.seq(&Grammar::base_length, &Grammar::backquote_chain)) return f.yield(f[1], f[2]);
  return f.fail();
}

// A length is a unit followed by ties, each "^" or "~" and a unit of its own. Every unit
// may be empty, so "^" alone, "^8" and "4^" are lengths, and a length always matches.
bool Grammar::length() {
  if (scan_length(s_.engine)) return true;
  Frame f(*this);
  if (f.seq(&Grammar::length_unit, &Grammar::tie_chain)) return f.yield(f[1], f[2]);
  return f.fail();
}

bool Grammar::tie_chain() {
  return zero_or_more(&Grammar::tied_unit);
}

bool Grammar::tied_unit() {
  Frame f(*this);
  if (f.seq("^", &Grammar::length_unit)) return f.yield(f[1], f[2]);
  if (f.seq("~", &Grammar::length_unit)) return f.yield(f[1], f[2]);
  return f.fail();
}

bool Grammar::slash_suffix() {
  Frame f(*this);
  if (first_literal(kSlashSuffixes)) return true;
  if (f.seq(empty)) return f.yield("");
  return f.fail();
}

bool Grammar::note_length() {
  if (scan_note_length(s_.engine)) return true;
  Frame f(*this);
  if (f.seq(&Grammar::length, &Grammar::slash_suffix)) return f.yield(f[1], f[2]);
  return f.fail();
}

bool Grammar::colon_note_length() {
  Frame f(*this);
  if (f.seq(":", &Grammar::note_length)) return f.yield(f[1], f[2]);
  if (f.seq(empty)) return f.yield("");
  return f.fail();
}

}  // namespace bivox
