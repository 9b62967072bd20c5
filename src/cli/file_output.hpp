#pragma once

#include <nlohmann/json.hpp>
#include <ostream>
#include <string>

#include "cli/score_file.hpp"

namespace bivox::cli {

// What the dialog's lower display shows: the summary line, the diagnostics, the summary line.
void print_plain(std::ostream& out, const JobResult& result);

// Compiler style: every diagnostic as "FILE:LINE:COLUMN: warning: text", the place where the
// parse stopped as an error, each with its source line and a caret, then the summary line.
void print_located(std::ostream& out, const ScoreRun& run);

// One JSON object for a file that the job ran on, and for one it could not run on.
nlohmann::json run_json(const ScoreRun& run, bool with_placement);
nlohmann::json failure_json(Job job, const std::string& input, const std::string& output,
                            const FileError& error);

// A file error for a person: the path and what went wrong, and the place when there is one.
void print_file_error(std::ostream& out, const FileError& error);

// The line with a caret under the place, as compilers show it ("   7 | text" / "     |  ^").
std::string excerpt(const TextLocation& location);

// JSON text on one line; bytes that are no UTF-8 become U+FFFD.
std::string json_line(const nlohmann::json& j);

}  // namespace bivox::cli
