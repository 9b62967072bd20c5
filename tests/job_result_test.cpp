// What a job hands to the tools besides its output: where each diagnostic was added, what
// the stereo placement met per track, and where a fatal stop happened.
#include <gtest/gtest.h>

#include "support.hpp"

namespace bivox::test {
namespace {

TEST(JobResult, EachDiagnosticKeepsThePositionAfterItsConstruct) {
  const std::string score = "%1\n#A0 d4 ${m} r4 {}2\n";
  const test::Run run = run_score(Job::syntax, score);
  ASSERT_EQ(run.result.diagnostics.size(), 2U);
  EXPECT_EQ(run.result.diagnostics[0].position, static_cast<Position>(score.find(" r4")));
  EXPECT_EQ(run.result.diagnostics[1].position, static_cast<Position>(score.size() - 1));
}

TEST(JobResult, PositionsAreDroppedWithTheirDiagnosticsBeyondCapacity) {
  Diagnostics list;
  InputSource input;
  input.open("abc");
  list.follow(&input);
  for (std::size_t i = 0; i < Diagnostics::kCapacity + 5; ++i) list.add("x");
  EXPECT_EQ(list.positions().size(), Diagnostics::kCapacity);
  list.clear();
  EXPECT_TRUE(list.positions().empty());
}

// The tool's report tests show each kind of track; here B sets its pan after its first
// note, which is recorded but neither placed nor counted in the range. Other jobs record
// nothing.
TEST(JobResult, TheStereoJobRecordsEveryTracksPitchesAndPlacedPans) {
  const test::Run run = run_score(Job::stereo, "%1\n#A0 o4 d4 _4 s4 o5 d4\n#B0 o3 d4\n@B S0\n");
  const std::vector<TrackPlacement>& tracks = run.result.placement.tracks;
  ASSERT_EQ(tracks.size(), 2U);
  EXPECT_EQ(tracks[0].placed, 3);
  const TrackPlacement& b = tracks[1];
  EXPECT_EQ(b.letter, 'B');
  EXPECT_EQ(b.kind, TrackPlacement::Kind::pan_fixed);
  EXPECT_EQ(b.notes, 1);
  EXPECT_EQ(b.lowest_pitch, 36);
  EXPECT_EQ(b.placed, 0);
  EXPECT_FLOAT_EQ(run.result.placement.centre, 54.0F);
  EXPECT_TRUE(run_score(Job::syntax, "%1\n#A0 d4\n").result.placement.tracks.empty());
}

TEST(JobResult, AFatalStopRecordsWhereTheParseWas) {
  SessionState session;
  run_score(session, Job::syntax, "%1\n#A0 d4 r4 m4 f4 s4\n");  // leaves other positions behind
  const std::string score = "%1\n$a{c4}99999999\nd4\n";
  const test::Run run = run_score(session, Job::expand, score);
  ASSERT_TRUE(run.result.fatal);
  EXPECT_EQ(run.result.stop, static_cast<Position>(score.find("\nd4")));
  EXPECT_EQ(run.result.end, static_cast<Position>(score.size()));
}

}  // namespace
}  // namespace bivox::test
