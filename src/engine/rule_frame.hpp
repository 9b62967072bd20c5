#pragma once

#include <string>
#include <string_view>

#include "engine/deep_stack.hpp"
#include "engine/fatal_stop.hpp"
#include "engine/terminals.hpp"
#include "text/format.hpp"
#include "text/messages.hpp"

namespace bivox {

// The named terminals, as elements of an alternative.
struct EmptyTerminal {};
struct QuotedTextTerminal {};
struct RestOfLineTerminal {};
struct NotationMark {
  int naming;
  int expected;
};
inline constexpr EmptyTerminal empty{};
inline constexpr QuotedTextTerminal quoted_text{};
inline constexpr RestOfLineTerminal rest_of_line{};

inline constexpr std::string_view NL = "\n";

// A rule activation's count against the nesting limit: what a rule that only hands on the
// result of the first alternative that matches needs of a frame. Going deeper than the
// limit (or, where the machine stack is checked, than it holds) is a fatal stop.
class Activation {
 public:
  explicit Activation(ParseContext& ctx) : ctx_(ctx) {
    if (++ctx_.depth > ParseContext::kMaxDepth) {
      throw FatalStop(format(msg::kNestingTooDeep, ParseContext::kMaxDepth));
    }
    if constexpr (kMachineStackChecked) {
      if (ctx_.depth > kStackCheckFloor && ctx_.depth % kStackCheckStep == 1 &&
          machine_stack_low()) {
        throw FatalStop(format(msg::kNestingTooDeep, ctx_.depth - 1));
      }
    }
  }
  ~Activation() { --ctx_.depth; }
  Activation(const Activation&) = delete;
  Activation& operator=(const Activation&) = delete;

 private:
  ParseContext& ctx_;
};

// One activation of a rule: its start position and the slots $1..$6 (no alternative of the
// grammar has more elements). The slots are the texts the frame holds on the value stack.
//
//   RuleFrame f(*this);
//   if (f.seq("%", &Grammar::number)) return f.yield(NL, f[1], f[2]);
//   return f.fail();
//
// `seq` tries one alternative: each element in order, popping its text into the next
// slot; when an element does not match, the input returns to the rule's start position
// and `seq` gives false. Side effects written between `seq` and `yield` run after all
// elements matched and before the result is built, and are never undone.
//
// An alternative made of the first elements of the one before it, which run no action,
// is `seq_prefix`: where they all matched there, it takes their texts as they lie.
template <class Grammar>
class RuleFrame {
 public:
  using Rule = bool (Grammar::*)();
  static constexpr int kSlots = 6;

  explicit RuleFrame(Grammar& grammar)
      : grammar_(grammar),
        ctx_(grammar.context()),
        activation_(ctx_),
        start_(ctx_.input.tell_pos()),
        mark_(ctx_.values.mark()) {}
  ~RuleFrame() {
    if (holding_) ctx_.values.release_to(mark_);
  }
  RuleFrame(const RuleFrame&) = delete;
  RuleFrame& operator=(const RuleFrame&) = delete;

  template <class... Elements>
  bool seq(const Elements&... elements) {
    static_assert(sizeof...(Elements) <= kSlots, "an alternative has at most six elements");
    ctx_.values.release_to(mark_);
    holding_ = true;
    if ((element(elements) && ...)) return true;
    // The texts of the elements that matched stay held, for an alternative that begins
    // with the same elements.
    matched_ = ctx_.values.mark() - mark_;
    matched_end_ = ctx_.input.tell_pos();
    ctx_.input.seek_pos(start_);
    return false;
  }

  // The alternative made of the elements given, which are the first elements of the
  // alternative `seq` just tried and run no action. Where that one matched all of them and
  // the data goes on after them, reading them again would give the same texts and leave
  // nothing else behind, so their texts are taken as they lie. Elsewhere (the fast paths
  // off, or the end of the data, where every terminal's spacing skip is traced) they are
  // read again.
  template <class... Elements>
  bool seq_prefix(const Elements&... elements) {
    if (matched_ == sizeof...(Elements)) {
      ctx_.input.seek_pos(matched_end_);
      if (next_token_byte(ctx_) != kAnyByte) return true;
      ctx_.input.seek_pos(start_);
    }
    return seq(elements...);
  }

  // $k
  std::string_view operator[](int k) const {
    return ctx_.values.held(mark_ + static_cast<std::size_t>(k) - 1);
  }

  // The result: the pieces joined in order.
  template <class... Pieces>
  bool yield(const Pieces&... pieces) {
    ctx_.values.push_joined(mark_, pieces...);
    holding_ = false;
    return true;
  }
  // $k, moved out of the frame.
  Text moved(int k) { return ctx_.values.take_held(mark_ + static_cast<std::size_t>(k) - 1); }
  // The result: the text itself.
  bool yield_moved(Text&& text) {
    ctx_.values.push_moved_at(mark_, std::move(text));
    holding_ = false;
    return true;
  }
  // The result $k, handed on unchanged.
  bool pass(int k) {
    ctx_.values.push_held(mark_, mark_ + static_cast<std::size_t>(k) - 1);
    holding_ = false;
    return true;
  }
  // No alternative matched: back to the start position.
  bool fail() {
    ctx_.input.seek_pos(start_);
    return false;
  }

 private:
  bool take(bool matched) {
    if (matched) ctx_.values.hold_top();
    return matched;
  }
  bool element(Rule rule) { return take((grammar_.*rule)()); }
  bool element(std::string_view literal) { return take(match_literal(ctx_, literal)); }
  template <std::size_t N>
  bool element(const char (&literal)[N]) {
    return element(std::string_view(literal, N - 1));
  }
  bool element(const ClassPattern& pattern) { return take(match_class(ctx_, pattern)); }
  bool element(EmptyTerminal) { return take(match_empty(ctx_)); }
  bool element(QuotedTextTerminal) { return take(match_quoted_text(ctx_)); }
  bool element(RestOfLineTerminal) { return take(match_rest_of_line(ctx_)); }
  bool element(NotationMark mark) {
    return take(match_notation_mark(ctx_, mark.naming, mark.expected));
  }

  Grammar& grammar_;
  ParseContext& ctx_;
  Activation activation_;
  Position start_;
  std::size_t mark_;
  bool holding_ = false;
  // Of the alternative that failed last: how many of its first elements matched, and
  // where the input stood after them.
  std::size_t matched_ = 0;
  Position matched_end_ = 0;
};

}  // namespace bivox
