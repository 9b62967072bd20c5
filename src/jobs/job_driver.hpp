#pragma once

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "jobs/session.hpp"

namespace bivox {

enum class Job { syntax, expand, stereo };

// The combination of switches a pass runs with.
enum class JobMode { stereo = 0, expand = 1, syntax = 3 };

// A score or output file that could not be read or written; nothing was written.
class FileError : public std::runtime_error {
 public:
  // What went wrong, for a front end that words the reason in its own language.
  enum class Problem { unreadable, unwritable, output_is_input };

  FileError(std::string path, Problem problem, const std::string& what)
      : std::runtime_error(what), path_(std::move(path)), problem_(problem) {}
  const std::string& path() const { return path_; }
  Problem problem() const { return problem_; }

 private:
  std::string path_;
  Problem problem_;
};

// The bytes a text-mode file gets for the text: every line feed becomes CR LF.
std::string text_mode(std::string_view text);

void reset_score_state(Session& session, bool keep_collected);
void set_job_mode(Session& session, JobMode mode, bool keep_collected);
// Empties the diagnostics and prepares the pitch centre and scale for the pass.
void begin_pass(Session& session, int pass);
// One complete parse of the input into the output; sets the stop and end positions.
// A fatal stop is written into the output and then thrown on.
void run_pass(Session& session, int pass, const std::string& input, const std::string& output);

// What the placing pass of a stereo conversion met on one track that had notes.
struct TrackPlacement {
  char letter = 'A';
  PlacementRecord::Track record;
  bool pan_fixed = false;
  bool drum = false;
};

struct JobResult {
  Job job = Job::syntax;
  std::string input;
  std::string output;
  Position stop = 0;  // where the last pass stopped (at a fatal stop: where it was then)
  Position end = 0;
  std::vector<std::string> diagnostics;
  std::vector<Position> diagnostic_positions;  // where each diagnostic was added
  std::optional<std::string> fatal;            // the message of a fatal stop, which ended the job
  // Stereo conversion: the tracks with notes, in letter order, and the centre and scale used.
  std::vector<TrackPlacement> tracks;
  PitchScale pitch;
  bool complete() const { return !fatal && stop == end; }
  // The file the job makes current: the input for the syntax test, else the output.
  const std::string& current_file() const { return job == Job::syntax ? input : output; }
};

// Called before each pass of a job with the pass's index (0 or 1); the dialog shows its
// caption and pauses there.
using PassHook = std::function<void(int pass_index)>;

// The bytes of a score file; throws FileError when it cannot be read.
std::string read_score(const std::string& path);
// Throws FileError when the output path names the input file itself.
void refuse_writing_over_input(const std::string& input, const std::string& output);

// Runs the job's passes from input to output. Throws FileError when a file cannot be read
// or written, or when the output would be the input itself.
JobResult run_job(Session& session, Job job, const std::string& input, const std::string& output,
                  const PassHook& before_pass = {});

// The summary line's format for the job: complete, or stopped early with two positions.
std::string_view summary_format(Job job, bool complete);
// The summary line in the encoding of the format and the path.
std::string summary_line(std::string_view format, std::string_view path, const JobResult& result);

}  // namespace bivox
