#include "jobs/job_driver.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <new>
#include <span>

#include "engine/deep_stack.hpp"
#include "engine/fatal_stop.hpp"
#include "engine/terminals.hpp"
#include "grammar/grammar.hpp"
#include "grammar/placement_marks.hpp"
#include "jobs/stereo_options.hpp"
#include "text/encoding.hpp"
#include "text/format.hpp"
#include "text/messages.hpp"

namespace bivox {
namespace {

// The passes of each job: the switches each runs with, the pass number among them. Both
// passes of the macro expansion expand; the second also resolves references that stand
// before their definitions.
constexpr JobSwitches kSyntaxPasses[] = {{.plain_notes = true, .pass = 0}};
constexpr JobSwitches kExpandPasses[] = {
    {.plain_notes = true, .expansion = true, .pass = 0},
    {.plain_notes = true, .expansion = true, .pass = 0},
};
constexpr JobSwitches kStereoPasses[] = {
    {.stereo = true, .pass = 0},
    {.stereo = true, .pass = 1},
};

}  // namespace

std::span<const JobSwitches> passes_of(Job job) {
  switch (job) {
    case Job::syntax:
      return kSyntaxPasses;
    case Job::expand:
      return kExpandPasses;
    case Job::stereo:
      break;
  }
  return kStereoPasses;
}

namespace {

// The lowest and highest pitch over the tracks that take pan commands.
std::pair<int, int> placed_pitch_range(const ScoreState& st) {
  int lo = kNoLowestPitch;
  int hi = kNoHighestPitch;
  for (std::size_t t = 0; t < kTrackSlots; ++t) {
    if (st.pan_fixed[t]) continue;
    lo = std::min(lo, st.lowest_pitch[t]);
    hi = std::max(hi, st.highest_pitch[t]);
  }
  return {lo, hi};
}

bool left_alone(const StereoOptions& options, std::size_t t) {
  return options.leave.find(static_cast<char>('A' + t)) != std::string::npos;
}

TrackPlacement::Kind placement_kind(const SessionState& session, std::size_t t) {
  const ScoreState& st = session.score;
  if (left_alone(session.stereo, t)) return TrackPlacement::Kind::left_alone;
  if (st.pan_fixed[t]) return TrackPlacement::Kind::pan_fixed;
  if (static_cast<int>(t) == kTrackZ) return TrackPlacement::Kind::track_z;
  if (st.drum_track[t]) return TrackPlacement::Kind::drum;
  return TrackPlacement::Kind::placed;
}

// The centre and scale used, and (unless a fatal stop cut the pass short) the tracks.
Placement placement_of(const SessionState& session, bool with_tracks) {
  Placement placement{session.stereo, session.pitch.centre, session.pitch.scale, {}};
  for (std::size_t t = 0; t < kTrackSlots && with_tracks; ++t) {
    const PlacementRecord::Track& r = session.placement.tracks[t];
    if (r.notes == 0) continue;
    placement.tracks.push_back({static_cast<char>('A' + t), placement_kind(session, t), r.notes,
                                r.lowest_pitch, r.highest_pitch, r.placed, r.lowest_pan,
                                r.highest_pan});
  }
  return placement;
}

// The summary line's format for the job: complete, or stopped early with two positions.
std::string_view summary_format(Job job, bool complete) {
  switch (job) {
    case Job::syntax:
      return complete ? msg::kSyntaxComplete : msg::kSyntaxStopped;
    case Job::expand:
      return complete ? msg::kExpandComplete : msg::kExpandStopped;
    case Job::stereo:
      break;
  }
  return complete ? msg::kStereoComplete : msg::kStereoStopped;
}

}  // namespace

std::string summary_line(const JobResult& r, NameEncoding encoding) {
  const std::string_view fmt = summary_format(r.job, r.complete());
  const std::string name = r.current_name();
  const auto stop = static_cast<unsigned long>(r.stop);
  const auto end = static_cast<unsigned long>(r.end);
  if (encoding == NameEncoding::cp932) return format(fmt, name.c_str(), stop, end);
  return format(cp932_to_utf8(fmt), name.c_str(), stop, end);
}

namespace {

// Where the last line feed before `end` stands, or npos; eight bytes at a time where none is.
std::size_t last_feed(const char* text, std::size_t end) {
  constexpr std::uint64_t kOnes = 0x0101010101010101U;
  constexpr std::uint64_t kHighs = 0x8080808080808080U;
  constexpr std::uint64_t kFeeds = kOnes * '\n';
  for (; end >= 8; end -= 8) {
    std::uint64_t word = 0;
    std::memcpy(&word, text + end - 8, 8);
    const std::uint64_t x = word ^ kFeeds;  // a zero byte where a line feed is
    if (((x - kOnes) & ~x & kHighs) != 0) break;
  }
  while (end > 0) {
    if (text[--end] == '\n') return end;
  }
  return std::string::npos;
}

}  // namespace

void to_text_mode(std::string& text) {
  std::size_t feeds = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
  if (feeds == 0) return;
  // From the back, each line moved once to its place; the text before the first line feed
  // stays where it is.
  std::size_t end = text.size();
  text.resize(text.size() + feeds);
  std::size_t to = text.size();
  for (; feeds > 0; --feeds) {
    const std::size_t feed = last_feed(text.data(), end);
    const std::size_t line = end - feed - 1;
    to -= line;
    std::char_traits<char>::move(text.data() + to, text.data() + feed + 1, line);
    text[--to] = '\n';
    text[--to] = '\r';
    end = feed;
  }
}

std::string text_mode(std::string_view text) {
  std::string out(text);
  to_text_mode(out);
  return out;
}

void start_pass(SessionState& session, const JobSwitches& switches, bool keep_collected) {
  session.score.reset(keep_collected);
  if (!keep_collected) session.macros.entries.clear();
  session.switches = switches;
}

namespace {

// The centre and scale that spread the pitch range [lo, hi] over the pan range: the
// centre is the range's middle, the scale (2 * half + 1) / (hi - lo + 1) with half the
// pan range's half width (129 / (hi - lo + 1) for the whole field), both computed in
// double and stored in single precision.
PitchScale pitch_scale(const StereoOptions& options, int lo, int hi) {
  const int left = options.pan_left;
  const int right = options.pan_right;
  const double half = std::abs(static_cast<double>(right) - left) / 2.0;
  PitchScale s;
  s.centre = static_cast<float>((static_cast<double>(hi) + lo) / 2.0);
  s.scale = static_cast<float>((2.0 * half + 1.0) / (static_cast<double>(hi) - lo + 1.0));
  s.reversed = right < left;
  s.mid = static_cast<float>((static_cast<double>(left) + right) / 2.0);
  s.lowest_pan = std::min(left, right);
  s.highest_pan = std::max(left, right);
  return s;
}

// Tracks the options leave alone count as pan fixed from the start of the job.
void leave_alone(ScoreState& st, const StereoOptions& options) {
  for (const char letter : options.leave) {
    st.pan_fixed[static_cast<std::size_t>(track_slot(letter))] = true;
  }
}

// The pass number, and the pitch ranges and scale the pass places notes with.
void set_pass_scale(SessionState& session, int pass) {
  session.switches.pass = pass;
  if (pass == 0) {
    session.score.forget_pitch_ranges();
    session.pitch = PitchScale{};
    if (session.switches.stereo) leave_alone(session.score, session.stereo);
  } else if (session.switches.stereo) {
    const std::optional<PitchRange>& fixed = session.stereo.pitch_range;
    const auto [lo, hi] =
        fixed ? std::pair{fixed->lowest, fixed->highest} : placed_pitch_range(session.score);
    session.pitch = pitch_scale(session.stereo, lo, hi);
    session.engine.emit_trace(format(msg::kTracePitchRange, lo, hi,
                                     static_cast<double>(session.pitch.centre),
                                     static_cast<double>(session.pitch.scale)));
  } else {
    session.pitch = PitchScale{};
  }
}

// A stereo conversion's first pass writes marks where the second can be made from them:
// with the fast paths on, and where no trace or note record needs the second pass run.
void start_marks(SessionState& session, Job job, std::string_view score,
                 const JobOptions& options) {
  const bool may_mark = job == Job::stereo && session.engine.fast_paths && !session.engine.trace &&
                        !options.record_notes;
  session.mark = may_mark ? choose_mark(score) : 0;
  session.lowest_report = session.highest_report = 0;
  session.diagnostics.keep_more(session.mark != 0);
}

void stop_marks(SessionState& session) {
  session.mark = 0;
  session.diagnostics.keep_more(false);
}

// Makes the second pass from the marks of the first where it can; otherwise it is run.
bool second_pass_made_from_marks(SessionState& session, int pass) {
  if (session.mark == 0) return false;
  set_pass_scale(session, pass);
  const bool made = second_pass_from_marks_fits(session);
  if (made) make_second_pass_from_marks(session);
  stop_marks(session);
  return made;
}

}  // namespace

void begin_pass(SessionState& session, int pass) {
  set_pass_scale(session, pass);
  session.diagnostics.clear();
  session.placement.clear();
}

void run_pass(SessionState& session, int pass, std::string_view score) {
  ParseContext& ctx = session.engine;
  ctx.reset();
  begin_pass(session, pass);
  ctx.input.open(score);
  session.output.clear();
  // Room for the rebuilt text and the line ends of its file, mostly: reserved once, touched
  // only as far as it is written, and kept for the passes that follow.
  session.output.reserve(score.size() + score.size() / 2);
  const auto record_stop = [&] {
    session.stop_position = ctx.input.tell_pos();
    ctx.input.seek_end();
    session.end_position = ctx.input.tell_pos();
  };
  try {
    try {
      run_with_deep_stack([&] {
        Grammar grammar(session);
        grammar.document();
        skip_spacing(ctx);
        record_stop();
      });
    } catch (const std::bad_alloc&) {
      throw FatalStop(std::string(msg::kOutOfMemory));
    }
  } catch (const FatalStop& stop) {
    record_stop();
    ctx.reset();
    session.output += stop.message();
    throw;
  }
}

JobResult run_job(SessionState& session, Job job, std::string_view score, std::string_view name,
                  const JobOptions& options) {
  JobResult result;
  result.job = job;
  result.name = name;
  result.output_name = options.output_name.empty() ? make_output_name(name, options.name_encoding)
                                                   : options.output_name;
  if (job == Job::stereo) check_stereo_options(options.stereo);
  session.stereo = job == Job::stereo ? options.stereo : StereoOptions{};
  const std::span<const JobSwitches> passes = passes_of(job);
  start_marks(session, job, score, options);
  bool in_text_mode = false;
  for (std::size_t i = 0; i < passes.size(); ++i) {
    if (options.before_pass) options.before_pass(static_cast<int>(i));
    start_pass(session, passes[i], i > 0);
    const bool last = i + 1 == passes.size();
    session.note_log = options.record_notes && last ? &result.notes : nullptr;
    in_text_mode = i > 0 && second_pass_made_from_marks(session, passes[i].pass);
    if (in_text_mode) continue;
    try {
      run_pass(session, passes[i].pass, score);
    } catch (const FatalStop& stop) {
      if (session.mark != 0) unmark_first_pass(session);
      result.fatal = stop.message();
      break;
    }
  }
  stop_marks(session);
  session.engine.input.close();
  session.note_log = nullptr;
  // The placement reads the tracks the options leave alone as pan fixed.
  for (NotePlacement& note : result.notes) {
    if (note.kind == NotePlacement::Kind::pan_fixed &&
        left_alone(session.stereo, static_cast<std::size_t>(track_slot(note.letter)))) {
      note.kind = NotePlacement::Kind::left_alone;
    }
  }
  if (!in_text_mode) to_text_mode(session.output);
  result.output = std::move(session.output);
  result.stop = session.stop_position;
  result.end = session.end_position;
  const auto& entries = session.diagnostics.entries();
  const auto& positions = session.diagnostics.positions();
  result.diagnostics.reserve(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    result.diagnostics.push_back({entries[i], positions[i]});
  }
  if (job == Job::stereo) result.placement = placement_of(session, !result.fatal);
  result.summary = summary_line(result, options.name_encoding);
  result.summary_encoding = options.name_encoding;
  return result;
}

}  // namespace bivox
