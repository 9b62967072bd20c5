// Notes and pitches through whole scores, as the stereo conversion's measuring pass places them.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "jobs/job_driver.hpp"
#include "support.hpp"

namespace bivox {
namespace {

// The measuring pass of the stereo conversion writes each placed note's absolute pitch
// as its pan command; this gives those values in order ("+48 0 -12"), and where the
// parse stopped.
struct MeasuredScore {
  std::string pitches;
  Position stop = 0;
  Position end = 0;
};

MeasuredScore measure(std::string_view score) {
  SessionState session;
  start_pass(session, passes_of(Job::stereo)[0], false);
  run_pass(session, 0, score);
  const std::string text = session.output;
  static const std::regex kPan(" @S([-+]?[0-9]+)");
  MeasuredScore m;
  for (auto it = std::sregex_iterator(text.begin(), text.end(), kPan); it != std::sregex_iterator();
       ++it) {
    if (!m.pitches.empty()) m.pitches += ' ';
    m.pitches += (*it)[1].str();
  }
  m.end = session.end_position;
  m.stop = session.stop_position;
  return m;
}

struct PitchCase {
  const char* what;
  const char* score;
  const char* pitches;
  Position stop = -1;  // -1: the whole score is understood
};

class AbsolutePitch : public ::testing::TestWithParam<PitchCase> {};

TEST_P(AbsolutePitch, IsWrittenByTheMeasuringPass) {
  const PitchCase& c = GetParam();
  const MeasuredScore m = measure(c.score);
  EXPECT_EQ(m.stop, c.stop < 0 ? m.end : c.stop) << c.what;
  EXPECT_EQ(m.pitches, c.pitches) << c.what << ": " << c.score;
}

INSTANTIATE_TEST_SUITE_P(
    Notes, AbsolutePitch,
    ::testing::Values(
        PitchCase{"naming is per voice", "x1 #A1 c #A0 c", "+59 +48"},
        PitchCase{"below zero", "x1 o0 >c >>>c", "-12 -48"},
        PitchCase{"seven flats", "\\ ------- x1 b e a d g c f", "+58 +51 +56 +49 +54 +47 +52"},
        PitchCase{"seven sharps raise b", "\\ +++++++ x1 b", "+60"},
        PitchCase{"german b and h ignore the key", "\\ +++++++ \\B -- x2 h b c #B0 x2 h b e",
                  "+59 +58 +49 +59 +58 +51"},
        PitchCase{"a written accidental replaces the key", "\\ +++ x1 f= f+ c--", "+53 +54 +46"},
        PitchCase{"key signature per track", "\\B + x1 f #B0 x1 f #A0 f", "+53 +54 +53"},
        PitchCase{"german b under clefs", "x2 ?3 b ?5 b ?6 h", "+47 +40 +38"},
        PitchCase{"mapped values above 11 ignore the key", "\\ ++ ?6 x1 a", "+36"},
        PitchCase{"mapped values are keyed as written", "\\ + ?6 x1 d", "+30"},
        PitchCase{"clef is per voice", "?6 #A1 x1 c", "+48"},
        PitchCase{"clef rows 7 and 8 read as row 0", "x1 ?7 c a ?8 c b", "+48 +57 +48 +59"},
        // The clef value of "?ア" is negative: no table may be read before its start.
        PitchCase{"FING clef below the tables reads as row 0", "*FING\"x1?\x83\x41\" c a",
                  "+48 +57"},
        PitchCase{"transposition after the key", "\\ - @A T+1 x1 b b=", "+59 +60"},
        // Attribute commands go to the tracks of the last member declaration, not the current
        // track.
        PitchCase{"transposition of the declared tracks", "@AB T+2 @C T-12 x1 c #B0 x1 c #C0 x1 c",
                  "+50 +50 +36"},
        PitchCase{"not of the current track", "#C0 T+3 x1 c #A0 x1 c", "+48 +51"},
        PitchCase{"a pan with a length fixes the declared tracks",
                  "@BC S-3:4 @A x1 c #B0 x1 c #C0 c", "+48"},
        // A section line reaches every voice; a value is the next character's code minus "0",
        // and that character is read again. Double-byte characters are passed over whole: the
        // second bytes of "Ｐ" and "ア" are no "o" and no "A".
        PitchCase{"section line for every voice", "*FING\"o5 o3x1\" #C3 c #O9 c", "+36 +36"},
        PitchCase{"x takes the next character", "*FING\"xo5\" x1 c", "+60"},
        PitchCase{"double-byte in a section line",
                  "*FING\"\x82\x6F"
                  "3x1\" c",
                  "+48"},
        PitchCase{"double-byte in a drum line", "*DRUM\"\x83\x41J\" x1 c #J0 x1 c", "+48"},
        PitchCase{"drum lines add up; lower case is no track",
                  "*DRUM\"A.\" *DRUM\"B jk\" #A0 x1 c #B0 x1 c #J0 x1 c", "+48"},
        PitchCase{"other section lines set nothing", "*HEAD\"o5x2\" x1 c", "+48"},
        PitchCase{"a pan-fixed track gets nothing from then on", "#B0 c @B S+10 c #A0 c",
                  "+59 +59"},
        PitchCase{"a drum track gets nothing from then on", "#C0 c *DRUM\"C\" c #A0 c", "+59 +59"},
        // Letters that are no note of the voice's naming end the score there.
        PitchCase{"solfege has no e", "d e", "+48", 2},
        PitchCase{"english has no h", "x1 c h", "+48", 5},
        PitchCase{"no naming system 7", "*FING\"x7\" d", "", 10},
        PitchCase{"c++, then a + that starts nothing", "x1 c+++", "+50", 6},
        PitchCase{"o needs digits", "x1 o c", "", 3}));

}  // namespace
}  // namespace bivox
