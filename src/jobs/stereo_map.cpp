// The stereo map: the placement of a stereo conversion drawn as an SVG. Every face shows
// this one picture (bivox-cli writes it, the dialog renders it); docs/stereo-map.md
// describes its elements so that a face drawing its own from the placement JSON looks alike.
#include <algorithm>
#include <cstdio>
#include <string>
#include <string_view>

#include "bivox/bivox.hpp"

namespace bivox {
namespace {

// Geometry, in SVG user units.
constexpr int kWidth = 720;
constexpr int kAxisLeft = 120;   // x of pan -64
constexpr int kAxisRight = 600;  // x of pan +64
constexpr int kAxisY = 84;
constexpr int kFirstRowY = 100;
constexpr int kRowHeight = 30;
constexpr int kBarHeight = 14;
constexpr int kListLineHeight = 20;
constexpr int kMinBarWidth = 4;

constexpr std::string_view kFont = "sans-serif";
constexpr std::string_view kInk = "#222222";
constexpr std::string_view kFaint = "#777777";

double x_of(double pan) {
  return kAxisLeft + (pan + kPanLimit) * (kAxisRight - kAxisLeft) / (2.0 * kPanLimit);
}

std::string number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

std::string six_decimals(float value) {
  char text[48];
  std::snprintf(text, sizeof text, "%f", static_cast<double>(value));
  return text;
}

std::string escaped(std::string_view text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string attr(std::string_view name, std::string_view value) {
  return " " + std::string(name) + "=\"" + escaped(value) + "\"";
}
std::string attr(std::string_view name, double value) {
  return attr(name, number(value));
}

std::string text_element(double x, double y, std::string_view anchor, int size,
                         std::string_view fill, const std::string& data, std::string_view text) {
  return "<text" + attr("x", x) + attr("y", y) + attr("text-anchor", anchor) +
         attr("font-family", kFont) + attr("font-size", size) + attr("fill", fill) + data + ">" +
         escaped(text) + "</text>\n";
}

std::string track_data(const TrackPlacement& t) {
  return attr("data-track", std::string(1, t.letter)) + attr("data-lowest-pitch", t.lowest_pitch) +
         attr("data-highest-pitch", t.highest_pitch);
}

std::string options_line(const StereoOptions& options) {
  const std::string changed = describe(options);
  return changed.empty() ? "whole field, measured pitch range" : changed;
}

std::string header(const Placement& p, std::string_view title, int height) {
  const StereoOptions& o = p.options;
  std::string data = attr("data-pan-left", o.pan_left) + attr("data-pan-right", o.pan_right) +
                     attr("data-centre", six_decimals(p.centre)) +
                     attr("data-scale", six_decimals(p.scale));
  if (o.pitch_range) {
    data += attr("data-lowest-pitch", o.pitch_range->lowest) +
            attr("data-highest-pitch", o.pitch_range->highest);
  }
  if (!o.leave.empty()) data += attr("data-leave", o.leave);
  std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.2\" baseProfile=\"tiny\"" +
         attr("width", kWidth) + attr("height", height) +
         attr("viewBox", "0 0 " + std::to_string(kWidth) + " " + std::to_string(height)) + data +
         ">\n";
  svg += "<title>" + escaped(std::string("Stereo map of ") + std::string(title)) + "</title>\n";
  svg += "<defs><linearGradient id=\"pan\" gradientUnits=\"userSpaceOnUse\"" +
         attr("x1", kAxisLeft) + attr("y1", 0) + attr("x2", kAxisRight) + attr("y2", 0) +
         "><stop offset=\"0\" stop-color=\"#2f6fb3\"/><stop offset=\"1\" "
         "stop-color=\"#d9822b\"/></linearGradient></defs>\n";
  svg += "<rect" + attr("class", "background") + attr("x", 0) + attr("y", 0) +
         attr("width", kWidth) + attr("height", height) + attr("fill", "#ffffff") + "/>\n";
  svg += text_element(16, 28, "start", 16, kInk, attr("class", "title"), title);
  svg += text_element(16, 48, "start", 12, kFaint, attr("class", "options"), options_line(o));
  return svg;
}

// The pan axis with its ticks, the band of the pan range in effect and the centre line,
// from the axis down to `bottom`.
std::string axis(const StereoOptions& o, int bottom) {
  const int low = std::min(o.pan_left, o.pan_right);
  const int high = std::max(o.pan_left, o.pan_right);
  std::string svg = "<rect" + attr("class", "pan-range") + attr("data-pan-left", o.pan_left) +
                    attr("data-pan-right", o.pan_right) + attr("x", x_of(low)) + attr("y", kAxisY) +
                    attr("width", x_of(high) - x_of(low)) + attr("height", bottom - kAxisY) +
                    attr("fill", "#eef2f7") + "/>\n";
  svg += "<line" + attr("class", "axis") + attr("x1", kAxisLeft) + attr("y1", kAxisY) +
         attr("x2", kAxisRight) + attr("y2", kAxisY) + attr("stroke", kInk) + "/>\n";
  for (int pan = -kPanLimit; pan <= kPanLimit; pan += kPanLimit / 2) {
    const double x = x_of(pan);
    svg += "<line" + attr("class", "tick") + attr("data-pan", pan) + attr("x1", x) +
           attr("y1", kAxisY - 4) + attr("x2", x) + attr("y2", kAxisY) + attr("stroke", kInk) +
           "/>\n";
    const std::string label = pan > 0 ? "+" + std::to_string(pan) : std::to_string(pan);
    svg += text_element(x, kAxisY - 8, "middle", 11, kInk,
                        attr("class", "tick-label") + attr("data-pan", pan), label);
  }
  svg += text_element(kAxisLeft - 10, kAxisY + 4, "end", 12, kInk, attr("class", "side"), "L");
  svg += text_element(kAxisRight + 10, kAxisY + 4, "start", 12, kInk, attr("class", "side"), "R");
  svg += "<line" + attr("class", "centre-line") + attr("data-pan", 0) + attr("x1", x_of(0)) +
         attr("y1", kAxisY) + attr("x2", x_of(0)) + attr("y2", bottom) + attr("stroke", kFaint) +
         attr("stroke-dasharray", "4 3") + "/>\n";
  return svg;
}

// One placed track: its letter, the bar from its lowest to its highest pan, and the note
// names of its pitches at the bar's ends (the lowest pitch at the left unless the pan range
// runs from right to left).
std::string track_row(const TrackPlacement& t, bool reversed, int y) {
  const std::string letter(1, t.letter);
  const double mid_y = y + kRowHeight / 2.0;
  const double left = x_of(t.lowest_pan);
  const double right = x_of(t.highest_pan);
  const double width = std::max(right - left, static_cast<double>(kMinBarWidth));
  const double bar_x = (left + right - width) / 2.0;
  std::string svg = "<g" + attr("class", "track") + attr("data-track", letter) +
                    attr("data-placement", placement_name(t.kind)) + attr("data-notes", t.notes) +
                    attr("data-placed", t.placed) + ">\n";
  svg += text_element(24, mid_y + 5, "start", 14, kInk,
                      attr("class", "track-label") + attr("data-track", letter), letter);
  svg += "<rect" + attr("class", "bar") + track_data(t) + attr("data-lowest-pan", t.lowest_pan) +
         attr("data-highest-pan", t.highest_pan) + attr("x", bar_x) +
         attr("y", mid_y - kBarHeight / 2.0) + attr("width", width) + attr("height", kBarHeight) +
         attr("rx", 3) + attr("fill", "url(#pan)") + "/>\n";
  const int left_pitch = reversed ? t.highest_pitch : t.lowest_pitch;
  const int right_pitch = reversed ? t.lowest_pitch : t.highest_pitch;
  const auto pitch_label = [&](double x, std::string_view anchor, int pitch, int pan) {
    return text_element(x, mid_y + 4, anchor, 11, kInk,
                        attr("class", "pitch-label") + attr("data-track", letter) +
                            attr("data-pitch", pitch) + attr("data-pan", pan),
                        pitch_name(pitch));
  };
  svg += pitch_label(bar_x - 6, "end", left_pitch, t.lowest_pan);
  svg += pitch_label(bar_x + width + 6, "start", right_pitch, t.highest_pan);
  return svg + "</g>\n";
}

// The pitches of a track: "C4..G5", or one name when they are the same.
std::string pitch_span(const TrackPlacement& t) {
  const std::string lowest = pitch_name(t.lowest_pitch);
  return t.lowest_pitch == t.highest_pitch ? lowest : lowest + ".." + pitch_name(t.highest_pitch);
}

// A track left alone, as a line of the list beneath the rows: its letter in the column of
// the rows' letters, then its pitches, why it was left alone and its number of notes.
std::string left_alone_line(const TrackPlacement& t, int y) {
  const std::string letter(1, t.letter);
  const std::string why(placement_name(t.kind));
  std::string svg = "<g" + attr("class", "left-alone") + track_data(t) +
                    attr("data-placement", why) + attr("data-notes", t.notes) + ">\n";
  svg += text_element(24, y, "start", 12, kInk,
                      attr("class", "track-label") + attr("data-track", letter), letter);
  svg += text_element(48, y, "start", 12, kInk,
                      attr("class", "left-alone-details") + attr("data-track", letter),
                      pitch_span(t) + ", " + why + ", " + std::to_string(t.notes) +
                          (t.notes == 1 ? " note" : " notes"));
  return svg + "</g>\n";
}

}  // namespace

std::string stereo_map_svg(const Placement& placement, std::string_view title) {
  std::vector<const TrackPlacement*> placed;
  std::vector<const TrackPlacement*> alone;
  for (const TrackPlacement& t : placement.tracks) (t.placed > 0 ? placed : alone).push_back(&t);
  const int rows = std::max(static_cast<int>(placed.size()), 1);
  const int rows_bottom = kFirstRowY + rows * kRowHeight;
  const int list_top = rows_bottom + 24;
  const int height =
      list_top + (alone.empty() ? 0 : kListLineHeight * (static_cast<int>(alone.size()) + 1));

  std::string svg = header(placement, title, height);
  svg += axis(placement.options, rows_bottom);
  const bool reversed = placement.options.pan_right < placement.options.pan_left;
  int y = kFirstRowY;
  for (const TrackPlacement* t : placed) {
    svg += track_row(*t, reversed, y);
    y += kRowHeight;
  }
  if (placed.empty()) {
    svg += text_element(x_of(0), kFirstRowY + kRowHeight / 2.0 + 5, "middle", 12, kFaint,
                        attr("class", "no-placed-notes"), "no note was placed");
  }
  if (!alone.empty()) {
    y = list_top + kListLineHeight / 2;
    svg += text_element(16, y, "start", 12, kFaint, attr("class", "left-alone-heading"),
                        "Left alone:");
    for (const TrackPlacement* t : alone) {
      y += kListLineHeight;
      svg += left_alone_line(*t, y);
    }
  }
  return svg + "</svg>\n";
}

}  // namespace bivox
