// Helpers for the many rules that are an ordered list of alternatives of one element.
#include "grammar/grammar.hpp"

namespace bivox {

bool Grammar::choose(std::span<const Choice> choices, int& target) {
  Frame f(*this);
  for (const Choice& c : choices) {
    if (f.seq(c.literal)) {
      target = c.value;
      return f.pass(1);
    }
  }
  return f.fail();
}

bool Grammar::first_literal(std::span<const std::string_view> literals) {
  Frame f(*this);
  for (const std::string_view literal : literals) {
    if (f.seq(literal)) return f.pass(1);
  }
  return f.fail();
}

bool Grammar::first_rule(std::span<const Rule> rules) {
  Frame f(*this);
  for (const Rule rule : rules) {
    if (f.seq(rule)) return f.pass(1);
  }
  return f.fail();
}

bool Grammar::start_line() {
  std::string text;
  s_.engine.values.pop_into(text);
  s_.engine.values.push(std::string(NL) + text);
  return true;
}

std::string& Grammar::chord_slot() {
  const ScoreState& st = s_.score;
  return s_.captures.chord_capture[static_cast<std::size_t>(st.current_track)]
                                  [static_cast<std::size_t>(st.current_voice)];
}

std::string& Grammar::tuplet_slot() {
  const ScoreState& st = s_.score;
  return s_.captures.tuplet_capture[static_cast<std::size_t>(st.current_track)]
                                   [static_cast<std::size_t>(st.current_voice)];
}

}  // namespace bivox
