// The engine and the pass runner over their edges: the text-mode reader under seeks and
// step-backs, the spacing record's limit over every kind of spacing, the terminals on
// awkward input, the element loop's buffer limit, the pass sequences of the three jobs and
// the summary lines.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "engine/fatal_stop.hpp"
#include "engine/terminals.hpp"
#include "grammar/grammar.hpp"
#include "support.hpp"
#include "text/encoding.hpp"
#include "text/messages.hpp"

namespace bivox {
namespace {

using test::run_score;
using test::sjis;

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

TEST(SpacingSkipEdges, StopsWhereTheFirstTokenBegins) {
  const SkipCase cases[] = {
      {"!!a!b!!c", 7},  // a single "!" inside an order-2 comment is comment text
      {"!!!x!!c", 7},   // a shorter run never closes; the comment runs to the end
      {"!a!!!a!b", 7},  // a longer run is comment text too
      {"!!!!", 4},      // a lone run reaching the end
      {"!\r\nx!y", 5},  // the character after the opening run may be a CR LF
      {"!x!\r\ny", 5},  // the skip goes on after a closed comment
      {"//-x", 4},      // a line comment may end at the end of the data
      {"//-\r\nx", 5},  //
      {"//x", 0},       //
      {"/ /", 0},       //
      {"/", 0},         //
      {"//", 0},        //
      {"/*x*", 4},      // unclosed after a "*"
      {"/***/x", 5},    //
      {"/*a*/ //-b\n !c! x", 16},
      {"\x82\r\nx", 3},     // a lead byte swallows the line feed after it
      {"\x80x", 2},         // every byte 0x80..0xFE leads, 0x80 included
      {"\xfe\xfe\xff", 2},  // 0xFF is no spacing
      {"\xa0", 1},          // a lead byte at the end of the data
      {"\x1a  ", 0},        // the data ends at Ctrl-Z
      {" \x1a x", 1},       //
      {"\t\r \n\rx", 5},    // lone carriage returns are spacing too
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

std::string times(int n, std::string_view piece) {
  std::string out;
  for (int i = 0; i < n; ++i) out += piece;
  return out;
}

TEST(SpacingSkipEdges, RecordHolds1023CharactersOfEveryKind) {
  const std::string a = sjis("あ");
  const RecordCase cases[] = {
      {"CR LF pairs count once", times(1023, "\r\n") + "x", false},
      {"1024 CR LF pairs", times(1024, "\r\n") + "x", true},
      {"line comment with its //- and line feed", "//-" + times(1019, "a") + "\nx", false},
      {"line comment one longer", "//-" + times(1020, "a") + "\nx", true},
      {"block comment with its delimiters", "/*" + times(1019, "a") + "*/x", false},
      {"block comment one longer", "/*" + times(1020, "a") + "*/x", true},
      {"unclosed block comment", "/*" + times(1021, "a"), false},
      {"unclosed block comment one longer", "/*" + times(1022, "a"), true},
      {"a double-byte character does not restart the count",
       times(600, " ") + a + times(424, " ") + "x", true},
      {"a bang comment does not restart the count", times(600, " ") + "!c!" + times(424, " ") + "x",
       true},
      {"neither counts itself", times(600, " ") + a + "!c!" + times(423, " ") + "x", false},
      {"tabs and spaces mixed", times(512, " \t") + "x", true},
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

struct TerminalCase {
  const char* label;
  std::string input;
  std::function<bool(ParseContext&)> terminal;
  std::string text;  // "<fail>" when it must not match
  Position after;
};

std::function<bool(ParseContext&)> literal(std::string_view l) {
  return [l](ParseContext& c) { return match_literal(c, l); };
}
std::function<bool(ParseContext&)> pattern(const ClassPattern& p) {
  return [&p](ParseContext& c) { return match_class(c, p); };
}
std::function<bool(ParseContext&)> mark(int naming, int expected) {
  return [=](ParseContext& c) { return match_notation_mark(c, naming, expected); };
}

constexpr ClassPattern kDigits{"[0-9]+"};
constexpr ClassPattern kDigit{"[0-9]"};
constexpr ClassPattern kNameChar{"[a-zA-Z0-9_-_]"};
constexpr ClassPattern kLongName{"[a-zA-Z_-_][a-zA-Z0-9_-_]+"};

TEST(TerminalEdges, MatchOrLeaveTheInputWhereItWas) {
  const TerminalCase cases[] = {
      {"no spacing between a literal's bytes", "a b", literal("ab"), "<fail>", 0},
      {"comments before a literal", "//-c\r\n/*d*/!e!ab", literal("ab"), "ab", 16},
      {"a literal after a double-byte character",
       "\x82\xa0"
       "ab",
       literal("ab"), "ab", 4},
      {"a lead byte at the end", "\x82", literal("a"), "<fail>", 0},
      {"a literal at the end of the data", "a", literal("ab"), "<fail>", 0},
      {"a literal cut by Ctrl-Z",
       "a\x1a"
       "b",
       literal("ab"), "<fail>", 0},
      {"digits stop at a blank", "12 3", pattern(kDigits), "12", 2},
      {"one digit takes one", "12", pattern(kDigit), "1", 1},
      {"a single-character range", "_x", pattern(kNameChar), "_", 1},
      {"high bytes lie below every range", "a\xe9", pattern(kLongName), "<fail>", 0},
      {"a class match ends before CR LF", "9\r\n", pattern(kDigits), "9", 1},
      {"a class at the end of the data", "  ", pattern(kDigits), "<fail>", 0},
      {"the empty quoted text", "\"\"x", match_quoted_text, "\"\"", 2},
      {"quoted text keeps double-byte characters", "\"\x82\xa0\"", match_quoted_text,
       "\"\x82\xa0\"", 4},
      {"quoted text keeps comment marks", "\"//-!x\"", match_quoted_text, "\"//-!x\"", 7},
      {"quoted text after a comment", "/*c*/\"a\"", match_quoted_text, "\"a\"", 8},
      {"no quote", " x\"", match_quoted_text, "<fail>", 0},
      {"quoted text cut by Ctrl-Z", "\"a\x1a\"", match_quoted_text, "<fail>", 0},
      {"rest of an empty line", "\nx", match_rest_of_line, "", 1},
      {"rest of nothing", "", match_rest_of_line, "", 0},
      {"lone carriage returns stay", "a\rb\r\nx", match_rest_of_line, "a\rb", 5},
      {"rest of line skips no spacing", " //-x\ny", match_rest_of_line, " //-x", 6},
      {"rest of line stops at Ctrl-Z", "a\x1a\nb", match_rest_of_line, "a", 1},
      {"the notation mark asked for", " x", mark(1, 1), "(x1)", 0},
      {"another notation mark", " x", mark(0, 2), "<fail>", 0},
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

struct LoopCase {
  std::string input;
  std::string text;  // "<fail>" when the rule must not match
  Position after;
};

std::pair<std::string, Position> run_rule(bool (Grammar::*rule)(), const std::string& input) {
  Session session;
  session.engine.input.open(input);
  Grammar grammar(session);
  std::string text = "<fail>";
  if ((grammar.*rule)()) session.engine.values.pop_into(text);
  EXPECT_EQ(session.engine.values.count(), 0) << input;
  return {text, session.engine.input.tell_pos()};
}

TEST(ElementLoop, StopsJustAfterTheLastElement) {
  const LoopCase cases[] = {
      {"", "", 0},
      {"  ~", "", 0},
      {"| | ~", "|\n|\n", 3},  // the spacing after the last element stays unread
      {"|;x\r\n|", "|\n\n;x\n|\n", 6},
      {"| //-c\n", "|\n", 1},
  };
  for (const LoopCase& c : cases) {
    EXPECT_EQ(run_rule(&Grammar::element_loop, c.input), std::make_pair(c.text, c.after))
        << c.input;
  }
  EXPECT_EQ(run_rule(&Grammar::elements, " ~|"),
            std::make_pair(std::string("<fail>"), Position{0}));
  EXPECT_EQ(run_rule(&Grammar::elements, "||"), std::make_pair(std::string("|\n|\n"), Position{2}));
}

TEST(Document, WritesItsElementsAndOneLineFeed) {
  struct Case {
    std::string input;
    bool matched;
    std::string output;
    Position after;
  };
  const Case cases[] = {
      {"|", true, "|\n\n", 1},
      {" ;c", true, "\n;c\n\n", 3},
      {"~|", false, "", 0},
      {"  ", false, "", 0},
  };
  for (const Case& c : cases) {
    Session session;
    std::string trace;
    session.engine.trace = [&](std::string_view line) { trace += line; };
    session.engine.input.open(c.input);
    Grammar grammar(session);
    EXPECT_EQ(grammar.document(), c.matched) << c.input;
    EXPECT_EQ(session.output, c.output) << c.input;
    EXPECT_EQ(trace, c.output) << c.input;
    EXPECT_EQ(session.engine.values.count(), 0) << c.input;
    EXPECT_EQ(session.engine.input.tell_pos(), c.after) << c.input;
  }
}

TEST(PassRunnerPositions, StopAfterTheTrailingSpacingEndAtTheFileLength) {
  struct Case {
    std::string score;
    Position stop;
    Position end;
    std::string output;
  };
  const Case cases[] = {
      {"  ~x", 2, 4, ""},  // nothing recognised: nothing written
      {"| ~x", 2, 4, "|\r\n\r\n"},
      {"| !open bang", 12, 12, "|\r\n\r\n"},
      {"|\r\n/* open", 10, 10, "|\r\n\r\n"},
      {"|\r\n\x1a|", 3, 5, "|\r\n\r\n"},
      {"\x1a|", 0, 2, ""},
  };
  for (const Case& c : cases) {
    const auto run = run_score(Job::syntax, c.score);
    EXPECT_EQ(run.result.stop, c.stop) << c.score;
    EXPECT_EQ(run.result.end, c.end) << c.score;
    EXPECT_EQ(run.output, c.output) << c.score;
  }
}

// The first element of a document stands outside the loop. The loop then holds a bar ("|"
// and a line feed) and a ";" line, whose text is the rest of the line and three bytes more.
TEST(ElementLoop, BufferHoldsAtMost2999997Bytes) {
  const std::string head = "||;";
  auto fits = run_score(Job::syntax, head + std::string(2'999'992, 'a'));
  ASSERT_FALSE(fits.result.fatal);
  EXPECT_TRUE(fits.result.complete());
  EXPECT_EQ(test::lines(fits.output).size(), 2U + 2'999'997U + 1U);

  auto over = run_score(Job::syntax, head + std::string(2'999'993, 'a'));
  ASSERT_TRUE(over.result.fatal);
  EXPECT_EQ(*over.result.fatal, msg::kLoopBufferFull);
  EXPECT_EQ(over.output, "LoopBun:buffer_max_over!!!\r\n");
}

// What the grammar's actions see while each pass of a job runs.
struct PassView {
  bool stereo;
  bool plain_notes;
  bool expansion;
  int pass;
  friend bool operator==(const PassView&, const PassView&) = default;
};

struct JobCase {
  Job job;
  std::vector<PassView> passes;
  float centre;  // after the job
  float scale;
};

TEST(Jobs, RunTheirPassesWithTheirSwitches) {
  const JobCase cases[] = {
      {Job::syntax, {{false, true, false, 0}}, 48.0F, 1.0F},
      {Job::expand, {{false, true, true, 0}, {false, true, true, 0}}, 48.0F, 1.0F},
      {Job::stereo,
       {{true, false, false, 0}, {true, false, false, 1}},
       54.0F,
       static_cast<float>(129.0 / 13.0)},
  };
  Session session;  // one session, as consecutive jobs of the dialog
  for (const JobCase& c : cases) {
    std::vector<PassView> seen;
    std::string ranges;
    session.engine.trace = [&](std::string_view line) {
      const JobSwitches& sw = session.switches;
      if (line.front() == '[')
        ranges += line;
      else
        seen.push_back({sw.stereo, sw.plain_notes, sw.expansion, sw.pass});
    };
    run_score(session, c.job, "x1 c4 <c");
    EXPECT_EQ(seen, c.passes) << static_cast<int>(c.job);
    EXPECT_EQ(session.pitch.centre, c.centre) << static_cast<int>(c.job);
    EXPECT_EQ(session.pitch.scale, c.scale) << static_cast<int>(c.job);
    EXPECT_EQ(ranges, c.job == Job::stereo ? "[48]-[60]:54.000000:9.923077\n" : "");
  }
}

struct RangeCase {
  int lo;
  int hi;
  std::string trace;
  float centre;
  float scale;
};

TEST(PassStart, CentreAndScaleOfTheSecondStereoPass) {
  const RangeCase cases[] = {
      {48, 60, "[48]-[60]:54.000000:9.923077\n", 54.0F, static_cast<float>(129.0 / 13.0)},
      {57, 57, "[57]-[57]:57.000000:129.000000\n", 57.0F, 129.0F},
      {36, 84, "[36]-[84]:60.000000:2.632653\n", 60.0F, static_cast<float>(129.0 / 49.0)},
      {40, 41, "[40]-[41]:40.500000:64.500000\n", 40.5F, 64.5F},
      // No track counted a note: the values are never used, but they are still computed.
      {500, -500, "[500]-[-500]:0.000000:-0.129129\n", 0.0F, static_cast<float>(129.0 / -999.0)},
  };
  for (const RangeCase& c : cases) {
    Session session;
    std::string trace;
    session.engine.trace = [&](std::string_view line) { trace += line; };
    session.switches.stereo = true;
    session.score.lowest_pitch[3] = c.lo;
    session.score.highest_pitch[3] = c.hi;
    session.diagnostics.add("from the first pass");
    begin_pass(session, 1);
    EXPECT_EQ(trace, c.trace);
    EXPECT_EQ(session.pitch.centre, c.centre) << c.trace;
    EXPECT_EQ(session.pitch.scale, c.scale) << c.trace;
    EXPECT_EQ(session.switches.pass, 1);
    EXPECT_TRUE(session.diagnostics.entries().empty());
  }
}

struct SummaryCase {
  Job job;
  Position stop;
  Position end;
  std::string expected;  // UTF-8
};

TEST(Summary, NamesThePathAndStoppedPositionsInHex) {
  const std::string path = "C:\\scores\\_song.zrb";
  const SummaryCase cases[] = {
      {Job::syntax, 16, 16, "[" + path + "]の構文テストを完了しました。"},
      {Job::expand, 0, 0, "[" + path + "]のマクロ展開を完了しました。"},
      {Job::stereo, 7, 7, "[" + path + "]のステレオ化を完了しました。"},
      {Job::syntax, 0, 10, "[" + path + "][0][a]の構文テスト、処理を打ち切りしました。"},
      {Job::expand, 0x1f, 0x2a0, "[" + path + "][1f][2a0]のマクロ展開、処理を打ち切りしました。"},
      {Job::stereo, 255, 4096, "[" + path + "][ff][1000]のステレオ化、処理を打ち切りしました。"},
  };
  for (const SummaryCase& c : cases) {
    JobResult r;
    r.job = c.job;
    r.stop = c.stop;
    r.end = c.end;
    const std::string line = summary_line(summary_format(c.job, r.complete()), sjis(path), r);
    EXPECT_EQ(line, sjis(c.expected)) << c.expected;
  }
}

TEST(Summary, AFatalStopReportsItsOwnPositions) {
  Session session;
  const auto whole = run_score(session, Job::syntax, "\\ +\r\n|");
  ASSERT_TRUE(whole.result.complete());
  const auto stopped = run_score(session, Job::syntax, std::string(1024, ' ') + "\\ +");
  ASSERT_TRUE(stopped.result.fatal);
  EXPECT_FALSE(stopped.result.complete());
  EXPECT_EQ(stopped.result.stop, 1024);
  EXPECT_EQ(stopped.result.end, 1027);
}

}  // namespace
}  // namespace bivox
