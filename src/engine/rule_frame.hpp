#pragma once

#include <array>
#include <string>
#include <string_view>

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

// One activation of a rule: its start position and the slots $$ and $1..$10.
//
//   RuleFrame f(*this);
//   if (f.seq("%", &Grammar::number)) return f.yield(NL, f[1], f[2]);
//   return f.fail();
//
// `seq` tries one alternative: each element in order, popping its text into the next
// slot; when an element does not match, the input returns to the rule's start position
// and `seq` gives false. Side effects written between `seq` and `yield` run after all
// elements matched and before the result is built, and are never undone.
template <class Grammar>
class RuleFrame {
 public:
  using Rule = bool (Grammar::*)();

  explicit RuleFrame(Grammar& grammar)
      : grammar_(grammar), ctx_(grammar.context()), start_(ctx_.input.tell_pos()) {
    if (++ctx_.depth > ParseContext::kMaxDepth) {
      throw FatalStop(format(msg::kNestingTooDeep, ParseContext::kMaxDepth));
    }
  }
  ~RuleFrame() {
    ctx_.release(held_);
    --ctx_.depth;
  }
  RuleFrame(const RuleFrame&) = delete;
  RuleFrame& operator=(const RuleFrame&) = delete;

  template <class... Elements>
  bool seq(const Elements&... elements) {
    int slot = 0;
    if ((element(elements, slot) && ...)) return true;
    ctx_.input.seek_pos(start_);
    return false;
  }

  // $k
  const std::string& operator[](int k) const { return slots_[static_cast<std::size_t>(k)]; }

  // The result: the pieces joined in order.
  template <class... Pieces>
  bool yield(const Pieces&... pieces) {
    std::string joined;
    joined.reserve((std::string_view(pieces).size() + ...));
    (joined.append(std::string_view(pieces)), ...);
    ctx_.values.push(std::move(joined));
    return true;
  }
  // The result $k, handed on unchanged.
  bool pass(int k) {
    ctx_.values.push(std::move(slots_[static_cast<std::size_t>(k)]));
    return true;
  }
  // No alternative matched: back to the start position.
  bool fail() {
    ctx_.input.seek_pos(start_);
    return false;
  }

  Position start() const { return start_; }

  // Counts text that the activation keeps outside its slots against the bound on text held
  // by all activations in progress; released when the activation ends.
  void hold(std::size_t bytes) {
    ctx_.hold(bytes);
    held_ += bytes;
  }

 private:
  bool take(bool matched, int& slot) {
    if (matched) {
      std::string& text = slots_[static_cast<std::size_t>(++slot)];
      ctx_.values.pop_into(text);
      hold(text.size());
    }
    return matched;
  }
  bool element(Rule rule, int& slot) { return take((grammar_.*rule)(), slot); }
  bool element(std::string_view literal, int& slot) {
    return take(match_literal(ctx_, literal), slot);
  }
  bool element(const ClassPattern& pattern, int& slot) {
    return take(match_class(ctx_, pattern), slot);
  }
  bool element(EmptyTerminal, int& slot) { return take(match_empty(ctx_), slot); }
  bool element(QuotedTextTerminal, int& slot) { return take(match_quoted_text(ctx_), slot); }
  bool element(RestOfLineTerminal, int& slot) { return take(match_rest_of_line(ctx_), slot); }
  bool element(NotationMark mark, int& slot) {
    return take(match_notation_mark(ctx_, mark.naming, mark.expected), slot);
  }

  Grammar& grammar_;
  ParseContext& ctx_;
  Position start_;
  std::size_t held_ = 0;  // bytes counted by hold(), including every text taken into a slot
  std::array<std::string, 11> slots_;
};

}  // namespace bivox
