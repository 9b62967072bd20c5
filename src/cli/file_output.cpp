#include "cli/file_output.hpp"

#include <cstdio>

#include "cli/placement_report.hpp"

namespace bivox::cli {
namespace {

// A fatal stop's message without the line feed that ends it in the output file.
std::string fatal_text(const JobResult& r) {
  std::string text = to_utf8(*r.fatal);
  while (!text.empty() && text.back() == '\n') text.pop_back();
  return text;
}

void print_at(std::ostream& out, const std::string& path, const ScoreText& source,
              Position position, std::string_view kind, const std::string& text) {
  const TextLocation loc = source.locate(position);
  out << path << ':' << loc.line << ':' << loc.column << ": " << kind << ": " << text << '\n'
      << excerpt(loc);
}

std::string stop_text(const JobResult& r) {
  char text[128];
  std::snprintf(text, sizeof text, "not understood from here on (byte 0x%llx of 0x%llx)",
                static_cast<unsigned long long>(r.stop), static_cast<unsigned long long>(r.end));
  return text;
}

nlohmann::json location_json(const ScoreText& source, Position position) {
  const TextLocation loc = source.locate(position);
  return {{"position", position}, {"line", loc.line}, {"column", loc.column}};
}

}  // namespace

void print_plain(std::ostream& out, const JobResult& result) {
  for (const std::string& line : result.display_lines()) out << line << '\n';
}

void print_located(std::ostream& out, const ScoreRun& run) {
  const JobResult& r = run.result;
  for (const Diagnostic& d : r.diagnostics) {
    print_at(out, r.name, run.source, d.position, "warning", to_utf8(d.text));
  }
  if (r.fatal) {
    print_at(out, r.name, run.source, r.stop, "error", "fatal stop: " + fatal_text(r));
    return;
  }
  if (!r.complete()) print_at(out, r.name, run.source, r.stop, "error", stop_text(r));
  out << r.summary << '\n';
}

nlohmann::json run_json(const ScoreRun& run, bool with_placement) {
  const JobResult& r = run.result;
  nlohmann::json diagnostics = nlohmann::json::array();
  nlohmann::json places = nlohmann::json::array();
  for (const Diagnostic& d : r.diagnostics) {
    diagnostics.push_back(to_utf8(d.text));
    places.push_back(location_json(run.source, d.position));
  }
  nlohmann::json j = {
      {"job", job_name(r.job)},
      {"input", r.name},
      {"output", r.output_name},
      {"complete", r.complete()},
      {"stop", r.stop},
      {"end", r.end},
      {"stop_at", location_json(run.source, r.stop)},
      {"summary", r.summary},
      {"diagnostics", diagnostics},
      {"diagnostics_at", places},
      {"fatal", nullptr},
  };
  if (r.fatal) j["fatal"] = to_utf8(*r.fatal);
  if (with_placement) j["placement"] = placement_json(r.placement);
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

std::string excerpt(const TextLocation& location) {
  std::string number = std::to_string(location.line);
  if (number.size() < 5) number.insert(0, 5 - number.size(), ' ');
  const std::string gutter(number.size(), ' ');
  return number + " | " + location.source_line + "\n" + gutter + " | " + location.caret_pad + "^\n";
}

std::string json_line(const nlohmann::json& j) {
  return j.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace bivox::cli
