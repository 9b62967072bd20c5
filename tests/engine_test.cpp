// The value stack's limit and joins, and the trace of an unclosed comment.
#include <gtest/gtest.h>

#include "engine/fatal_stop.hpp"
#include "engine/terminals.hpp"
#include "text/messages.hpp"

namespace bivox {
namespace {

TEST(ValueStack, HoldsAtMost9999Values) {
  ValueStack stack;
  for (int i = 0; i < 9999; ++i) stack.push("x");
  EXPECT_EQ(stack.count(), 9999);
  try {
    stack.push("");
    FAIL() << "the 10,000th value must stop";
  } catch (const FatalStop& stop) {
    EXPECT_EQ(stop.message(), msg::kStackFull);
  }
}

TEST(ValueStack, JoinPassesThroughTheStack) {
  ValueStack stack;
  std::string slot = "old";
  stack.concat_into(slot, {"a", "", "bc", "", "d", "e", "f", "g", "h"});
  EXPECT_EQ(slot, "abcdefgh");
  EXPECT_EQ(stack.count(), 0);
  stack.concat_into(slot, {"", ""});
  EXPECT_EQ(slot, "");
  for (int i = 0; i < 9999; ++i) stack.push("x");
  EXPECT_THROW(stack.concat_into(slot, {"a", "b"}), FatalStop);
}

TEST(SpacingSkipTrace, UnclosedBlockCommentIsTraced) {
  ParseContext ctx;
  std::string trace;
  ctx.trace = [&](std::string_view line) { trace += line; };
  ctx.input.open("/* open");
  skip_spacing(ctx);
  EXPECT_EQ(trace, msg::kTraceUnclosedComment);
}

// Frames hold their texts in place on the stack: a held text is off the count but stays
// readable, and a result replaces every place from the frame's mark.
TEST(ValueStack, HeldTextsLeaveTheCountAndResultsTakeTheirPlaces) {
  ValueStack stack;
  stack.push("x");
  const std::size_t mark = stack.mark();
  stack.push("ab");
  stack.hold_top();
  stack.push("cd");
  stack.hold_top();
  EXPECT_EQ(stack.count(), 1);
  const std::string& first = stack.held(mark);
  const std::string& second = stack.held(mark + 1);
  EXPECT_EQ(first + second, "abcd");
  stack.push_joined(mark, first, "-", second);  // built in place after $1
  EXPECT_EQ(stack.count(), 2);
  EXPECT_EQ(stack.top(), "ab-cd");
}

TEST(ValueStack, JoinsThatReadTheResultPlaceLaterAreBuiltAside) {
  ValueStack stack;
  const std::size_t mark = stack.mark();
  stack.push("one");
  stack.hold_top();
  stack.push("two");
  stack.hold_top();
  const std::string& one = stack.held(mark);
  const std::string& two = stack.held(mark + 1);
  stack.push_joined(mark, "\n", one, std::string_view(one).substr(1), two);
  EXPECT_EQ(stack.top(), "\nonenetwo");
  std::string out;
  stack.pop_append(out);
  EXPECT_EQ(out, "\nonenetwo");
  EXPECT_EQ(stack.count(), 0);
}

TEST(ValueStack, HeldTextsDoNotCountTowardsTheLimit) {
  ValueStack stack;
  for (int i = 0; i < 20000; ++i) {
    stack.push("x");
    stack.hold_top();
  }
  for (int i = 0; i < 9999; ++i) stack.push("y");
  EXPECT_EQ(stack.count(), 9999);
  EXPECT_THROW(stack.push_joined(stack.mark(), "a", "b"), FatalStop);
}

// One skip serves every terminal at the same place, but an unclosed comment is traced by
// every skip, so that the trace is the same with and without the fast paths.
TEST(SpacingSkipTrace, UnclosedCommentIsTracedByEverySkip) {
  for (const bool fast : {true, false}) {
    ParseContext ctx;
    ctx.fast_paths = fast;
    int traced = 0;
    ctx.trace = [&](std::string_view) { ++traced; };
    ctx.input.open("  /* open");
    EXPECT_EQ(next_token_byte(ctx), kAnyByte);
    EXPECT_EQ(ctx.input.tell_pos(), 0);
    skip_spacing(ctx);
    ctx.input.seek_pos(0);
    skip_spacing(ctx);
    EXPECT_EQ(traced, 2) << fast;
  }
}

TEST(SpacingSkip, RememberedSkipIsForgottenWithItsInput) {
  ParseContext ctx;
  ctx.input.open("  x");
  EXPECT_EQ(next_token_byte(ctx), 'x');
  ctx.input.open("y  ");
  EXPECT_EQ(next_token_byte(ctx), 'y');
  skip_spacing(ctx);
  EXPECT_EQ(ctx.input.tell_pos(), 0);
}

}  // namespace
}  // namespace bivox
