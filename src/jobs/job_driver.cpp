#include "jobs/job_driver.hpp"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <new>
#include <sstream>

#include "engine/deep_stack.hpp"
#include "engine/fatal_stop.hpp"
#include "engine/terminals.hpp"
#include "grammar/grammar.hpp"
#include "text/format.hpp"
#include "text/messages.hpp"

namespace bivox {
namespace {

namespace fs = std::filesystem;

class OutputFile {
 public:
  explicit OutputFile(const std::string& path)
      : path_(path), out_(fs::path(path), std::ios::binary | std::ios::trunc) {
    if (!out_)
      throw FileError(path, FileError::Problem::unwritable, "cannot be opened for writing");
  }
  void write_and_close(std::string_view text) {
    const std::string bytes = text_mode(text);
    out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out_.close();
    if (!out_) throw FileError(path_, FileError::Problem::unwritable, "cannot be written");
  }

 private:
  std::string path_;
  std::ofstream out_;
};

bool same_file(const std::string& a, const std::string& b) {
  std::error_code ec;
  if (fs::equivalent(fs::path(a), fs::path(b), ec)) return true;
  return fs::weakly_canonical(fs::path(a), ec) == fs::weakly_canonical(fs::path(b), ec) && !ec;
}

struct PassPlan {
  JobMode mode;
  int pass_number;
};

}  // namespace

// Text-mode writing: every line feed becomes CR LF.
std::string text_mode(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  for (std::size_t from = 0; from < text.size();) {
    const std::size_t lf = std::min(text.find('\n', from), text.size());
    out.append(text.substr(from, lf - from));
    if (lf == text.size()) break;
    out += "\r\n";
    from = lf + 1;
  }
  return out;
}

std::string read_score(const std::string& path) {
  std::error_code ec;
  if (fs::is_directory(fs::path(path), ec))
    throw FileError(path, FileError::Problem::unreadable, "is a directory");
  std::ifstream in(fs::path(path), std::ios::binary);
  if (!in) throw FileError(path, FileError::Problem::unreadable, "cannot be opened for reading");
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (in.bad()) throw FileError(path, FileError::Problem::unreadable, "cannot be read");
  return std::move(bytes).str();
}

void reset_score_state(Session& session, bool keep_collected) {
  session.score.reset(keep_collected);
  if (!keep_collected) session.macros.entries.clear();
}

void set_job_mode(Session& session, JobMode mode, bool keep_collected) {
  reset_score_state(session, keep_collected);
  JobSwitches& sw = session.switches;
  sw.stereo = mode == JobMode::stereo;
  sw.plain_notes = mode == JobMode::expand || mode == JobMode::syntax;
  sw.expansion = mode == JobMode::expand;
}

void begin_pass(Session& session, int pass) {
  ScoreState& st = session.score;
  if (pass == 0) {
    session.switches.pass = 0;
    st.lowest_pitch.fill(500);
    st.highest_pitch.fill(-500);
    session.pitch = PitchScale{};
  } else {
    int lo = 500;
    int hi = -500;
    for (std::size_t t = 0; t < kTrackSlots; ++t) {
      if (st.pan_fixed[t] != 0) continue;
      if (st.lowest_pitch[t] <= lo) lo = st.lowest_pitch[t];
      if (st.highest_pitch[t] >= hi) hi = st.highest_pitch[t];
    }
    session.switches.pass = 1;
    if (session.switches.stereo) {
      const auto centre = static_cast<float>((static_cast<double>(hi) + lo) / 2.0);
      const auto scale = static_cast<float>(129.0 / (static_cast<double>(hi) - lo + 1.0));
      session.pitch = PitchScale{centre, scale};
      session.engine.emit_trace(format(msg::kTracePitchRange, lo, hi, static_cast<double>(centre),
                                       static_cast<double>(scale)));
    } else {
      session.pitch = PitchScale{};
    }
  }
  session.diagnostics.clear();
  session.placement.clear();
}

void run_pass(Session& session, int pass, const std::string& input, const std::string& output) {
  ParseContext& ctx = session.engine;
  ctx.values.reset();
  ctx.depth = 0;
  ctx.held_bytes = 0;
  begin_pass(session, pass);
  session.switches.pass = pass;
  ctx.input.open(read_score(input));
  OutputFile out(output);
  session.output.clear();
  try {
    try {
      run_with_deep_stack([&] {
        Grammar grammar(session);
        grammar.document();
        skip_spacing(ctx);
        session.stop_position = ctx.input.tell_pos();
        ctx.input.seek_end();
        session.end_position = ctx.input.tell_pos();
      });
    } catch (const std::bad_alloc&) {
      throw FatalStop(std::string(msg::kOutOfMemory));
    }
  } catch (const FatalStop& stop) {
    session.stop_position = ctx.input.tell_pos();
    ctx.input.seek_end();
    session.end_position = ctx.input.tell_pos();
    ctx.input.close();
    ctx.values.reset();
    out.write_and_close(session.output + stop.message());
    throw;
  }
  ctx.input.close();
  out.write_and_close(session.output);
}

void refuse_writing_over_input(const std::string& input, const std::string& output) {
  if (same_file(input, output))
    throw FileError(output, FileError::Problem::output_is_input,
                    "is the input itself; refusing to write over it");
}

JobResult run_job(Session& session, Job job, const std::string& input, const std::string& output,
                  const PassHook& before_pass) {
  refuse_writing_over_input(input, output);
  std::vector<PassPlan> passes;
  switch (job) {
    case Job::syntax:
      passes = {{JobMode::syntax, 0}};
      break;
    case Job::expand:
      passes = {{JobMode::expand, 0}, {JobMode::expand, 0}};
      break;
    case Job::stereo:
      passes = {{JobMode::stereo, 0}, {JobMode::stereo, 1}};
      break;
  }
  JobResult result;
  result.job = job;
  result.input = input;
  result.output = output;
  for (std::size_t i = 0; i < passes.size(); ++i) {
    if (before_pass) before_pass(static_cast<int>(i));
    set_job_mode(session, passes[i].mode, i > 0);
    try {
      run_pass(session, passes[i].pass_number, input, output);
    } catch (const FatalStop& stop) {
      result.fatal = stop.message();
      break;
    }
  }
  result.stop = session.stop_position;
  result.end = session.end_position;
  result.diagnostics = session.diagnostics.entries();
  result.diagnostic_positions = session.diagnostics.positions();
  if (job == Job::stereo) {
    result.pitch = session.pitch;
    for (std::size_t t = 0; t < kTrackSlots && !result.fatal; ++t) {
      const PlacementRecord::Track& record = session.placement.tracks[t];
      if (record.notes == 0) continue;
      result.tracks.push_back({static_cast<char>('A' + t), record, session.score.pan_fixed[t] != 0,
                               session.score.drum_track[t] != 0});
    }
  }
  return result;
}

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

std::string summary_line(std::string_view fmt, std::string_view path, const JobResult& result) {
  const std::string p(path);
  return format(fmt, p.c_str(), static_cast<unsigned long>(result.stop),
                static_cast<unsigned long>(result.end));
}

}  // namespace bivox
