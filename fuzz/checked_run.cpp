#include "checked_run.hpp"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace bivox::fuzz {
namespace {

[[noreturn]] void broken(const char* promise) {
  std::fprintf(stderr, "bivox fuzz: broken promise: %s\n", promise);
  std::abort();
}

bool ends_with(std::string_view text, std::string_view tail) {
  return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

void check_output(std::string_view out, const JobResult& result) {
  for (std::size_t i = 0; i < out.size(); ++i) {
    if (out[i] == '\n')
      check(i > 0 && out[i - 1] == '\r', "every line of the output ends in CR LF");
  }
  if (result.fatal) {
    check(ends_with(*result.fatal, "!!!\n"), "a fatal stop's message ends in !!! and a line feed");
    check(ends_with(out, text_mode(*result.fatal)), "a fatal stop's message ends the output");
  } else {
    check(out.empty() || ends_with(out, "\r\n"), "the rebuilt text ends with a line feed");
  }
}

}  // namespace

void check(bool holds, const char* promise) {
  if (!holds) broken(promise);
}

CheckedRun run_checked(SessionState& session, Job job, std::string_view score) {
  const JobResult result = run_job(session, job, score, "score.zrb", {});
  check(result.end == static_cast<Position>(score.size()), "the end position is the file length");
  check(result.stop >= 0 && result.stop <= result.end, "the stop position lies within the file");
  CheckedRun run{result, result.output};
  check_output(run.output, result);
  return run;
}

}  // namespace bivox::fuzz
