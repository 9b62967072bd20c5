// Member declarations, attribute, header, section and inline commands through whole
// scores.
#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "support.hpp"
#include "text/encoding.hpp"

// ---- commands: member declarations, attribute, header, section and inline commands -------

namespace bivox::commands_tests {
namespace {

// What a job made of a score written in UTF-8, back in UTF-8.
struct Outcome {
  std::string output;  // plain line feeds
  std::vector<std::string> diagnostics;
  std::optional<std::string> fatal;
  bool complete = false;
};

Outcome run_utf8(Session& session, Job job, std::string_view score) {
  const test::Run run = test::run_score(session, job, test::sjis(score));
  Outcome out;
  out.output = cp932_to_utf8(test::lines(run.output));
  for (const std::string& d : run.result.diagnostics) out.diagnostics.push_back(cp932_to_utf8(d));
  out.fatal = run.result.fatal;
  out.complete = run.result.complete();
  return out;
}

const char* job_name(Job job) {
  switch (job) {
    case Job::syntax:
      return "syntax";
    case Job::expand:
      return "expand";
    case Job::stereo:
      return "stereo";
  }
  return "?";
}

std::string member_message(char letter) {
  return std::string(
             "メンバー宣言から,メンバー属性値設定までの間に、音が挟まれました。展開して下さい[") +
         letter + "]";
}
const std::string kPitchU = "ピッチU=[考慮願います。]";
const std::string kChordReport = "和音[]考慮願います。=";

struct JobCase {
  Job job;
  std::string score;
  std::string output;
  std::vector<std::string> diagnostics;
};

void PrintTo(const JobCase& c, std::ostream* os) {
  *os << job_name(c.job) << ": " << c.score;
}

class CommandJobs : public ::testing::TestWithParam<JobCase> {};

TEST_P(CommandJobs, WriteTheScoreAndReport) {
  const JobCase& c = GetParam();
  Session session;
  const Outcome out = run_utf8(session, c.job, c.score);
  EXPECT_TRUE(out.complete);
  EXPECT_EQ(out.output, c.output);
  EXPECT_EQ(out.diagnostics, c.diagnostics);
}

// An attribute command after a note that follows the last member declaration: reported in
// the syntax test, prefixed with the member list in the macro expansion, left alone in the
// stereo conversion. The inline commands never take part.
INSTANTIATE_TEST_SUITE_P(
    MemberPrefix, CommandJobs,
    ::testing::Values(
        JobCase{Job::syntax,
                "@AB V100 c V90 P5",
                "\n@AB\nV100c\nV90\nP5\n",
                {member_message('V'), member_message('P')}},
        JobCase{Job::expand, "@AB V100 c V90 P5", "\n@AB\nV100c\n@ABV90\n@ABP5\n", {}},
        JobCase{Job::stereo, "@AB V100 c V90 P5", "\n@AB\nV100 @S0c\nV90\nP5\n", {}},
        JobCase{Job::syntax, "#A0 c V100", "\n#A0 c\nV100\n", {member_message('V')}},
        // Before any declaration the member list is "A", whatever the current track.
        JobCase{Job::expand, "#C0 c V90", "\n#C0 c\n@AV90\n", {}},
        JobCase{Job::expand, "#C0 @ c V90", "\n#C0 \n@c\n@CV90\n", {}},
        JobCase{Job::expand, "@AB c @C V80 c V70", "\n@ABc\n@C\nV80c\n@CV70\n", {}},
        JobCase{Job::expand,
                "@B c P1 V1 S0 R1 W1 Q1 U0 Y0 T0 X1=2",
                "\n@Bc\n@BP1\n@BV1\n@BS0\n@BR1\n@BW1\n@BQ1\n@BU0!-[ 0.00]-!\n@BY0\n@BT0\n@BX1=2\n",
                {kPitchU}},
        JobCase{Job::syntax,
                "@B c P1 V1 S0 R1 W1 Q1 U0 Y0 T0 X1=2",
                "\n@Bc\nP1\nV1\nS0\nR1\nW1\nQ1\nU0!-[ 0.00]-!\nY0\nT0\nX1=2\n",
                {member_message('P'), member_message('V'), member_message('S'), member_message('R'),
                 member_message('W'), member_message('Q'), member_message('U'), kPitchU,
                 member_message('Y'), member_message('T'), member_message('X')}},
        JobCase{
            Job::expand, "@AB c R=1.2.3 W=.. Q=5.", "\n@ABc\n@ABR=1.2.3\n@ABW=..\n@ABQ=5.\n", {}},
        JobCase{Job::syntax, "c Q=1.2", "c\nQ=1.2\n", {member_message('Q')}},
        JobCase{Job::syntax, "c #B0 x1 v10 p0 q+2 ?1 o3", "c\n#B0 \nx1\nv10\np0\nq+2\n?1o3\n", {}},
        // Inside a macro body the expansion adds no prefix.
        JobCase{Job::expand, "@AB c $m{c V90}", "\n@ABc\nc\nV90\n", {}}));

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
        JobCase{Job::expand, "U+1 S0", "\nU+1!-[ 0.10]-!\nS0\n", {}},
        // Pitches 36..84: scale 129/49.
        JobCase{Job::stereo,
                "#A0 o3 d o7 d U+5 U-12",
                "\n#A0 o3 @S-63do7 @S+63d\nU+5!-[ 1.32]-!\nU-12!-[-3.16]-!\n",
                {kPitchU, kPitchU}}));

// The chord report leaves out line feeds, blanks and pan commands, and is not made for a
// pan-fixed current track.
INSTANTIATE_TEST_SUITE_P(
    ReportText, CommandJobs,
    ::testing::Values(
        JobCase{Job::syntax, "[d m]", "[dm]\n", {kChordReport + "[dm]"}},
        JobCase{Job::syntax, "[d v10 m]", "[d\nv10m]\n", {kChordReport + "[dv10m]"}},
        // Pitches 48, 52, 55: centre 51.5, scale 129/8.
        JobCase{Job::stereo, "[d m] s", "[ @S-56d @S+8m] @S+56s\n", {kChordReport + "[dm]"}},
        // A report longer than 255 bytes is kept whole.
        JobCase{Job::syntax,
                "[" + std::string(300, 'd') + "]",
                "[" + std::string(300, 'd') + "]\n",
                {kChordReport + "[" + std::string(300, 'd') + "]"}},
        JobCase{Job::stereo, "[d m] S0", "[dm]\nS0\n", {}},
        JobCase{Job::syntax, "@B S0 #B0 [d m]", "\n@B\nS0\n#B0 [dm]\n", {}},
        JobCase{Job::syntax, "@B S0 #A0 [d m]", "\n@B\nS0\n#A0 [dm]\n", {kChordReport + "[dm]"}}));

// Percent, bar and section lines. A DRUM line after a track's notes still keeps the whole
// track free of pan commands, while the notes met before it count in the pitch range.
INSTANTIATE_TEST_SUITE_P(
    SectionLines, CommandJobs,
    ::testing::Values(
        JobCase{Job::syntax, "%4 | ; コメント\nd ┃ r コメント", "\n%4|\n\n; コメント\ndr\n", {}},
        JobCase{Job::stereo, "#J0 d s *DRUM \"J\" #A0 m", "\n#J0 ds\n*DRUM\"J\"\n#A0  @S+8m\n", {}},
        JobCase{Job::stereo, "d *FING \"o5\" d", " @S-60d\n*FING\"o5\" @S+60d\n", {}}));

// Clef rows beyond the tables, and FING values that are no digit, read notes as row 0:
// in every case track A's "c" and "g" lie where reference track B's row 0 puts them.
struct ClefCase {
  std::string setting;  // gives track A a clef value the tables do not have
  std::string written;  // how the setting is rebuilt
};

void PrintTo(const ClefCase& c, std::ostream* os) {
  *os << c.setting;
}

class ClefRows : public ::testing::TestWithParam<ClefCase> {};

TEST_P(ClefRows, OutsideTheTablesReadAsRowZero) {
  const ClefCase& c = GetParam();
  // English names, octave 4: pitches 48 and 55, centre 51.5, scale 129/8.
  Session session;
  const Outcome out =
      run_utf8(session, Job::stereo, "*FING \"x1\" #B0 ?0 c " + c.setting + " #A0 c g");
  EXPECT_TRUE(out.complete);
  EXPECT_EQ(out.output, "\n*FING\"x1\"\n#B0 \n?0 @S-56c" + c.written + "\n#A0  @S-56c @S+56g\n");
}

INSTANTIATE_TEST_SUITE_P(Commands, ClefRows,
                         ::testing::Values(ClefCase{"#A0 ?7", "\n#A0 \n?7"},
                                           ClefCase{"#A0 ?8", "\n#A0 \n?8"},
                                           ClefCase{"*FING \"x1?\"", "\n*FING\"x1?\""},
                                           ClefCase{"*FING \"x1?A\"", "\n*FING\"x1?A\""},
                                           ClefCase{"*FING \"x1?ア\"", "\n*FING\"x1?ア\""},
                                           ClefCase{"*FING \"?x1\"", "\n*FING\"?x1\""}));

// Settings that the commands leave in the score state.
struct StateCase {
  std::string score;
  std::string member_list;
  std::array<int, 3> transpose;  // tracks A, B, C
  std::string pan_fixed;         // the pan-fixed track letters
};

void PrintTo(const StateCase& c, std::ostream* os) {
  *os << c.score;
}

std::string flagged_tracks(const TrackTable& flags) {
  std::string letters;
  for (int t = 0; t < 26; ++t) {
    if (flags[static_cast<std::size_t>(t)] == 1) letters += static_cast<char>('A' + t);
  }
  return letters;
}

class MemberState : public ::testing::TestWithParam<StateCase> {};

TEST_P(MemberState, FollowsTheMemberList) {
  const StateCase& c = GetParam();
  Session session;
  run_utf8(session, Job::syntax, c.score);
  const ScoreState& st = session.score;
  EXPECT_EQ(st.member_list, c.member_list);
  EXPECT_EQ((std::array<int, 3>{st.transpose[0], st.transpose[1], st.transpose[2]}), c.transpose);
  EXPECT_EQ(flagged_tracks(st.pan_fixed), c.pan_fixed);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, MemberState,
    ::testing::Values(
        StateCase{"c", "A", {0, 0, 0}, ""}, StateCase{"@AB T+2", "AB", {2, 2, 0}, ""},
        StateCase{"@AB T+2 @C T-12", "C", {2, 2, -12}, ""},
        StateCase{"@AB T+2 T0", "AB", {0, 0, 0}, ""}, StateCase{"#C0 T+3", "A", {3, 0, 0}, ""},
        StateCase{"#C0 @", "C", {0, 0, 0}, ""}, StateCase{"#C0 S0", "A", {0, 0, 0}, "A"},
        StateCase{"@BC S+10", "BC", {0, 0, 0}, "BC"},
        StateCase{"@BZ S-3:4 @A", "A", {0, 0, 0}, "BZ"},
        // Settings made inside a chord that then fails stay in force.
        StateCase{"@BC [T+4 S0", "BC", {0, 4, 4}, "BC"},
        // Not commands: the pass stops there and nothing is set.
        StateCase{"@B T5", "B", {0, 0, 0}, ""}, StateCase{"@B S7", "B", {0, 0, 0}, ""}));

TEST(MemberState, StopsAtTheMemberListLimit) {
  Session session;
  const Outcome longest = run_utf8(session, Job::syntax, "@" + std::string(1023, 'B') + " S0");
  EXPECT_TRUE(longest.complete);
  EXPECT_EQ(session.score.member_list.size(), 1023U);
  EXPECT_EQ(session.score.pan_fixed[1], 1);

  const Outcome too_long = run_utf8(session, Job::syntax, "c @" + std::string(1024, 'B'));
  EXPECT_EQ(too_long.fatal, "MemberNameMaxOver[1024]!!!\n");
  EXPECT_EQ(too_long.output, "MemberNameMaxOver[1024]!!!\n");
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

void PrintTo(const SectionCase& c, std::ostream* os) {
  *os << c.line;
}

class SectionSettings : public ::testing::TestWithParam<SectionCase> {};

TEST_P(SectionSettings, ReachEveryVoice) {
  const SectionCase& c = GetParam();
  Session session;
  run_utf8(session, Job::syntax, "*FING \"o2x1?6\" " + c.line);
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
  run_utf8(session, Job::syntax, "x2 ?7 #C34 x1 ?8 #Z0");
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
}  // namespace bivox::commands_tests
