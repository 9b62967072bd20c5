#pragma once

#include <span>
#include <string>
#include <string_view>

#include "bivox/bivox.hpp"
#include "jobs/session_state.hpp"

namespace bivox {

// The bytes a text-mode file gets for the text: every line feed becomes CR LF.
void to_text_mode(std::string& text);
std::string text_mode(std::string_view text);

// The switches of the job's passes, in order.
std::span<const JobSwitches> passes_of(Job job);

// Sets the switches of a pass. Without keep_collected the whole score state and the macro
// table start afresh; with it, what the first pass of the job gathered is kept.
void start_pass(SessionState& session, const JobSwitches& switches, bool keep_collected);
// Empties the diagnostics and prepares the pitch centre and scale for the pass.
void begin_pass(SessionState& session, int pass);
// One complete parse of the score into session.output; sets the stop and end positions.
// A fatal stop leaves its message after the rebuilt text and is thrown on.
void run_pass(SessionState& session, int pass, std::string_view score);

// The summary line of a job's result, in the encoding of its names.
std::string summary_line(const JobResult& result, NameEncoding encoding);

// Runs the job's passes over the score's bytes.
JobResult run_job(SessionState& session, Job job, std::string_view score, std::string_view name,
                  const JobOptions& options);

}  // namespace bivox
