// The engine over its edges: the text-mode reader under seeks and step-backs, the spacing
// skip and its record's limit over every kind of spacing, the terminals on awkward input,
// and the value stack's limit and joins.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "engine/fatal_stop.hpp"
#include "engine/terminals.hpp"
#include "support.hpp"
#include "text/messages.hpp"

namespace bivox {
namespace {

using test::repeat;

// Every character the reader delivers, each with the position after it.
std::vector<std::pair<int, Position>> read_all(InputSource& in) {
  std::vector<std::pair<int, Position>> out;
  for (;;) {
    const int c = in.read_char();
    out.emplace_back(c, in.tell_pos());
    if (c == InputSource::kEnd) return out;
  }
}

struct ReaderCase {
  std::string bytes;
  std::string delivered;  // the characters before the end marker
  Position data_end;      // the position once the end marker is met
};

TEST(TextModeReader, DeliversAndRepositionsLikeAStoredFile) {
  const ReaderCase cases[] = {
      {"a\r\n", "a\n", 3},         {"\r\r\nx", "\r\nx", 4},
      {"\r\n\r\n", "\n\n", 4},     {"x\r", "x\r", 2},
      {"a\r\x1a\n", "a\r", 2},     {"\x1a", "", 0},
      {"ab\x1a\x1a", "ab", 2},     {std::string("a\0b", 3), std::string("a\0b", 3), 3},
      {"\xff\xfe", "\xff\xfe", 2},
  };
  for (const ReaderCase& c : cases) {
    InputSource in;
    in.open(c.bytes);
    const auto reads = read_all(in);
    std::string delivered;
    for (std::size_t i = 0; i + 1 < reads.size(); ++i)
      delivered += static_cast<char>(reads[i].first);
    EXPECT_EQ(delivered, c.delivered) << c.bytes;
    EXPECT_EQ(reads.back().second, c.data_end) << c.bytes;
    // From every position taken, a seek re-delivers the same rest.
    Position before = 0;
    for (std::size_t i = 0; i < reads.size(); ++i) {
      in.seek_pos(before);
      const auto again = read_all(in);
      EXPECT_TRUE(std::equal(again.begin(), again.end(), reads.begin() + static_cast<long>(i)))
          << c.bytes << " from " << before;
      // A step back after any read delivers that character again, at the same position.
      in.seek_pos(before);
      in.read_char();
      in.step_back();
      EXPECT_EQ(in.tell_pos(), reads[i].first == InputSource::kEnd ? reads[i].second : before);
      EXPECT_EQ(in.read_char(), reads[i].first) << c.bytes << " at " << before;
      before = reads[i].second;
    }
    in.seek_end();
    EXPECT_EQ(in.tell_pos(), static_cast<Position>(c.bytes.size())) << c.bytes;
  }
}

struct SkipCase {
  std::string input;
  Position after;  // where the skip leaves the input
};

// Bang comments: only a run of as many "!" as opened one closes it, a run reaching the end
// of the data leaves nothing unread, CR LF may follow the opening run. Line comments open
// with "//-" and may end at the end of the data; block comments may stay unclosed, even
// after a "*". Every byte 0x80..0xFE leads and swallows the byte after it, a line feed too;
// 0xFF is no spacing. The data ends at Ctrl-Z; lone carriage returns are spacing.
TEST(SpacingSkip, StopsWhereTheFirstTokenBegins) {
  const SkipCase cases[] = {
      {"!!a!b!!c", 7},   {"!!!x!!c", 7},  {"!a!!!a!b", 7},
      {"!!!!", 4},       {"!\r\nx!y", 5}, {"!x!\r\ny", 5},
      {"//-x", 4},       {"//-\r\nx", 5}, {"//x", 0},
      {"/ /", 0},        {"/", 0},        {"//", 0},
      {"/*x*", 4},       {"/***/x", 5},   {"/*a*/ //-b\n !c! x", 16},
      {"\x82\r\nx", 3},  {"\x80x", 2},    {"\xfe\xfe\xff", 2},
      {"\xa0", 1},       {"\x1a  ", 0},   {" \x1a x", 1},
      {"\t\r \n\rx", 5},
  };
  for (const SkipCase& c : cases) {
    ParseContext ctx;
    ctx.input.open(c.input);
    skip_spacing(ctx);
    EXPECT_EQ(ctx.input.tell_pos(), c.after) << c.input;
  }
}

struct RecordCase {
  const char* label;
  std::string input;
  bool stops;  // whether the 1024th collected character is met
};

TEST(SpacingSkip, RecordHolds1023CharactersOfEveryKind) {
  const std::string a = test::sjis("あ");
  const RecordCase cases[] = {
      {"CR LF pairs count once", repeat("\r\n", 1023) + "x", false},
      {"1024 CR LF pairs", repeat("\r\n", 1024) + "x", true},
      {"line comment with its //- and line feed", "//-" + repeat("a", 1019) + "\nx", false},
      {"line comment one longer", "//-" + repeat("a", 1020) + "\nx", true},
      {"block comment with its delimiters", "/*" + repeat("a", 1019) + "*/x", false},
      {"block comment one longer", "/*" + repeat("a", 1020) + "*/x", true},
      {"unclosed block comment", "/*" + repeat("a", 1021), false},
      {"unclosed block comment one longer", "/*" + repeat("a", 1022), true},
      {"double-byte characters and bang comments neither count nor restart the count",
       repeat(" ", 600) + a + "!c!" + repeat(" ", 423) + "x", false},
      {"one space more", repeat(" ", 600) + a + "!c!" + repeat(" ", 424) + "x", true},
  };
  for (const RecordCase& c : cases) {
    ParseContext ctx;
    ctx.input.open(c.input);
    std::string stopped;
    try {
      skip_spacing(ctx);
    } catch (const FatalStop& stop) {
      stopped = stop.message();
    }
    EXPECT_EQ(stopped, c.stops ? msg::kSpacingFull : "") << c.label;
  }
}

// One skip serves every terminal at the same place, until another input is opened.
TEST(SpacingSkip, RememberedSkipIsForgottenWithItsInput) {
  ParseContext ctx;
  ctx.input.open("  x");
  EXPECT_EQ(next_token_byte(ctx), 'x');
  ctx.input.open("y  ");
  EXPECT_EQ(next_token_byte(ctx), 'y');
  skip_spacing(ctx);
  EXPECT_EQ(ctx.input.tell_pos(), 0);
}

using Terminal = std::function<bool(ParseContext&)>;

struct TerminalCase {
  const char* label;
  std::string input;
  Terminal terminal;
  std::string text;  // "<fail>" when it must not match
  Position after;
};

Terminal pattern(const ClassPattern& p) {
  return [&p](ParseContext& c) { return match_class(c, p); };
}
Terminal mark(int naming, int expected) {
  return [=](ParseContext& c) { return match_notation_mark(c, naming, expected); };
}

constexpr ClassPattern kLongName{"[a-zA-Z_-_][a-zA-Z0-9_-_]+"};

TEST(Terminals, MatchOrLeaveTheInputWhereItWas) {
  const TerminalCase cases[] = {
      {"no spacing between a literal's bytes", "a b",
       [](ParseContext& c) { return match_literal(c, "ab"); }, "<fail>", 0},
      {"high bytes lie below every range", "a\xe9", pattern(kLongName), "<fail>", 0},
      {"the empty quoted text", "\"\"x", match_quoted_text, "\"\"", 2},
      {"quoted text keeps double-byte characters", "\"\x82\xa0\"", match_quoted_text,
       "\"\x82\xa0\"", 4},
      {"quoted text cut by Ctrl-Z", "\"a\x1a\"", match_quoted_text, "<fail>", 0},
      {"rest of an empty line", "\nx", match_rest_of_line, "", 1},
      {"lone carriage returns stay", "a\rb\r\nx", match_rest_of_line, "a\rb", 5},
      {"rest of line skips no spacing", " //-x\ny", match_rest_of_line, " //-x", 6},
      {"rest of line stops at Ctrl-Z", "a\x1a\nb", match_rest_of_line, "a", 1},
      {"the notation mark asked for", " x", mark(1, 1), "(x1)", 0},
      {"a quoted text longer than 127 bytes stays whole", "\"" + std::string(500, 'q') + "\"",
       match_quoted_text, "\"" + std::string(500, 'q') + "\"", 502},
      {"a line longer than 2047 bytes stays whole", std::string(5000, 'r') + "\n",
       match_rest_of_line, std::string(5000, 'r'), 5001},
      {"empty skips nothing", "//-x\n", match_empty, "---OK---", 0},
  };
  for (const TerminalCase& c : cases) {
    ParseContext ctx;
    ctx.input.open(c.input);
    std::string text = "<fail>";
    const bool matched = c.terminal(ctx);
    EXPECT_EQ(ctx.values.count(), matched ? 1 : 0) << c.label;
    if (matched) ctx.values.pop_into(text);
    EXPECT_EQ(text, c.text) << c.label;
    EXPECT_EQ(ctx.input.tell_pos(), c.after) << c.label;
  }
}

// 9,999 counted values under 20,000 held texts: held texts leave the count, and every way of
// pushing stops at the 10,000th value.
ValueStack full_stack() {
  ValueStack stack;
  for (int i = 0; i < 20000; ++i) {
    stack.push("x");
    stack.hold_top();
  }
  for (int i = 0; i < 9999; ++i) stack.push("y");
  return stack;
}

TEST(ValueStack, HoldsAtMost9999CountedValues) {
  EXPECT_EQ(full_stack().count(), 9999);
  const std::function<void(ValueStack&)> pushes[] = {
      [](ValueStack& s) { s.push(""); },
      [](ValueStack& s) { s.push_joined(s.mark(), "a", "b"); },
  };
  for (const auto& push : pushes) {
    ValueStack stack = full_stack();
    try {
      push(stack);
      ADD_FAILURE() << "the 10,000th value must stop";
    } catch (const FatalStop& stop) {
      EXPECT_EQ(stop.message(), msg::kStackFull);
    }
  }
}

// Frames hold their texts in place on the stack: a held text is off the count but stays
// readable, and a result replaces every place from the frame's mark, built aside when a
// later piece reads the result's place.
TEST(ValueStack, HeldTextsStayReadableUntilAResultTakesTheirPlaces) {
  ValueStack stack;
  stack.push("x");
  const std::size_t mark = stack.mark();
  for (const char* text : {"one", "two"}) {
    stack.push(text);
    stack.hold_top();
  }
  EXPECT_EQ(stack.count(), 1);
  const std::string_view one = stack.held(mark);
  stack.push_joined(mark, "\n", one, std::string_view(one).substr(1), stack.held(mark + 1));
  EXPECT_EQ(stack.top(), "\nonenetwo");
  EXPECT_EQ(stack.count(), 2);
  // A copy of a held text pushed while the stack grows (short texts live inside the places).
  for (int i = 0; i < 100; ++i) stack.push(stack.held(mark));
  EXPECT_EQ(stack.top(), "\nonenetwo");
}

// Long results are built around their long part where it lies, a prefix going into the room
// at its front: the texts must come out the same whatever room there is, also where a piece
// views the text it is joined to.
TEST(ValueStack, LongTextsJoinAndAppendAsShortOnes) {
  const std::string body(1000, 'b');
  ValueStack stack;
  const std::size_t mark = stack.mark();
  for (const std::string_view text : {std::string_view("("), std::string_view(body)}) {
    stack.push(text);
    stack.hold_top();
  }
  stack.push_joined(mark, stack.held(mark), stack.held(mark + 1), ")8");
  EXPECT_EQ(stack.top(), "(" + body + ")8");
  // Level after level, as nested groups and the loops around them build their texts.
  std::string expected(stack.top());
  for (int level = 0; level < 200; ++level) {
    Text loop;
    loop.append("d ");
    stack.pop_append(loop);
    loop.append(" )");
    stack.push_moved(std::move(loop));
    const std::size_t at = stack.mark() - 1;
    stack.hold_top();
    // Every third level a piece views the long part itself.
    const std::string_view tail = level % 3 == 0 ? stack.held(at).substr(0, 3) : "8";
    const std::string loop_text = "d " + expected + " )";
    expected = "(" + loop_text + (level % 3 == 0 ? loop_text.substr(0, 3) : "8");
    stack.push_joined(at, "(", stack.held(at), tail);
    ASSERT_EQ(stack.top(), expected) << level;
  }
  Text text(std::string(300, 'x'));
  text.prepend(text.view().substr(0, 5));
  text.append(text.view().substr(0, 7));
  text.insert(1, "y");
  EXPECT_EQ(std::move(text).take(), "xy" + std::string(311, 'x'));
}

}  // namespace
}  // namespace bivox
