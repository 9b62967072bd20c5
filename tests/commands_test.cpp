// What member declarations, attribute, section and inline commands leave in the score state.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support.hpp"

namespace bivox {
namespace {

using test::sjis;

std::string flagged_tracks(const TrackFlags& flags) {
  std::string letters;
  for (int t = 0; t < 26; ++t) {
    if (flags[static_cast<std::size_t>(t)]) letters += static_cast<char>('A' + t);
  }
  return letters;
}

// The score state a syntax test leaves where it differs from the start: the member list, the
// transposition of tracks A to C, the pan-fixed and drum tracks, the current track and voice,
// and octave/naming/clef of voices A0, C3 and Z9 (once when alike). Each score starts with a
// section line that sets octave 2, naming 1 and clef 6 for every voice.
std::string state_after(const std::string& score) {
  SessionState session;
  test::run_score(session, Job::syntax, sjis("*FING \"o2x1?6\" " + score));
  const ScoreState& st = session.score;
  std::string out;
  const auto note = [&](bool differs, const std::string& text) {
    if (differs) out += (out.empty() ? "" : " ") + text;
  };
  const std::string transpose = std::to_string(st.transpose[0]) + "," +
                                std::to_string(st.transpose[1]) + "," +
                                std::to_string(st.transpose[2]);
  note(st.member_list != "A", "@" + st.member_list);
  note(transpose != "0,0,0", "T" + transpose);
  note(!flagged_tracks(st.pan_fixed).empty(), "S" + flagged_tracks(st.pan_fixed));
  note(!flagged_tracks(st.drum_track).empty(), "D" + flagged_tracks(st.drum_track));
  note(st.current_track != 0 || st.current_voice != 0,
       "#" + std::string(1, static_cast<char>('A' + st.current_track)) +
           std::to_string(st.current_voice));
  std::vector<std::string> voices;
  for (const auto& [t, v] : {std::pair{0U, 0U}, std::pair{2U, 3U}, std::pair{25U, 9U}}) {
    voices.push_back(std::to_string(st.octave[t][v]) + "/" + std::to_string(st.note_naming[t][v]) +
                     "/" + std::to_string(st.clef[t][v]));
  }
  const bool alike = voices[0] == voices[1] && voices[1] == voices[2];
  note(!alike || voices[0] != "2/1/6",
       alike ? voices[0] : voices[0] + " " + voices[1] + " " + voices[2]);
  return out;
}

struct StateCase {
  std::string score;
  std::string state;
};

class CommandState : public ::testing::TestWithParam<StateCase> {};

TEST_P(CommandState, IsLeftInTheScoreState) {
  EXPECT_EQ(state_after(GetParam().score), GetParam().state) << GetParam().score;
}

INSTANTIATE_TEST_SUITE_P(
    Commands, CommandState,
    ::testing::Values(
        StateCase{"@AB T+2 @C T-12", "@C T2,2,-12"}, StateCase{"#C0 T+3", "T3,0,0 #C0"},
        StateCase{"#C0 S0", "SA #C0"}, StateCase{"@BZ S-3:4 @A", "SBZ"},
        // Settings made inside a chord that then fails stay in force.
        StateCase{"@BC [T+4 S0", "@BC T0,4,4 SBC"},
        // Track selection and the naming and clef switches act on the current voice.
        StateCase{"x2 ?7 #C34 x1 ?8 #Z0", "#Z0 2/2/7 2/1/8 2/1/6"},
        // A section line reaches every voice. Two-byte characters are passed over whole; a
        // value is the next character's code minus "0", unchecked.
        StateCase{"*FING \"o4x0?2\"", "4/0/2"}, StateCase{"*FING \"o5 o3\"", "3/1/6"},
        StateCase{"*FING \"xo5\"", "5/63/6"}, StateCase{"*FING \"?\"", "2/1/-14"},
        StateCase{"*FING \"x0?ア\"", "2/0/-173"},
        // "Ｐ" is 0x82 0x6F and "ア" 0x83 0x41: their second bytes are no "o" and no "A".
        StateCase{"*FING \"Ｐ3x0\"", "2/0/6"}, StateCase{"*DRUM \"アJ\"", "DJ"},
        StateCase{"*DRUM \"A..Z\" *DRUM \"B\"", "DABZ"}, StateCase{"*DRUM \"PY jk\"", "DPY"},
        StateCase{"*HEAD \"o5JK\"", ""},
        // The longest member list there is room for (one letter more stops the job).
        StateCase{"@" + std::string(1023, 'B') + " S0", "@" + std::string(1023, 'B') + " SB"}));

}  // namespace
}  // namespace bivox
