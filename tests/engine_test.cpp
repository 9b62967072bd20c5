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

}  // namespace
}  // namespace bivox
