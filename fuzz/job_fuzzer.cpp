// Arbitrary bytes as the score of one job, in a fresh session. Built once per job, with
// BIVOX_FUZZ_JOB naming it (syntax, expand or stereo).
#include <cstddef>
#include <cstdint>

#include "checked_run.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using bivox::fuzz::check;
  constexpr bivox::Job kJob = bivox::Job::BIVOX_FUZZ_JOB;
  bivox::SessionState session;
  const auto first =
      bivox::fuzz::run_checked(session, kJob, {reinterpret_cast<const char*>(data), size});
  // A score that the syntax test understood whole is rebuilt into one that it understands
  // whole and rebuilds the same: the normalisation loses nothing.
  if (kJob == bivox::Job::syntax && first.result.complete()) {
    bivox::SessionState fresh;
    const auto second = bivox::fuzz::run_checked(fresh, kJob, first.output);
    check(second.result.complete(), "the rebuilt score is understood whole");
    check(second.output == first.output, "rebuilding a rebuilt score changes nothing");
  }
  return 0;
}
