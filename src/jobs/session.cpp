// The public face of the core: sessions, job names, display lines, texts and pitches.
#include <algorithm>
#include <array>

#include "bivox/bivox.hpp"
#include "jobs/job_driver.hpp"
#include "text/encoding.hpp"

namespace bivox {

std::string_view job_name(Job job) {
  return std::find_if(kJobNames.begin(), kJobNames.end(),
                      [&](const JobName& n) { return n.job == job; })
      ->name;
}

std::optional<Job> job_named(std::string_view name) {
  for (const JobName& n : kJobNames) {
    if (n.name == name) return n.job;
  }
  return std::nullopt;
}

std::string_view placement_name(TrackPlacement::Kind kind) {
  switch (kind) {
    case TrackPlacement::Kind::pan_fixed:
      return "pan fixed";
    case TrackPlacement::Kind::drum:
      return "drum";
    case TrackPlacement::Kind::track_z:
      return "track Z";
    case TrackPlacement::Kind::left_alone:
      return "left alone";
    case TrackPlacement::Kind::placed:
      break;
  }
  return "placed";
}

std::vector<std::string> JobResult::display_lines() const {
  const bool utf8_name = summary_encoding == NameEncoding::utf8;
  return display_block<std::string>(
      [](const std::string& line) { return line; },
      [&](const std::string& text) { return utf8_name ? to_utf8(text) : text; });
}

Session::Session() : state_(std::make_unique<SessionState>()) {}
Session::~Session() = default;

JobResult Session::run(Job job, std::string_view score, std::string_view name,
                       const JobOptions& options) {
  return run_job(*state_, job, score, name, options);
}

void Session::set_trace(TraceSink sink) {
  state_->engine.trace = std::move(sink);
}

bool cp932_lead(unsigned char byte) {
  return is_cp932_lead(byte);
}

std::string to_utf8(std::string_view cp932) {
  return cp932_to_utf8(cp932);
}

std::optional<std::string> to_cp932(std::string_view utf8, std::size_t* bad_offset) {
  return utf8_to_cp932(utf8, bad_offset);
}

std::string to_cp932_lossy(std::string_view utf8) {
  return utf8_to_cp932_lossy(utf8);
}

std::string pitch_name(int pitch) {
  static constexpr std::array<const char*, 12> kNames = {"C",  "C#", "D",  "D#", "E",  "F",
                                                         "F#", "G",  "G#", "A",  "A#", "B"};
  const long long p = pitch;
  const long long octave = p >= 0 ? p / 12 : -((-p + 11) / 12);
  return kNames[static_cast<std::size_t>(p - octave * 12)] + std::to_string(octave);
}

}  // namespace bivox
