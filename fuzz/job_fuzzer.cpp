// Arbitrary bytes as the score of one job, in a fresh session. Built once per job, with
// BIVOX_FUZZ_JOB naming it (syntax, expand or stereo).
#include <cstddef>
#include <cstdint>

#include "checked_run.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  bivox::Session session;
  bivox::fuzz::run_checked(session, bivox::Job::BIVOX_FUZZ_JOB,
                           {reinterpret_cast<const char*>(data), size});
  return 0;
}
