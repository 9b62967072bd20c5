// Speed and memory of the three jobs on generated scores, measured against a plain copy of
// the same bytes in the same run, so that the figures hold as ratios on a shared machine.
//
// Times are the processor time of the benchmark process. Counters per benchmark:
//   MB/s         input megabytes per second for the whole job (bytes_per_second)
//   pass1_MBps   input megabytes per second of the first pass, pass2_MBps of the second
//                (the stereo conversion's second is mostly made from the first's marks)
//   x_copy       job time divided by the time of copying the score's bytes once
//   peak_MB      the highest heap use during the job, above what was in use before it
//   peak_budget  peak divided by the allowance 8 x input + 10 MB (at most 1 is on target)
//   complete     1 when every pass read the whole score
#include <benchmark/benchmark.h>
#include <time.h>

#include <map>
#include <span>
#include <string>
#include <vector>

#include "heap_meter.hpp"
#include "jobs/job_driver.hpp"
#include "score_generator.hpp"

namespace bivox::bench {
namespace {

constexpr double kMB = 1e6;

// The processor time of this process, system calls included: other work on a shared machine
// slows the wall clock but hardly this. A pass parses on a thread of its own (for its deep
// stack) while the caller waits, so the time of the calling thread alone would miss it.
double cpu_now() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double seconds_since(double start) {
  return cpu_now() - start;
}

// The machine's limit for this job: the score's bytes copied once.
double timed_copy(const std::string& bytes) {
  const auto start = cpu_now();
  std::string copy(bytes);
  benchmark::DoNotOptimize(copy.data());
  return seconds_since(start);
}

void run_job_benchmark(benchmark::State& state, Job job, const std::string& bytes) {
  const std::span<const JobSwitches> plan = passes_of(job);
  std::vector<double> pass_seconds(plan.size(), 0.0);
  double job_seconds = 0.0;
  double copy_seconds = 0.0;
  std::size_t peak = 0;
  bool complete = true;
  for (auto _ : state) {
    copy_seconds += timed_copy(bytes);
    SessionState session;
    const std::size_t before = heap_in_use();
    reset_heap_peak();
    // Each pass runs from its hook to the next one's, the last to the job's end.
    std::vector<double> pass_starts;
    JobOptions options;
    options.before_pass = [&](int) { pass_starts.push_back(cpu_now()); };
    const auto job_start = cpu_now();
    const JobResult result = run_job(session, job, bytes, "score.zrb", options);
    const auto job_end = cpu_now();
    for (std::size_t i = 0; i < pass_starts.size(); ++i) {
      pass_seconds[i] +=
          (i + 1 < pass_starts.size() ? pass_starts[i + 1] : job_end) - pass_starts[i];
    }
    complete = complete && result.complete();
    const double elapsed = job_end - job_start;
    job_seconds += elapsed;
    peak = std::max(peak, heap_peak() - before);
    state.SetIterationTime(elapsed);
  }
  const auto iterations = static_cast<double>(state.iterations());
  const auto size = static_cast<double>(bytes.size());
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(bytes.size()));
  for (std::size_t i = 0; i < plan.size(); ++i) {
    state.counters["pass" + std::to_string(i + 1) + "_MBps"] =
        size * iterations / pass_seconds[i] / kMB;
  }
  state.counters["x_copy"] = job_seconds / copy_seconds;
  state.counters["peak_MB"] = static_cast<double>(peak) / kMB;
  state.counters["peak_budget"] = static_cast<double>(peak) / (8.0 * size + 10.0 * kMB);
  state.counters["complete"] = complete ? 1 : 0;
}

void BM_Job(benchmark::State& state, Job job) {
  const auto size = static_cast<std::size_t>(state.range(0));
  static std::map<std::size_t, std::string> scores;
  auto [it, added] = scores.try_emplace(size);
  if (added) it->second = generate_score(size);
  run_job_benchmark(state, job, it->second);
}

void BM_Nested(benchmark::State& state, Job job) {
  const int depth = static_cast<int>(state.range(0));
  const std::string score = generate_nested_score(depth);
  run_job_benchmark(state, job, score);
  state.counters["s_per_level"] =
      benchmark::Counter(static_cast<double>(depth), benchmark::Counter::kIsIterationInvariantRate |
                                                         benchmark::Counter::kInvert);
}

void score_sizes(benchmark::internal::Benchmark* b) {
  for (const std::int64_t size : {10'000, 100'000, 250'000, 500'000, 1'000'000}) b->Arg(size);
  b->UseManualTime()->Unit(benchmark::kMillisecond);
}

void nesting_depths(benchmark::internal::Benchmark* b) {
  for (const std::int64_t depth : {250, 500, 1000, 1500, 2000, 3000}) b->Arg(depth);
  b->UseManualTime()->Unit(benchmark::kMillisecond);
}

BENCHMARK_CAPTURE(BM_Job, syntax, Job::syntax)->Apply(score_sizes);
BENCHMARK_CAPTURE(BM_Job, expand, Job::expand)->Apply(score_sizes);
BENCHMARK_CAPTURE(BM_Job, stereo, Job::stereo)->Apply(score_sizes);
BENCHMARK_CAPTURE(BM_Nested, syntax, Job::syntax)->Apply(nesting_depths);
BENCHMARK_CAPTURE(BM_Nested, stereo, Job::stereo)->Apply(nesting_depths);

}  // namespace
}  // namespace bivox::bench

BENCHMARK_MAIN();
