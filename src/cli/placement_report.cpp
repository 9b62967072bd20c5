#include "cli/placement_report.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <vector>

namespace bivox::cli {
namespace {

bool was_placed(const TrackPlacement& t) {
  return t.placed > 0;
}

std::string signed_pan(int value) {
  char text[16];
  std::snprintf(text, sizeof text, value == 0 ? "%d" : "%+d", value);
  return text;
}

std::string pan_range(const TrackPlacement& t) {
  if (!was_placed(t)) return "-";
  if (t.lowest_pan == t.highest_pan) return signed_pan(t.lowest_pan);
  return signed_pan(t.lowest_pan) + " .. " + signed_pan(t.highest_pan);
}

std::string pitch_cell(int pitch) {
  return pitch_name(pitch) + " (" + std::to_string(pitch) + ")";
}

bool any_placed(const Placement& placement) {
  return std::any_of(placement.tracks.begin(), placement.tracks.end(), was_placed);
}

// Single-precision values shown with six decimals, as the trace line shows them.
double six_decimals(float value) {
  return std::round(static_cast<double>(value) * 1e6) / 1e6;
}

nlohmann::json pitch_json(int pitch) {
  return {{"pitch", pitch}, {"name", pitch_name(pitch)}};
}

nlohmann::json options_json(const StereoOptions& options) {
  nlohmann::json j = {{"pan_range", {options.pan_left, options.pan_right}},
                      {"pitch_range", nullptr},
                      {"leave", options.leave}};
  if (options.pitch_range) {
    j["pitch_range"] = {{"lowest", pitch_json(options.pitch_range->lowest)},
                        {"highest", pitch_json(options.pitch_range->highest)}};
  }
  return j;
}

}  // namespace

void print_placement(std::ostream& out, const Placement& placement) {
  using Row = std::array<std::string, 6>;
  std::vector<Row> rows = {{"track", "notes", "lowest", "highest", "placement", "pan"}};
  for (const TrackPlacement& t : placement.tracks) {
    rows.push_back({std::string(1, t.letter), std::to_string(t.notes), pitch_cell(t.lowest_pitch),
                    pitch_cell(t.highest_pitch), std::string(placement_name(t.kind)),
                    pan_range(t)});
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
  if (placement.tracks.empty()) out << "(no notes)\n";
  if (!placement.options.is_default()) {
    out << "stereo options: " << describe(placement.options) << '\n';
  }
  if (any_placed(placement)) {
    char line[96];
    std::snprintf(line, sizeof line, "pitch centre %f, scale %f\n",
                  static_cast<double>(placement.centre), static_cast<double>(placement.scale));
    out << line;
  }
}

nlohmann::json placement_json(const Placement& placement) {
  nlohmann::json tracks = nlohmann::json::array();
  for (const TrackPlacement& t : placement.tracks) {
    tracks.push_back({
        {"track", std::string(1, t.letter)},
        {"notes", t.notes},
        {"lowest", pitch_json(t.lowest_pitch)},
        {"highest", pitch_json(t.highest_pitch)},
        {"placement", std::string(placement_name(t.kind))},
        {"pan", was_placed(t) ? nlohmann::json{{"lowest", t.lowest_pan}, {"highest", t.highest_pan}}
                              : nlohmann::json(nullptr)},
    });
  }
  nlohmann::json j = {{"options", options_json(placement.options)},
                      {"centre", nullptr},
                      {"scale", nullptr},
                      {"tracks", tracks}};
  if (any_placed(placement)) {
    j["centre"] = six_decimals(placement.centre);
    j["scale"] = six_decimals(placement.scale);
  }
  return j;
}

}  // namespace bivox::cli
