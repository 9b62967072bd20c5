#include "cli/placement_report.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <vector>

namespace bivox::cli {
namespace {

// Why a track got pan commands or not.
const char* placement_word(const TrackPlacement& t) {
  if (t.pan_fixed) return "pan fixed";
  if (t.letter == 'Z') return "track Z";
  if (t.drum) return "drum";
  return "placed";
}

bool was_placed(const TrackPlacement& t) {
  return t.record.placed > 0;
}

std::string signed_pan(int value) {
  char text[16];
  std::snprintf(text, sizeof text, value == 0 ? "%d" : "%+d", value);
  return text;
}

std::string pan_range(const TrackPlacement& t) {
  if (!was_placed(t)) return "-";
  const PlacementRecord::Track& r = t.record;
  if (r.lowest_pan == r.highest_pan) return signed_pan(r.lowest_pan);
  return signed_pan(r.lowest_pan) + " .. " + signed_pan(r.highest_pan);
}

std::string pitch_cell(int pitch) {
  return pitch_name(pitch) + " (" + std::to_string(pitch) + ")";
}

bool any_placed(const JobResult& result) {
  return std::any_of(result.tracks.begin(), result.tracks.end(), was_placed);
}

// Single-precision values shown with six decimals, as the trace line shows them.
double six_decimals(float value) {
  return std::round(static_cast<double>(value) * 1e6) / 1e6;
}

nlohmann::json pitch_json(int pitch) {
  return {{"pitch", pitch}, {"name", pitch_name(pitch)}};
}

}  // namespace

std::string pitch_name(int pitch) {
  static constexpr std::array<const char*, 12> kNames = {"C",  "C#", "D",  "D#", "E",  "F",
                                                         "F#", "G",  "G#", "A",  "A#", "B"};
  const long long p = pitch;
  const long long octave = p >= 0 ? p / 12 : -((-p + 11) / 12);
  return kNames[static_cast<std::size_t>(p - octave * 12)] + std::to_string(octave);
}

void print_placement(std::ostream& out, const JobResult& result) {
  using Row = std::array<std::string, 6>;
  std::vector<Row> rows = {{"track", "notes", "lowest", "highest", "placement", "pan"}};
  for (const TrackPlacement& t : result.tracks) {
    rows.push_back({std::string(1, t.letter), std::to_string(t.record.notes),
                    pitch_cell(t.record.lowest_pitch), pitch_cell(t.record.highest_pitch),
                    placement_word(t), pan_range(t)});
  }
  std::array<std::size_t, 6> width{};
  for (const Row& row : rows) {
    for (std::size_t c = 0; c < row.size(); ++c) width[c] = std::max(width[c], row[c].size());
  }
  for (const Row& row : rows) {
    std::string line;
    for (std::size_t c = 0; c < row.size(); ++c) {
      const std::string pad(width[c] - row[c].size(), ' ');
      line += c == 1 ? pad + row[c] : row[c] + (c + 1 < row.size() ? pad : "");
      if (c + 1 < row.size()) line += "  ";
    }
    out << line << '\n';
  }
  if (result.tracks.empty()) out << "(no notes)\n";
  if (any_placed(result)) {
    char line[96];
    std::snprintf(line, sizeof line, "pitch centre %f, scale %f\n",
                  static_cast<double>(result.pitch.centre),
                  static_cast<double>(result.pitch.scale));
    out << line;
  }
}

nlohmann::json placement_json(const JobResult& result) {
  nlohmann::json tracks = nlohmann::json::array();
  for (const TrackPlacement& t : result.tracks) {
    const PlacementRecord::Track& r = t.record;
    tracks.push_back({
        {"track", std::string(1, t.letter)},
        {"notes", r.notes},
        {"lowest", pitch_json(r.lowest_pitch)},
        {"highest", pitch_json(r.highest_pitch)},
        {"placement", placement_word(t)},
        {"pan", was_placed(t) ? nlohmann::json{{"lowest", r.lowest_pan}, {"highest", r.highest_pan}}
                              : nlohmann::json(nullptr)},
    });
  }
  nlohmann::json j = {{"centre", nullptr}, {"scale", nullptr}, {"tracks", tracks}};
  if (any_placed(result)) {
    j["centre"] = six_decimals(result.pitch.centre);
    j["scale"] = six_decimals(result.pitch.scale);
  }
  return j;
}

}  // namespace bivox::cli
