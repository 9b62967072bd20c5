// bivox-cli: the three jobs of the dialog, on files named on the command line.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <iostream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "jobs/job_driver.hpp"
#include "jobs/output_name.hpp"
#include "text/encoding.hpp"

namespace {

using bivox::Job;

enum ExitStatus {
  kComplete = 0,
  kFatalStop = 1,
  kUsage = 2,
  kFileError = 3,
  kStoppedEarly = 4,
};

struct Options {
  std::string job;
  std::vector<std::string> files;
  std::string output;
  bool json = false;
  bool trace = false;
};

Job job_named(const std::string& name) {
  if (name == "syntax") return Job::syntax;
  if (name == "expand") return Job::expand;
  return Job::stereo;
}

// Text lines as the dialog's lower display shows them, in UTF-8.
void print_lines(const bivox::JobResult& r) {
  const std::string summary = bivox::summary_line(
      bivox::cp932_to_utf8(bivox::summary_format(r.job, r.complete())), r.current_file(), r);
  std::cout << summary << '\n';
  for (const std::string& d : r.diagnostics) std::cout << bivox::cp932_to_utf8(d) << '\n';
  std::cout << summary << '\n';
}

nlohmann::json to_json(const bivox::JobResult& r) {
  nlohmann::json diagnostics = nlohmann::json::array();
  for (const std::string& d : r.diagnostics) diagnostics.push_back(bivox::cp932_to_utf8(d));
  static const char* const kJobNames[] = {"syntax", "expand", "stereo"};
  nlohmann::json j = {
      {"job", kJobNames[static_cast<int>(r.job)]},
      {"input", r.input},
      {"output", r.output},
      {"complete", r.complete()},
      {"stop", r.stop},
      {"end", r.end},
      {"summary",
       bivox::summary_line(bivox::cp932_to_utf8(bivox::summary_format(r.job, r.complete())),
                           r.current_file(), r)},
      {"diagnostics", diagnostics},
      {"fatal", nullptr},
  };
  if (r.fatal) j["fatal"] = bivox::cp932_to_utf8(*r.fatal);
  return j;
}

int run(const Options& opt) {
  bivox::Session session;
  if (opt.trace) {
    session.engine.trace = [&](std::string_view line) {
      (opt.json ? std::cerr : std::cout) << bivox::cp932_to_utf8(line) << std::flush;
    };
  }
  int status = kComplete;
  for (const std::string& input : opt.files) {
    const std::string output =
        opt.output.empty() ? bivox::make_output_name(input, bivox::PathEncoding::utf8) : opt.output;
    bivox::JobResult result;
    try {
      result = bivox::run_job(session, job_named(opt.job), input, output);
    } catch (const bivox::FileError& e) {
      std::cerr << "bivox-cli: " << e.path() << ": " << e.what() << '\n';
      status = kFileError;
      continue;
    }
    if (opt.json) {
      std::cout << to_json(result).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace)
                << '\n';
    } else if (!result.fatal) {
      print_lines(result);
    }
    if (result.fatal) {
      std::cerr << "bivox-cli: " << output << ": stopped: " << bivox::cp932_to_utf8(*result.fatal)
                << std::flush;
      return kFatalStop;
    }
    if (!result.complete() && status == kComplete) status = kStoppedEarly;
  }
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{
      "Bivox: syntax test, macro expansion and stereo conversion of Zerbo score files (.zrb).\n"
      "The rebuilt score is written beside each FILE as \"_\" + its name."};
  Options opt;
  app.add_option("job", opt.job, "syntax | expand | stereo")
      ->required()
      ->check(CLI::IsMember({"syntax", "expand", "stereo"}));
  app.add_option("files", opt.files, "score files (Shift-JIS text)")->required();
  app.add_option("-o,--output", opt.output, "write the rebuilt score to PATH (one FILE only)");
  app.add_flag("--json", opt.json, "print one JSON object per file instead of message lines");
  app.add_flag("--trace", opt.trace, "also print the engine's trace lines");
  app.footer(
      "Exit status: 0 every file understood whole; 1 fatal stop (resource limit); 2 usage error;\n"
      "3 a file could not be read or written; 4 some file's parse stopped early.");
  try {
    app.parse(argc, argv);
    if (!opt.output.empty() && opt.files.size() != 1) {
      throw CLI::ValidationError("--output", "takes exactly one FILE");
    }
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    app.exit(e);
    return kUsage;
  }
  try {
    return run(opt);
  } catch (const std::exception& e) {
    std::cerr << "bivox-cli: " << e.what() << '\n';
    return kFileError;
  }
}
