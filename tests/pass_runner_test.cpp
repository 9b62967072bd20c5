// The pass runner: the document it writes, positions after the trailing spacing and the
// diagnostic list.
#include <gtest/gtest.h>

#include "support.hpp"
#include "text/messages.hpp"

namespace bivox {
namespace {

using test::run_score;

// The document writes its elements and one line feed, to the output file and the trace,
// or nothing when no element is recognised; the stop position is after the trailing
// spacing, the end position the file's length.
TEST(PassRunner, WritesTheDocumentAndStopsAfterTheTrailingSpacing) {
  struct Case {
    std::string score;
    Position stop;
    Position end;
    std::string output;  // with plain line feeds, as traced
  };
  const Case cases[] = {
      {"  ~x", 2, 4, ""},
      {" \r\n/* only */ !x!", 17, 17, ""},
      {"| ~x", 2, 4, "|\n\n"},
      {" ;c", 3, 3, "\n;c\n\n"},
      {"| !open bang", 12, 12, "|\n\n"},
      {"|\r\n/* open", 10, 10, "|\n\n"},
      {"|\r\n\x1a|", 3, 5, "|\n\n"},
  };
  for (const Case& c : cases) {
    SessionState session;
    std::string trace;
    session.engine.trace = [&](std::string_view line) {
      if (line != msg::kTraceUnclosedComment) trace += line;
    };
    const auto run = run_score(session, Job::syntax, c.score);
    EXPECT_EQ(run.stop, c.stop) << c.score;
    EXPECT_EQ(run.end, c.end) << c.score;
    EXPECT_EQ(test::lines(run.output), c.output) << c.score;
    EXPECT_EQ(trace, c.output) << c.score;
  }
}

TEST(PassRunner, DiagnosticListKeeps299Messages) {
  auto run = run_score(Job::syntax, std::string(300, ','));
  ASSERT_EQ(run.diagnostics.size(), 299U);
  EXPECT_EQ(run.diagnostics.back().text, msg::kChordRepeat);
}

// A message the full list drops is still traced.
TEST(PassRunner, TraceShowsTheMessagesTheFullListDrops) {
  SessionState session;
  std::size_t traced = 0;
  session.engine.trace = [&](std::string_view line) {
    traced += line.starts_with(msg::kChordSymbolLabel) ? 1 : 0;
  };
  const auto run = run_score(session, Job::syntax, test::repeat("'C'4 ", 300));
  EXPECT_EQ(run.diagnostics.size(), 299U);
  EXPECT_EQ(traced, 300U);
}

}  // namespace
}  // namespace bivox
