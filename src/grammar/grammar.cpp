// Helpers for the many rules that are an ordered list of alternatives of one element.
#include "grammar/grammar.hpp"

#include <bit>

#include "engine/literal_list.hpp"

namespace bivox {

namespace {

// The first item of the list whose literal matches, or null; a literal that does not match
// leaves the input where it was. With the fast paths the next terminal is known, and a
// literal that the stored bytes there do not begin with fails without a trace (its spacing
// skip is remembered, and no literal of a list holds a line end): only the first that they
// begin with is tried. Where the next terminal is not known (fast paths off, the end of
// the data) each is tried in turn.
template <class Item>
const Item* first_matching(ParseContext& ctx, std::span<const Item> items) {
  Position token = 0;
  int next = 0;
  if (token_after(ctx, ctx.input.tell_pos(), token, next)) {
    const std::string_view stored = ctx.input.stored();
    for (const Item& item : items) {
      const std::string_view literal = literal_of(item);
      if (static_cast<unsigned char>(literal[0]) == next && begins_at(stored, token, literal)) {
        return match_literal(ctx, literal) ? &item : nullptr;
      }
    }
    return nullptr;
  }
  for (const Item& item : items) {
    if (match_literal(ctx, literal_of(item))) return &item;
  }
  return nullptr;
}

}  // namespace

// These rules hand on the result of the alternative that matches as it lies: they need an
// activation of their own but no slots.

bool Grammar::choose(std::span<const Choice> choices, int& target) {
  const Activation activation(s_.engine);
  const Choice* c = first_matching(s_.engine, choices);
  if (c != nullptr) target = c->value;
  return c != nullptr;
}

bool Grammar::first_literal(std::span<const std::string_view> literals) {
  const Activation activation(s_.engine);
  return first_matching(s_.engine, literals) != nullptr;
}

bool Grammar::alternative(Rule rule, Position start, std::size_t mark) {
  if ((this->*rule)()) return true;
  s_.engine.values.release_to(mark);
  s_.engine.input.seek_pos(start);
  return false;
}

bool Grammar::first_rule(std::span<const Rule> rules) {
  const Activation activation(s_.engine);
  const Position start = s_.engine.input.tell_pos();
  const std::size_t mark = s_.engine.values.mark();
  for (const Rule rule : rules) {
    if (alternative(rule, start, mark)) return true;
  }
  return false;
}

bool Grammar::first_rule(std::span<const StartingRule> rules, const StartTable& starts) {
  const Activation activation(s_.engine);
  const Position start = s_.engine.input.tell_pos();
  const std::size_t mark = s_.engine.values.mark();
  // A rule passed over would have opened a few activations before failing.
  constexpr int kSkippedDepth = 8;
  const int next = s_.engine.may_shortcut(kSkippedDepth) ? next_token_byte(s_.engine) : kAnyByte;
  const std::uint32_t every =
      rules.size() == 32 ? ~std::uint32_t{0} : (std::uint32_t{1} << rules.size()) - 1;
  const std::uint32_t candidates =
      next == kAnyByte ? every : starts[static_cast<std::size_t>(next)];
  for (std::uint32_t left = candidates; left != 0; left &= left - 1) {
    if (alternative(rules[static_cast<std::size_t>(std::countr_zero(left))].rule, start, mark)) {
      return true;
    }
  }
  return false;
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
