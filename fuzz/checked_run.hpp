#pragma once

#include <string>
#include <string_view>

#include "jobs/job_driver.hpp"

namespace bivox::fuzz {

// Runs one job on the score in the session, through real files in a directory private to
// this process, and aborts when a promise to users is broken: the input must be left as it
// was, nothing may be written beside the output file, and the output must be the rebuilt
// text in CR LF lines, followed by the message of a fatal stop when there was one.
struct CheckedRun {
  JobResult result;
  std::string output;  // the output file's bytes
};
CheckedRun run_checked(Session& session, Job job, std::string_view score);

// Aborts with the promise named when it does not hold.
void check(bool holds, const char* promise);

}  // namespace bivox::fuzz
