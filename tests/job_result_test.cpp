// Each note the stereo placement met, which a job hands to the tools besides its output when
// asked (the tool's tests show the diagnostics' places, the placement per track and where a
// fatal stop happened).
#include <gtest/gtest.h>

#include "score_generator.hpp"
#include "support.hpp"

namespace bivox::test {
namespace {

JobResult stereo_with_notes(std::string_view score, bool fast_paths = true,
                            std::string leave = "") {
  SessionState session;
  session.engine.fast_paths = fast_paths;
  JobOptions options;
  options.record_notes = true;
  options.stereo.leave = std::move(leave);
  return run_job(session, Job::stereo, score, "score.zrb", options);
}

// Each note of the placing pass, from its letter to the end of its length, read directly
// or by the rules: placed, a rest, and one of each kind of track left alone.
TEST(JobResult, TheStereoJobRecordsEachNoteWhenAsked) {
  const std::string score =
      "*DRUM\"J\"\n%1\n#A0 x1 o4 c4 _ 4 g+ 4\n#B0 x1 o3 c\n@B S0\n#J0 x1 c\n#Z0 x1 d8.\n";
  using enum NotePlacement::Kind;
  const auto at = [&](std::string_view text, std::size_t skip) {
    return static_cast<Position>(score.find(text) + skip);
  };
  const std::vector<NotePlacement> expected = {
      {at("c4 _", 0), at("c4 _", 2), 'A', placed, 48, -57},
      {at("_ 4", 0), at("_ 4", 3), 'A', rest, 0, 0},
      {at("g+ 4", 0), at("g+ 4", 4), 'A', placed, 56, 57},
      {at("o3 c", 3), at("o3 c", 4), 'B', pan_fixed, 36, 0},
      {at("J0 x1 c", 6), at("J0 x1 c", 7), 'J', drum, 48, 0},
      {at("d8.", 0), at("d8.", 3), 'Z', track_z, 50, 0},
  };
  EXPECT_EQ(stereo_with_notes(score).notes, expected);
  EXPECT_EQ(stereo_with_notes(score, false).notes, expected);
  EXPECT_EQ(stereo_with_notes(score, true, "J").notes[4].kind, left_alone);
  EXPECT_TRUE(run_score(Job::stereo, score).notes.empty());
}

// Recording changes nothing a job gives, and records each note the placement counted.
TEST(JobResult, RecordingNotesChangesNothing) {
  const std::string score = bench::generate_score(30'000);
  const JobResult recorded = stereo_with_notes(score);
  const JobResult plain = run_score(Job::stereo, score);
  EXPECT_EQ(recorded.output, plain.output);
  EXPECT_EQ(recorded.diagnostics, plain.diagnostics);
  int placed = 0;
  int pitched = 0;
  for (const TrackPlacement& t : plain.placement.tracks) {
    placed += t.placed;
    pitched += t.notes;
  }
  const auto count = [&](auto pred) {
    return std::count_if(recorded.notes.begin(), recorded.notes.end(), pred);
  };
  EXPECT_GT(placed, 100);
  EXPECT_EQ(count([](const NotePlacement& n) { return n.kind == NotePlacement::Kind::placed; }),
            placed);
  EXPECT_EQ(count([](const NotePlacement& n) { return n.kind != NotePlacement::Kind::rest; }),
            pitched);
}

}  // namespace
}  // namespace bivox::test
