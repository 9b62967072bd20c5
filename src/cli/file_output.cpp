#include "cli/file_output.hpp"

#include <cstdio>

#include "cli/placement_report.hpp"
#include "text/encoding.hpp"

namespace bivox::cli {
namespace {

std::string summary(const JobResult& r) {
  return summary_line(cp932_to_utf8(summary_format(r.job, r.complete())), r.current_file(), r);
}

// A fatal stop's message without the line feed that ends it in the output file.
std::string fatal_text(const JobResult& r) {
  std::string text = cp932_to_utf8(*r.fatal);
  while (!text.empty() && text.back() == '\n') text.pop_back();
  return text;
}

void print_at(std::ostream& out, const std::string& path, const std::optional<SourceText>& source,
              Position position, std::string_view kind, const std::string& text) {
  if (!source) {
    out << path << ": " << kind << ": " << text << '\n';
    return;
  }
  const TextLocation loc = source->locate(position);
  out << path << ':' << loc.line << ':' << loc.column << ": " << kind << ": " << text << '\n'
      << excerpt(loc);
}

std::string stop_text(const JobResult& r) {
  char text[128];
  std::snprintf(text, sizeof text, "not understood from here on (byte 0x%llx of 0x%llx)",
                static_cast<unsigned long long>(r.stop), static_cast<unsigned long long>(r.end));
  return text;
}

nlohmann::json location_json(const std::optional<SourceText>& source, Position position) {
  if (!source) return nullptr;
  const TextLocation loc = source->locate(position);
  return {{"position", position}, {"line", loc.line}, {"column", loc.column}};
}

}  // namespace

std::string_view job_name(Job job) {
  static constexpr std::string_view kNames[] = {"syntax", "expand", "stereo"};
  return kNames[static_cast<int>(job)];
}

void print_plain(std::ostream& out, const JobResult& result) {
  const std::string line = summary(result);
  out << line << '\n';
  for (const std::string& d : result.diagnostics) out << cp932_to_utf8(d) << '\n';
  out << line << '\n';
}

void print_located(std::ostream& out, const ScoreRun& run) {
  const JobResult& r = run.result;
  for (std::size_t i = 0; i < r.diagnostics.size(); ++i) {
    print_at(out, r.input, run.source, r.diagnostic_positions[i], "warning",
             cp932_to_utf8(r.diagnostics[i]));
  }
  if (r.fatal) {
    print_at(out, r.input, run.source, r.stop, "error", "fatal stop: " + fatal_text(r));
    return;
  }
  if (!r.complete()) print_at(out, r.input, run.source, r.stop, "error", stop_text(r));
  out << summary(r) << '\n';
}

nlohmann::json run_json(const ScoreRun& run, bool with_placement) {
  const JobResult& r = run.result;
  nlohmann::json diagnostics = nlohmann::json::array();
  nlohmann::json places = nlohmann::json::array();
  for (std::size_t i = 0; i < r.diagnostics.size(); ++i) {
    diagnostics.push_back(cp932_to_utf8(r.diagnostics[i]));
    places.push_back(location_json(run.source, r.diagnostic_positions[i]));
  }
  nlohmann::json j = {
      {"job", job_name(r.job)},
      {"input", r.input},
      {"output", r.output},
      {"complete", r.complete()},
      {"stop", r.stop},
      {"end", r.end},
      {"stop_at", location_json(run.source, r.stop)},
      {"summary", summary(r)},
      {"diagnostics", diagnostics},
      {"diagnostics_at", places},
      {"fatal", nullptr},
  };
  if (r.fatal) j["fatal"] = cp932_to_utf8(*r.fatal);
  if (with_placement) j["placement"] = placement_json(r);
  return j;
}

nlohmann::json failure_json(Job job, const std::string& input, const std::string& output,
                            const FileError& error) {
  nlohmann::json j = {{"job", job_name(job)},
                      {"input", input},
                      {"output", output},
                      {"error", error.path() + ": " + error.what()}};
  if (const auto* encoding = dynamic_cast<const EncodingError*>(&error)) {
    j["error_at"] = {{"line", encoding->where().line}, {"column", encoding->where().column}};
  }
  return j;
}

void print_file_error(std::ostream& out, const FileError& error) {
  if (const auto* encoding = dynamic_cast<const EncodingError*>(&error)) {
    const TextLocation& loc = encoding->where();
    out << "bivox-cli: " << error.path() << ':' << loc.line << ':' << loc.column << ": "
        << error.what() << "; nothing was written\n"
        << excerpt(loc);
    return;
  }
  out << "bivox-cli: " << error.path() << ": " << error.what() << '\n';
}

std::string json_line(const nlohmann::json& j) {
  return j.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace bivox::cli
