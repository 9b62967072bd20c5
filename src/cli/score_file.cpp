#include "cli/score_file.hpp"

namespace bivox::cli {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

std::string score_as_cp932(const std::string& path, std::string utf8) {
  if (utf8.starts_with(kByteOrderMark)) utf8.erase(0, kByteOrderMark.size());
  std::size_t bad = 0;
  std::optional<std::string> cp932 = to_cp932(utf8, &bad);
  if (cp932) return *std::move(cp932);
  throw EncodingError(path, FileError::Problem::unreadable, describe_unconvertible(utf8, bad),
                      locate_utf8(utf8, bad));
}

std::string rebuilt_as_utf8(const std::string& path, std::string_view cp932) {
  std::string utf8 = to_utf8(cp932);
  const std::size_t bad = utf8.find(kReplacement);
  if (bad == std::string::npos) return utf8;
  throw EncodingError(path, FileError::Problem::unwritable,
                      "the rebuilt score holds a byte that is no Shift-JIS character",
                      locate_utf8(utf8, bad));
}

}  // namespace

ScoreRun run_score_file(Session& session, Job job, const std::string& input,
                        const JobOptions& options, ScoreEncoding encoding) {
  JobOptions named = options;
  if (named.output_name.empty()) named.output_name = make_output_name(input, named.name_encoding);
  refuse_writing_over(input, named.output_name);
  std::string score = read_file(input);
  if (encoding == ScoreEncoding::utf8) score = score_as_cp932(input, std::move(score));
  OutputFile output(named.output_name);
  // The score's bytes go to its ScoreText once the job is done with them.
  ScoreRun run{session.run(job, score, input, named), ScoreText(std::move(score))};
  const std::string& rebuilt = run.result.output;
  // Two calls rather than one conditional, which would copy the rebuilt text.
  if (encoding == ScoreEncoding::utf8) {
    output.commit(rebuilt_as_utf8(named.output_name, rebuilt));
  } else {
    output.commit(rebuilt);
  }
  return run;
}

}  // namespace bivox::cli
