#pragma once

#include <optional>
#include <string>

#include "cli/source_text.hpp"
#include "jobs/job_driver.hpp"

namespace bivox::cli {

enum class ScoreEncoding { cp932, utf8 };

// A UTF-8 text that cannot be handed over: a character without a cp932 form in a score, or
// a byte without a UTF-8 form in a rebuilt score. Nothing was written.
class EncodingError : public FileError {
 public:
  EncodingError(std::string path, Problem problem, const std::string& what, TextLocation where)
      : FileError(std::move(path), problem, what), where_(std::move(where)) {}
  const TextLocation& where() const { return where_; }

 private:
  TextLocation where_;
};

// What a job made of one score file.
struct ScoreRun {
  JobResult result;
  // The score as the job read it (cp932), for locations; none when it could not be re-read.
  std::optional<SourceText> source;
};

// Runs the job on one score. A UTF-8 score is converted to cp932 for the job and its
// rebuilt score converted back, through a private temporary directory. Throws FileError.
ScoreRun run_score_file(Session& session, Job job, const std::string& input,
                        const std::string& output, ScoreEncoding encoding);

}  // namespace bivox::cli
