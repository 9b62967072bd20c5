#include "jobs/job_driver.hpp"

#if defined(__unix__) || defined(__APPLE__)
#include <pthread.h>
#endif

#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <new>
#include <optional>

#include "engine/fatal_stop.hpp"
#include "engine/terminals.hpp"
#include "grammar/grammar.hpp"
#include "text/format.hpp"
#include "text/messages.hpp"

namespace bivox {
namespace {

namespace fs = std::filesystem;

std::string read_score(const std::string& path) {
  std::error_code ec;
  if (fs::is_directory(fs::path(path), ec)) throw FileError(path, "is a directory");
  std::ifstream in(fs::path(path), std::ios::binary);
  if (!in) throw FileError(path, "cannot be opened for reading");
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw FileError(path, "cannot be read");
  return bytes;
}

// Text-mode writing: every line feed becomes CR LF.
std::string text_mode(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (const char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

class OutputFile {
 public:
  explicit OutputFile(const std::string& path)
      : path_(path), out_(fs::path(path), std::ios::binary | std::ios::trunc) {
    if (!out_) throw FileError(path, "cannot be opened for writing");
  }
  void write_and_close(std::string_view text) {
    const std::string bytes = text_mode(text);
    out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out_.close();
    if (!out_) throw FileError(path_, "cannot be written");
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

// The grammar recurses a few machine frames per rule activation, up to
// ParseContext::kMaxDepth activations. The caller's stack is whatever the platform gives
// (8 MB on Linux, less for secondary threads, and sanitizers make frames larger), so a parse
// runs on a thread of its own whose stack holds the deepest nesting with room to spare.
constexpr std::size_t kParseStackBytes = std::size_t{256} << 20;

template <class Work>
void run_on_parse_stack(Work& work) {
  std::exception_ptr failure;
  auto guarded = [&] {
    try {
      work();
    } catch (...) {
      failure = std::current_exception();
    }
  };
#if defined(__unix__) || defined(__APPLE__)
  using Guarded = decltype(guarded);
  pthread_attr_t attr;
  pthread_attr_init(&attr);
  pthread_attr_setstacksize(&attr, kParseStackBytes);
  pthread_t thread;
  const auto start = [](void* arg) -> void* {
    (*static_cast<Guarded*>(arg))();
    return nullptr;
  };
  const bool started = pthread_create(&thread, &attr, start, &guarded) == 0;
  pthread_attr_destroy(&attr);
  if (!started) throw std::bad_alloc();
  pthread_join(thread, nullptr);
#else
  // Elsewhere the pass runs on the caller's stack, which the executable must reserve.
  guarded();
#endif
  if (failure) std::rethrow_exception(failure);
}

struct PassPlan {
  JobMode mode;
  int pass_number;
};

}  // namespace

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
  auto parse = [&] {
    Grammar grammar(session);
    grammar.document();
    skip_spacing(ctx);
  };
  std::optional<FatalStop> stopped;
  try {
    try {
      run_on_parse_stack(parse);
    } catch (const std::bad_alloc&) {
      throw FatalStop(std::string(msg::kOutOfMemory));
    }
  } catch (const FatalStop& stop) {
    stopped = stop;
  }
  // Where the parse ended, or where a limit was met: positions of this file, never of an
  // earlier one.
  session.stop_position = ctx.input.tell_pos();
  ctx.input.seek_end();
  session.end_position = ctx.input.tell_pos();
  ctx.input.close();
  if (!stopped) {
    out.write_and_close(session.output);
    return;
  }
  ctx.values.reset();
  out.write_and_close(session.output + stopped->message());
  throw *stopped;
}

JobResult run_job(Session& session, Job job, const std::string& input, const std::string& output,
                  const PassHook& before_pass) {
  if (same_file(input, output))
    throw FileError(output, "is the input itself; refusing to write over it");
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
