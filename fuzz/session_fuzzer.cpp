// A sequence of up to four jobs on different scores in one session, as consecutive button
// presses in the dialog: capture buffers and the nameless macro body carry over.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>

#include "checked_run.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static constexpr bivox::Job kJobs[] = {bivox::Job::syntax, bivox::Job::expand,
                                         bivox::Job::stereo};
  static constexpr int kMaxJobs = 4;
  FuzzedDataProvider provider(data, size);
  bivox::SessionState session;
  for (int i = 0; i < kMaxJobs && provider.remaining_bytes() > 0; ++i) {
    const bivox::Job job = kJobs[provider.ConsumeIntegralInRange<int>(0, 2)];
    const std::string score = i + 1 < kMaxJobs ? provider.ConsumeRandomLengthString()
                                               : provider.ConsumeRemainingBytesAsString();
    bivox::fuzz::run_checked(session, job, score);
  }
  return 0;
}
