// Helpers for the many rules that are an ordered list of alternatives of one element.
#include "grammar/grammar.hpp"

namespace bivox {

// A literal whose first byte is not the next byte fails at once, before any value is
// stored, so the fast paths pass over it.
bool Grammar::choose(std::span<const Choice> choices, int& target) {
  Frame f(*this);
  const int next = next_token_byte(s_.engine);
  for (const Choice& c : choices) {
    if (!may_begin(next, c.literal)) continue;
    if (f.seq(c.literal)) {
      target = c.value;
      return f.pass(1);
    }
  }
  return f.fail();
}

bool Grammar::first_literal(std::span<const std::string_view> literals) {
  Frame f(*this);
  const int next = next_token_byte(s_.engine);
  for (const std::string_view literal : literals) {
    if (!may_begin(next, literal)) continue;
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

bool Grammar::first_rule(std::span<const StartingRule> rules, const StartTable& starts) {
  Frame f(*this);
  // A rule passed over would have opened a few activations before failing.
  constexpr int kSkippedDepth = 8;
  const int next = s_.engine.may_shortcut(kSkippedDepth) ? next_token_byte(s_.engine) : kAnyByte;
  const std::uint32_t candidates =
      next == kAnyByte ? ~std::uint32_t{0} : starts[static_cast<std::size_t>(next)];
  for (std::size_t i = 0; i < rules.size(); ++i) {
    if ((candidates >> i & 1U) == 0) continue;
    if (f.seq(rules[i].rule)) return f.pass(1);
  }
  return f.fail();
}

bool Grammar::start_line() {
  Text text;
  text.append(NL);
  s_.engine.values.pop_append(text);
  s_.engine.values.push_moved(std::move(text));
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
