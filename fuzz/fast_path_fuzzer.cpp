// The engine's fast paths against the plain engine: a job (chosen by the first byte) on the
// remaining bytes, once each way in a fresh session, must give the same output bytes,
// diagnostics and their positions, stop and end positions, fatal stop, placement and trace
// lines. The first byte also chooses whether the fast paths run traced: a trace needs the
// stereo conversion's second pass run rather than made from the first.
#include <cstddef>
#include <cstdint>
#include <string>

#include "checked_run.hpp"

namespace {

struct Outcome {
  bivox::fuzz::CheckedRun run;
  std::string trace;
};

Outcome run_with(bool fast, bool traced, bivox::Job job, std::string_view score) {
  Outcome outcome;
  bivox::SessionState session;
  session.engine.fast_paths = fast;
  if (traced) session.engine.trace = [&](std::string_view line) { outcome.trace += line; };
  outcome.run = bivox::fuzz::run_checked(session, job, score);
  return outcome;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using bivox::fuzz::check;
  if (size == 0) return 0;
  static constexpr bivox::Job kJobs[] = {bivox::Job::syntax, bivox::Job::expand,
                                         bivox::Job::stereo};
  const bivox::Job job = kJobs[data[0] % 3];
  const std::string_view score(reinterpret_cast<const char*>(data) + 1, size - 1);
  const bool traced = data[0] / 3 % 2 == 0;
  const Outcome fast = run_with(true, traced, job, score);
  const Outcome plain = run_with(false, traced, job, score);
  check(fast.run.output == plain.run.output, "the fast paths write the same output");
  check(fast.run.result.diagnostics == plain.run.result.diagnostics,
        "the fast paths report the same diagnostics at the same places");
  check(
      fast.run.result.stop == plain.run.result.stop && fast.run.result.end == plain.run.result.end,
      "the fast paths stop where the plain engine stops");
  check(fast.run.result.fatal == plain.run.result.fatal, "the fast paths stop as fatally");
  check(fast.run.result.placement.tracks == plain.run.result.placement.tracks,
        "the fast paths place the same notes");
  check(fast.trace == plain.trace, "the fast paths trace the same lines");
  return 0;
}
