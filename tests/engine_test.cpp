// The engine: value stack limits, the text-mode input source, the spacing skip and the
// terminals.
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

TEST(InputSource, ReadsLikeATextModeFile) {
  InputSource in;
  in.open("a\r\n");
  EXPECT_EQ(in.read_char(), 'a');
  EXPECT_EQ(in.read_char(), '\n');
  EXPECT_EQ(in.tell_pos(), 3);
  in.step_back();
  EXPECT_EQ(in.tell_pos(), 1);
  EXPECT_EQ(in.read_char(), '\n');
  EXPECT_EQ(in.read_char(), InputSource::kEnd);
  in.step_back();
  EXPECT_EQ(in.read_char(), InputSource::kEnd);
  in.seek_end();
  EXPECT_EQ(in.tell_pos(), 3);
}

TEST(InputSource, LoneCarriageReturnAndCtrlZ) {
  InputSource in;
  in.open("x\ry\x1azz");
  EXPECT_EQ(in.read_char(), 'x');
  EXPECT_EQ(in.read_char(), '\r');
  const Position p = in.tell_pos();
  EXPECT_EQ(in.read_char(), 'y');
  EXPECT_EQ(in.read_char(), InputSource::kEnd);
  in.seek_pos(p);
  EXPECT_EQ(in.read_char(), 'y');
  in.seek_end();
  EXPECT_EQ(in.tell_pos(), 6);
}

struct SpacingCase {
  std::string input;
  Position after;  // where the skip stops
};

class SpacingSkip : public ::testing::TestWithParam<SpacingCase> {};

TEST_P(SpacingSkip, StopsAtTheFirstToken) {
  ParseContext ctx;
  ctx.input.open(GetParam().input);
  skip_spacing(ctx);
  EXPECT_EQ(ctx.input.tell_pos(), GetParam().after) << GetParam().input;
}

INSTANTIATE_TEST_SUITE_P(Cases, SpacingSkip,
                         ::testing::Values(SpacingCase{" \t\r\n x", 5}, SpacingCase{"// text", 0},
                                           SpacingCase{"//- text\nx", 9}, SpacingCase{"/x", 0},
                                           SpacingCase{"!!comment!more!!c", 16},
                                           SpacingCase{"!x!c", 3}, SpacingCase{"!never closed", 13},
                                           SpacingCase{"!!a!!!b", 7}, SpacingCase{"/**/x", 4},
                                           SpacingCase{"/* a **/x", 8}, SpacingCase{"\x82\xa0x", 2},
                                           SpacingCase{"\xb1x", 2}, SpacingCase{"\xffx", 0},
                                           SpacingCase{"/* open", 7},
                                           SpacingCase{std::string(1023, ' ') + "x", 1023}));

TEST(SpacingSkipLimit, The1024thCollectedCharacterStops) {
  ParseContext ctx;
  ctx.input.open(std::string(1024, ' ') + "x");
  try {
    skip_spacing(ctx);
    FAIL();
  } catch (const FatalStop& stop) {
    EXPECT_EQ(stop.message(), msg::kSpacingFull);
  }
}

TEST(SpacingSkipLimit, BangCommentsAndDoubleByteCharactersDoNotCount) {
  ParseContext ctx;
  ctx.input.open("!" + std::string(2000, ' ') + "!" + std::string(1000, '\x82') + "x");
  skip_spacing(ctx);
  EXPECT_EQ(ctx.input.read_char(), 'x');
}

TEST(SpacingSkipTrace, UnclosedBlockCommentIsTraced) {
  ParseContext ctx;
  std::string trace;
  ctx.trace = [&](std::string_view line) { trace += line; };
  ctx.input.open("/* open");
  skip_spacing(ctx);
  EXPECT_EQ(trace, msg::kTraceUnclosedComment);
}

// Runs one terminal; gives its text (or "<fail>") and where the input stands after it.
template <class Terminal>
std::pair<std::string, Position> run_terminal(std::string input, Terminal terminal) {
  ParseContext ctx;
  ctx.input.open(std::move(input));
  if (!terminal(ctx)) return {"<fail>", ctx.input.tell_pos()};
  std::string text;
  ctx.values.pop_into(text);
  return {text, ctx.input.tell_pos()};
}

TEST(Terminals, LiteralFailsBackBeforeItsSpacing) {
  auto lit = [](std::string_view l) {
    return [l](ParseContext& c) { return match_literal(c, l); };
  };
  EXPECT_EQ(run_terminal("  ab", lit("ac")), std::make_pair(std::string("<fail>"), Position{0}));
  EXPECT_EQ(run_terminal("  ab", lit("ab")), std::make_pair(std::string("ab"), Position{4}));
  EXPECT_EQ(run_terminal("\x82\xa0"
                         "a",
                         lit("a")),
            std::make_pair(std::string("a"), Position{3}));
}

TEST(Terminals, ClassPatternsAreGreedyAndNeverGiveBack) {
  constexpr ClassPattern digits{"[0-9]+"};
  constexpr ClassPattern name{"[a-zA-Z_-_][a-zA-Z0-9_-_]+"};
  auto cls = [](const ClassPattern& p) {
    return [&p](ParseContext& c) { return match_class(c, p); };
  };
  EXPECT_EQ(run_terminal(" 123x", cls(digits)), std::make_pair(std::string("123"), Position{4}));
  EXPECT_EQ(run_terminal("x", cls(digits)).first, "<fail>");
  EXPECT_EQ(run_terminal("a ", cls(name)).first, "<fail>");
  EXPECT_EQ(run_terminal("ab1", cls(name)).first, "ab1");
  EXPECT_EQ(run_terminal(std::string(300, '7'), cls(digits)).first, std::string(300, '7'));
}

TEST(Terminals, QuotedTextAndRestOfLine) {
  EXPECT_EQ(run_terminal(" \"a\r\nb\"x", match_quoted_text),
            std::make_pair(std::string("\"a\nb\""), Position{7}));
  EXPECT_EQ(run_terminal(" \"open", match_quoted_text),
            std::make_pair(std::string("<fail>"), Position{0}));
  EXPECT_EQ(run_terminal("  text\r\nx", match_rest_of_line),
            std::make_pair(std::string("  text"), Position{8}));
  EXPECT_EQ(run_terminal("last", match_rest_of_line),
            std::make_pair(std::string("last"), Position{4}));
  EXPECT_EQ(run_terminal(" x", match_empty), std::make_pair(std::string("---OK---"), Position{0}));
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
