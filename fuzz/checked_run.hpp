#pragma once

#include <string>
#include <string_view>

#include "jobs/job_driver.hpp"

namespace bivox::fuzz {

// Runs one job on the score in the session and aborts when a promise to users is broken:
// the positions lie within the score, and the output is the rebuilt text in CR LF lines,
// followed by the message of a fatal stop when there was one.
struct CheckedRun {
  JobResult result;
  std::string output;  // the output file's bytes
};
CheckedRun run_checked(SessionState& session, Job job, std::string_view score);

// Aborts with the promise named when it does not hold.
void check(bool holds, const char* promise);

}  // namespace bivox::fuzz
