// Member declarations, attribute, header, section and inline commands through whole
// scores.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "support.hpp"
#include "text/encoding.hpp"

namespace bivox {
namespace {

using test::sjis;

std::string member_message(char letter) {
  return std::string(
             "メンバー宣言から,メンバー属性値設定までの間に、音が挟まれました。展開して下さい[") +
         letter + "]";
}
const std::string kPitchU = "ピッチU=[考慮願います。]";
const std::string kChordReport = "和音[]考慮願います。=";

// A job on a score written in UTF-8: the output with plain line feeds and the diagnostics.
struct JobCase {
  Job job;
  std::string score;
  std::string output;
  std::vector<std::string> diagnostics;
};

class CommandJobs : public ::testing::TestWithParam<JobCase> {};

TEST_P(CommandJobs, WriteTheScoreAndReport) {
  const JobCase& c = GetParam();
  SCOPED_TRACE(c.score);
  const test::Run run = test::run_score(c.job, sjis(c.score));
  EXPECT_TRUE(run.result.complete());
  EXPECT_EQ(cp932_to_utf8(test::lines(run.output)), c.output);
  std::vector<std::string> diagnostics;
  for (const std::string& d : run.result.diagnostics) diagnostics.push_back(cp932_to_utf8(d));
  EXPECT_EQ(diagnostics, c.diagnostics);
}

// An attribute command after a note that follows the last member declaration is reported in
// the syntax test and prefixed with the member list in the macro expansion (the golden cases
// show both, and the stereo conversion leaving it alone). The inline commands never take
// part.
INSTANTIATE_TEST_SUITE_P(
    MemberPrefix, CommandJobs,
    ::testing::Values(
        JobCase{Job::syntax, "#A0 c V100", "\n#A0 c\nV100\n", {member_message('V')}},
        // Before any declaration the member list is "A", whatever the current track.
        JobCase{Job::expand, "#C0 c V90", "\n#C0 c\n@AV90\n", {}},
        JobCase{Job::expand, "#C0 @ c V90", "\n#C0 \n@c\n@CV90\n", {}},
        JobCase{Job::expand, "@AB c @C V80 c V70", "\n@ABc\n@C\nV80c\n@CV70\n", {}},
        JobCase{Job::syntax,
                "@B c P1 V1 S0 R1 W1 Q1 U0 Y0 T0 X1=2",
                "\n@Bc\nP1\nV1\nS0\nR1\nW1\nQ1\nU0!-[ 0.00]-!\nY0\nT0\nX1=2\n",
                {member_message('P'), member_message('V'), member_message('S'), member_message('R'),
                 member_message('W'), member_message('Q'), member_message('U'), kPitchU,
                 member_message('Y'), member_message('T'), member_message('X')}},
        JobCase{
            Job::expand, "@AB c R=1.2.3 W=.. Q=5.", "\n@ABc\n@ABR=1.2.3\n@ABW=..\n@ABQ=5.\n", {}},
        JobCase{Job::syntax, "c #B0 x1 v10 p0 q+2 ?1 o3", "c\n#B0 \nx1\nv10\np0\nq+2\n?1o3\n", {}},
        // Percent, bar and comment lines are no attribute commands either.
        JobCase{Job::syntax, "%4 | ; コメント\nd ┃ r コメント", "\n%4|\n\n; コメント\ndr\n", {}}));

// The pitch command reports itself unless the current track is pan-fixed; its value is
// shown times the pitch scale of the pass, divided by 10.
INSTANTIATE_TEST_SUITE_P(
    PitchCommand, CommandJobs,
    ::testing::Values(
        JobCase{
            Job::syntax, "U-5 U+5:4", "\nU-5!-[-0.50]-!\nU+5:4!-[ 0.50]-!\n", {kPitchU, kPitchU}},
        // "S0" marks the member list (track A), not the current track.
        JobCase{Job::syntax, "#C0 S0 U+1", "\n#C0 \nS0\nU+1!-[ 0.10]-!\n", {kPitchU}},
        JobCase{Job::syntax, "S0 U+1", "\nS0\nU+1!-[ 0.10]-!\n", {}},
        // In one pass a later S has not happened yet; in the second pass of a job it has.
        JobCase{Job::syntax, "U+1 S0", "\nU+1!-[ 0.10]-!\nS0\n", {kPitchU}},
        JobCase{Job::expand, "U+1 S0", "\nU+1!-[ 0.10]-!\nS0\n", {}}));

// The chord report leaves out line feeds and blanks, and is not made for a pan-fixed
// current track (in the stereo conversion also when the pan is set later).
INSTANTIATE_TEST_SUITE_P(
    ReportText, CommandJobs,
    ::testing::Values(
        JobCase{Job::syntax, "[d v10 m]", "[d\nv10m]\n", {kChordReport + "[dv10m]"}},
        // A report longer than 255 bytes is kept whole.
        JobCase{Job::syntax,
                "[" + std::string(300, 'd') + "]",
                "[" + std::string(300, 'd') + "]\n",
                {kChordReport + "[" + std::string(300, 'd') + "]"}},
        JobCase{Job::stereo, "[d m] S0", "[dm]\nS0\n", {}},
        JobCase{Job::syntax, "@B S0 #B0 [d m]", "\n@B\nS0\n#B0 [dm]\n", {}},
        JobCase{Job::syntax, "@B S0 #A0 [d m]", "\n@B\nS0\n#A0 [dm]\n", {kChordReport + "[dm]"}}));

std::string flagged_tracks(const TrackTable& flags) {
  std::string letters;
  for (int t = 0; t < 26; ++t) {
    if (flags[static_cast<std::size_t>(t)] == 1) letters += static_cast<char>('A' + t);
  }
  return letters;
}

// Settings that the commands leave in the score state.
struct StateCase {
  std::string score;
  std::string member_list;
  std::array<int, 3> transpose;  // tracks A, B, C
  std::string pan_fixed;         // the pan-fixed track letters
};

class MemberState : public ::testing::TestWithParam<StateCase> {};

TEST_P(MemberState, FollowsTheMemberList) {
  const StateCase& c = GetParam();
  SCOPED_TRACE(c.score);
  Session session;
  test::run_score(session, Job::syntax, c.score);
  const ScoreState& st = session.score;
  EXPECT_EQ(st.member_list, c.member_list);
  EXPECT_EQ((std::array<int, 3>{st.transpose[0], st.transpose[1], st.transpose[2]}), c.transpose);
  EXPECT_EQ(flagged_tracks(st.pan_fixed), c.pan_fixed);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, MemberState,
    ::testing::Values(
        StateCase{"@AB T+2 @C T-12", "C", {2, 2, -12}, ""},
        StateCase{"@AB T+2 T0", "AB", {0, 0, 0}, ""}, StateCase{"#C0 T+3", "A", {3, 0, 0}, ""},
        StateCase{"#C0 @", "C", {0, 0, 0}, ""}, StateCase{"#C0 S0", "A", {0, 0, 0}, "A"},
        StateCase{"@BZ S-3:4 @A", "A", {0, 0, 0}, "BZ"},
        // Settings made inside a chord that then fails stay in force.
        StateCase{"@BC [T+4 S0", "BC", {0, 4, 4}, "BC"},
        // Not commands: the pass stops there and nothing is set.
        StateCase{"@B T5", "B", {0, 0, 0}, ""}, StateCase{"@B S7", "B", {0, 0, 0}, ""}));

TEST(MemberState, StopsAtTheMemberListLimit) {
  Session session;
  const test::Run longest =
      test::run_score(session, Job::syntax, "@" + std::string(1023, 'B') + " S0");
  EXPECT_TRUE(longest.result.complete());
  EXPECT_EQ(session.score.member_list.size(), 1023U);
  EXPECT_EQ(session.score.pan_fixed[1], 1);

  const test::Run too_long = test::run_score(session, Job::syntax, "c @" + std::string(1024, 'B'));
  EXPECT_EQ(too_long.result.fatal, "MemberNameMaxOver[1024]!!!\n");
  EXPECT_EQ(test::lines(too_long.output), "MemberNameMaxOver[1024]!!!\n");
}

// What a section line sets: for FING the clef, octave and note naming of every track and
// voice; for DRUM the drum tracks. Two-byte characters in the text are passed over whole.
struct SectionCase {
  std::string line;
  int octave;
  int naming;
  int clef;
  std::string drums;
};

class SectionSettings : public ::testing::TestWithParam<SectionCase> {};

TEST_P(SectionSettings, ReachEveryVoice) {
  const SectionCase& c = GetParam();
  SCOPED_TRACE(c.line);
  Session session;
  test::run_score(session, Job::syntax, sjis("*FING \"o2x1?6\" " + c.line));
  const ScoreState& st = session.score;
  for (const auto& [track, voice] : {std::pair{0, 0}, std::pair{2, 5}, std::pair{25, 9}}) {
    const auto t = static_cast<std::size_t>(track);
    const auto v = static_cast<std::size_t>(voice);
    EXPECT_EQ(st.octave[t][v], c.octave) << track << "/" << voice;
    EXPECT_EQ(st.note_naming[t][v], c.naming) << track << "/" << voice;
    EXPECT_EQ(st.clef[t][v], c.clef) << track << "/" << voice;
  }
  EXPECT_EQ(flagged_tracks(st.drum_track), c.drums);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, SectionSettings,
    ::testing::Values(
        SectionCase{"*FING \"o5\"", 5, 1, 6, ""}, SectionCase{"*FING \"x2\"", 2, 2, 6, ""},
        SectionCase{"*FING \"o4x0?2\"", 4, 0, 2, ""}, SectionCase{"*FING \"o5 o3\"", 3, 1, 6, ""},
        // The value is the next character's code minus "0", unchecked.
        SectionCase{"*FING \"xo5\"", 5, 'o' - '0', 6, ""},
        SectionCase{"*FING \"?\"", 2, 1, '"' - '0', ""},
        SectionCase{"*FING \"x0?ア\"", 2, 0, -125 - '0', ""},
        // "Ｐ" is 0x82 0x6F: its second byte is no "o".
        SectionCase{"*FING \"Ｐ3x0\"", 2, 0, 6, ""}, SectionCase{"*DRUM \"JK\"", 2, 1, 6, "JK"},
        SectionCase{"*DRUM \"A..Z\" *DRUM \"B\"", 2, 1, 6, "ABZ"},
        SectionCase{"*DRUM \"PY jk\"", 2, 1, 6, "PY"},
        // "ア" is 0x83 0x41: its second byte is no "A".
        SectionCase{"*DRUM \"アJ\"", 2, 1, 6, "J"}, SectionCase{"*HEAD \"o5JK\"", 2, 1, 6, ""},
        SectionCase{"*FING o5", 2, 1, 6, ""}, SectionCase{"*DRUM \"JK", 2, 1, 6, ""}));

// Track selection and the note naming and clef switches act on the current track and voice.
TEST(InlineState, SwitchesActOnTheSelectedVoice) {
  Session session;
  test::run_score(session, Job::syntax, "x2 ?7 #C34 x1 ?8 #Z0");
  const ScoreState& st = session.score;
  EXPECT_EQ(st.current_track, 25);
  EXPECT_EQ(st.current_voice, 0);
  EXPECT_EQ(st.note_naming[0][0], 2);
  EXPECT_EQ(st.clef[0][0], 7);
  EXPECT_EQ(st.note_naming[2][3], 1);
  EXPECT_EQ(st.clef[2][3], 8);
  EXPECT_EQ(st.note_naming[2][4], 0);
  EXPECT_EQ(st.clef[2][0], 0);
}

}  // namespace
}  // namespace bivox
