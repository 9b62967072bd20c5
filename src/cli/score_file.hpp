#pragma once

#include <optional>
#include <string>

#include "bivox/bivox.hpp"

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
  ScoreText source;  // the score as the job read it (cp932), for locations
};

// Runs the job on one score file and writes its output (options.output_name, or beside the
// score). A UTF-8 score is converted to cp932 for the job and its rebuilt score written
// back in UTF-8. Throws FileError, and writes nothing then.
ScoreRun run_score_file(Session& session, Job job, const std::string& input,
                        const JobOptions& options, ScoreEncoding encoding);

}  // namespace bivox::cli
