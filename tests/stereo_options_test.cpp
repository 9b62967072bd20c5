// The stereo conversion shaped by its options: the pan range (narrower, shifted, reversed),
// a fixed pitch range, tracks left alone; the option texts people write; and the stereo map
// drawn from the placement. With no options the golden cases hold every byte as before.
#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <stdexcept>

#include "support.hpp"

namespace bivox::test {
namespace {

// The pan values in an output, in order, per track ("#A0" and the like select the track).
std::map<char, std::vector<int>> pans_by_track(const std::string& output) {
  std::map<char, std::vector<int>> pans;
  static const std::regex kPiece(R"(#([A-OZ])\d|@S([+-]?\d+))");
  char track = 'A';
  for (std::sregex_iterator it(output.begin(), output.end(), kPiece), end; it != end; ++it) {
    if ((*it)[1].matched) {
      track = (*it)[1].str()[0];
    } else {
      pans[track].push_back(std::stoi((*it)[2].str()));
    }
  }
  return pans;
}

JobResult stereo(std::string_view score, const StereoOptions& options) {
  Session session;
  JobOptions job;
  job.stereo = options;
  return session.run(Job::stereo, score, "score.zrb", job);
}

StereoOptions pans(int left, int right, std::optional<PitchRange> pitches = {}) {
  StereoOptions o;
  o.pan_left = left;
  o.pan_right = right;
  o.pitch_range = pitches;
  return o;
}

// Pitches 48, 54 and 60 (lowest, centre, highest) and a U command after them.
constexpr std::string_view kThreePitches = "x1 c4 f+ < c U+5";

struct PlacementCase {
  const char* name;
  StereoOptions options;
  std::vector<int> pans;  // of the pitches 48, 54, 60
  const char* u_comment;  // the U command's value comment: 5 times the scale, over 10
};

TEST(StereoOptions, PanAndPitchRangesPlaceTheWorkedValues) {
  const PlacementCase cases[] = {
      {"defaults", StereoOptions{}, {-60, 0, 60}, "!-[ 4.96]-!"},
      {"narrower", pans(-32, 32), {-30, 0, 30}, "!-[ 2.50]-!"},
      {"narrower, reversed", pans(32, -32), {30, 0, -30}, "!-[ 2.50]-!"},
      {"shifted right", pans(0, 64), {2, 32, 62}, "!-[ 2.50]-!"},
      {"shifted right, reversed", pans(64, 0), {62, 32, 2}, "!-[ 2.50]-!"},
      // An odd width: the centre sits on a half, which rounds away from zero.
      {"odd width", pans(-10, 11), {-10, 1, 11}, "!-[ 0.85]-!"},
      // A fixed range inside the notes' one: the notes outside it are clamped.
      {"fixed pitch range 50..58", pans(-64, 64, PitchRange{50, 58}), {-64, 0, 64}, "!-[ 7.17]-!"},
      {"fixed pitch range C2..C7", pans(-64, 64, PitchRange{24, 84}), {-13, 0, 13}, "!-[ 1.06]-!"},
  };
  for (const PlacementCase& c : cases) {
    SCOPED_TRACE(c.name);
    const JobResult r = stereo(kThreePitches, c.options);
    EXPECT_EQ(pans_by_track(r.output)['A'], c.pans);
    EXPECT_NE(r.output.find(c.u_comment), std::string::npos) << r.output;
    EXPECT_EQ(r.placement.options, c.options);
  }
}

// B is left alone as if the score gave it an S command: no pan commands, no U message, and
// the range is A's alone (48..60).
TEST(StereoOptions, TracksLeftAloneGetNoPanAndDoNotCountInTheRange) {
  const std::string score = "#A0 x1 c <c #B0 U+5 x1 o2 c d";
  StereoOptions leave_b;
  leave_b.leave = "B";
  const JobResult alone = stereo(score, leave_b);
  EXPECT_EQ(pans_by_track(alone.output), (std::map<char, std::vector<int>>{{'A', {-60, 60}}}));
  EXPECT_TRUE(alone.diagnostics.empty());
  ASSERT_EQ(alone.placement.tracks.size(), 2U);
  EXPECT_EQ(alone.placement.tracks[1].kind, TrackPlacement::Kind::left_alone);
  EXPECT_EQ(alone.placement.tracks[1].placed, 0);

  // Counted, B (24..26) widens the range to 24..60.
  const JobResult placed = stereo(score, {});
  EXPECT_EQ(pans_by_track(placed.output)['A'], (std::vector<int>{21, 63}));
  EXPECT_EQ(pans_by_track(placed.output)['B'], (std::vector<int>{-63, -56}));
  EXPECT_EQ(placed.diagnostics.size(), 1U);
}

TEST(StereoOptions, TextsReadAtTheirEndsAndSayWhatIsWrong) {
  EXPECT_EQ(parse_pan_range("-64..64"), std::pair(-64, 64));
  EXPECT_EQ(parse_pan_range(" 64..-64 "), std::pair(64, -64));
  EXPECT_EQ(parse_pan_range("+0..1"), std::pair(0, 1));
  EXPECT_EQ(parse_pitch_range("C2..C7"), (PitchRange{24, 84}));
  EXPECT_EQ(parse_pitch_range("f#3..Bb5"), (PitchRange{42, 70}));
  EXPECT_EQ(parse_pitch_range("-1000..1000"), (PitchRange{-1000, 1000}));
  EXPECT_EQ(parse_pitch("c-1"), -12);
  EXPECT_EQ(parse_pitch_range("G4..G4"), (PitchRange{55, 55}));
  EXPECT_EQ(parse_track_letters("ZBAB"), "ABZ");
  EXPECT_EQ(parse_track_letters(""), "");

  struct Bad {
    std::string_view text;
    std::string (*parse)(std::string_view);
    const char* message;
  };
  const auto pan = [](std::string_view t) { return pan_range_text(parse_pan_range(t).first, 0); };
  const auto pitch = [](std::string_view t) { return pitch_range_text(parse_pitch_range(t)); };
  const Bad bad[] = {
      {"-65..64", pan, "'-65..64': each end must lie from -64 to 64"},
      {"-64..65", pan, "each end must lie from -64 to 64"},
      {"5..5", pan, "'5..5': the two ends must differ"},
      {"-32-32", pan, "expected L..R, two whole numbers such as -32..32"},
      {"C7..C2", pitch, "'C7..C2': the lowest pitch C7 is above the highest C2"},
      {"H2..C7", pitch, "'H2': not a pitch number from -1000 to 1000 nor a note name"},
      {"0..1001", pitch, "'1001': not a pitch number"},
      {"C2", pitch, "expected LO..HI, pitch numbers such as 36..96 or note names"},
      {"AP", parse_track_letters, "'AP': 'P' is no track letter (A to O, or Z)"},
  };
  for (const Bad& b : bad) {
    try {
      b.parse(b.text);
      ADD_FAILURE() << b.text << " was read";
    } catch (const std::invalid_argument& e) {
      EXPECT_NE(std::string(e.what()).find(b.message), std::string::npos)
          << b.text << ": " << e.what();
    }
  }
  EXPECT_THROW(stereo(kThreePitches, pans(0, 0)), std::invalid_argument);
}

// One bar per placed track, its ends the lowest and highest pan the output holds for the
// track; the tracks left alone are listed beneath, not drawn.
TEST(StereoMap, BarsHoldThePansOfTheOutput) {
  const std::string score =
      "%1\n*DRUM\"J\"\n#A0 x1 c e g <c\n#B0 x1 o3 c g\n#C0 x1 o6 c\n#J0 c\n#Z0 c\n#D0 x1 a\n";
  StereoOptions options = pans(32, -32);
  options.leave = "D";
  const JobResult r = stereo(score, options);
  const std::string svg = stereo_map_svg(r.placement, "a <score> & more");
  EXPECT_EQ(svg.rfind("<?xml", 0), 0U);
  EXPECT_NE(svg.find("a &lt;score&gt; &amp; more"), std::string::npos);
  EXPECT_NE(svg.find(R"(data-pan-left="32" data-pan-right="-32")"), std::string::npos);

  static const std::regex kBar(
      R"re(<rect class="bar" data-track="(.)" data-lowest-pitch="(-?\d+)" data-highest-pitch="(-?\d+)" data-lowest-pan="(-?\d+)" data-highest-pan="(-?\d+)")re");
  std::map<char, std::pair<int, int>> bars;
  for (std::sregex_iterator it(svg.begin(), svg.end(), kBar), end; it != end; ++it) {
    bars[(*it)[1].str()[0]] = {std::stoi((*it)[4].str()), std::stoi((*it)[5].str())};
  }
  std::map<char, std::pair<int, int>> output_ranges;
  for (const auto& [track, values] : pans_by_track(r.output)) {
    output_ranges[track] = {*std::min_element(values.begin(), values.end()),
                            *std::max_element(values.begin(), values.end())};
  }
  EXPECT_EQ(bars, output_ranges);
  EXPECT_EQ(bars.size(), 3U);  // A, B, C
  for (const char* alone :
       {R"(class="left-alone" data-track="D")", R"(class="left-alone" data-track="J")",
        R"(class="left-alone" data-track="Z")"}) {
    EXPECT_NE(svg.find(alone), std::string::npos) << alone;
  }
  EXPECT_NE(svg.find(R"(data-placement="left alone")"), std::string::npos);
}

}  // namespace
}  // namespace bivox::test
