// bivox-cli: the three jobs of the dialog, on files named on the command line.
#include <CLI/CLI.hpp>
#include <iostream>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "cli/file_output.hpp"
#include "cli/lsp/server.hpp"
#include "cli/placement_report.hpp"
#include "cli/score_file.hpp"
#include "cli/terminal.hpp"
#include "cli/utf8_process.hpp"

namespace {

using bivox::Job;
using namespace bivox::cli;

enum ExitStatus {
  kComplete = 0,
  kFatalStop = 1,
  kUsage = 2,
  kFileError = 3,
  kStoppedEarly = 4,
};

enum class Style { plain, located, json };

struct Options {
  std::string job;
  std::vector<std::string> files;
  std::string output;
  std::string input_encoding = "cp932";
  bool json = false;
  bool plain = false;
  bool locations = false;
  bool report = false;
  bool trace = false;
  std::string map;
  std::optional<std::string> pan_range;
  std::optional<std::string> pitch_range;
  std::optional<std::string> leave;
  bivox::StereoOptions stereo;  // read from the three texts above
};

// The stereo options from their texts; a malformed value is a usage error that says what
// is wrong with it.
bivox::StereoOptions stereo_options(const Options& opt) {
  bivox::StereoOptions stereo;
  const auto read = [](const char* option, const std::optional<std::string>& text, auto parse) {
    try {
      return parse(*text);
    } catch (const std::invalid_argument& e) {
      throw CLI::ValidationError(option, e.what());
    }
  };
  if (opt.pan_range) {
    std::tie(stereo.pan_left, stereo.pan_right) =
        read("--pan-range", opt.pan_range, bivox::parse_pan_range);
  }
  if (opt.pitch_range) {
    stereo.pitch_range = read("--pitch-range", opt.pitch_range, bivox::parse_pitch_range);
  }
  if (opt.leave) stereo.leave = read("--leave", opt.leave, bivox::parse_track_letters);
  return stereo;
}

// Options that belong to the stereo job, by the name the user gave them.
void refuse_outside_stereo(const CLI::App& app, const Options& opt) {
  if (opt.job == "stereo") return;
  for (const char* name : {"--report", "--pan-range", "--pitch-range", "--leave", "--map"}) {
    if (app.count(name) > 0) throw CLI::ValidationError(name, "belongs to the stereo job");
  }
}

// Located output is for people and editors: the default on a terminal; a pipe gets the
// dialog's lines, which scripts may read, unless --locations asks otherwise.
Style style_of(const Options& opt) {
  if (opt.json) return Style::json;
  if (opt.locations) return Style::located;
  if (opt.plain) return Style::plain;
  return is_terminal(stdout) ? Style::located : Style::plain;
}

struct Tally {
  std::size_t complete = 0;
  std::size_t stopped = 0;
  std::size_t failed = 0;
  std::size_t not_run = 0;

  int status(bool fatal) const {
    if (fatal) return kFatalStop;
    if (failed > 0) return kFileError;
    return stopped > 0 ? kStoppedEarly : kComplete;
  }
  void print(std::ostream& out, std::size_t files) const {
    out << "bivox-cli: " << files << " files: " << complete << " complete, " << stopped
        << " stopped early, " << failed << " failed";
    if (not_run > 0) out << ", " << not_run << " not run after the fatal stop";
    out << '\n';
  }
};

void print_run(const Options& opt, Style style, const ScoreRun& run) {
  switch (style) {
    case Style::json:
      std::cout << json_line(run_json(run, opt.report)) << '\n';
      return;
    case Style::located:
      print_located(std::cout, run);
      break;
    case Style::plain:
      if (!run.result.fatal) print_plain(std::cout, run.result);
      break;
  }
  if (opt.report && !run.result.fatal) print_placement(std::cout, run.result.placement);
}

int run(const Options& opt) {
  const Style style = style_of(opt);
  const Job job = *bivox::job_named(opt.job);
  const ScoreEncoding encoding =
      opt.input_encoding == "utf-8" ? ScoreEncoding::utf8 : ScoreEncoding::cp932;
  bivox::Session session;
  if (opt.trace) {
    session.set_trace([&](std::string_view line) {
      (style == Style::json ? std::cerr : std::cout) << bivox::to_utf8(line) << std::flush;
    });
  }
  ProgressLine progress(opt.files.size() > 1 && is_terminal(stderr) && !opt.trace,
                        opt.files.size());
  Tally tally;
  for (std::size_t i = 0; i < opt.files.size(); ++i) {
    const std::string& input = opt.files[i];
    const std::string output =
        opt.output.empty() ? bivox::make_output_name(input, bivox::NameEncoding::utf8) : opt.output;
    progress.show(i, input);
    std::optional<ScoreRun> run;
    try {
      bivox::JobOptions options;
      options.output_name = output;
      options.stereo = opt.stereo;
      // Made first, so that a map that cannot be written stops the file before its job.
      std::optional<bivox::OutputFile> map;
      if (!opt.map.empty()) map.emplace(opt.map);
      run = run_score_file(session, job, input, options, encoding);
      if (map && !run->result.fatal) {
        map->commit(bivox::stereo_map_svg(run->result.placement, run->result.name));
      }
    } catch (const bivox::FileError& e) {
      progress.clear();
      print_file_error(std::cerr, e);
      if (style == Style::json) std::cout << json_line(failure_json(job, input, output, e)) << '\n';
      ++tally.failed;
      continue;
    }
    progress.clear();
    print_run(opt, style, *run);
    const bivox::JobResult& result = run->result;
    if (result.fatal) {
      std::cerr << "bivox-cli: " << output << ": stopped: " << bivox::to_utf8(*result.fatal)
                << std::flush;
      ++tally.failed;
      tally.not_run = opt.files.size() - i - 1;
      if (opt.files.size() > 1) tally.print(std::cerr, opt.files.size());
      return tally.status(true);
    }
    ++(result.complete() ? tally.complete : tally.stopped);
  }
  if (opt.files.size() > 1) tally.print(std::cerr, opt.files.size());
  return tally.status(false);
}

constexpr const char* kFooter = R"(Output:
  On a terminal each diagnostic is shown compiler-style, as FILE:LINE:COLUMN: warning: TEXT,
  with the source line and a caret under the place (just after the construct the message is
  about); a parse that stopped early adds FILE:LINE:COLUMN: error at the first character not
  understood; the summary line closes. LINE and COLUMN count the stored text: a line feed or
  CR LF ends a line, a double-byte character is one column. Piped or redirected, the output
  is what the dialog shows (summary line, diagnostics, summary line), unless --locations is
  given; --plain asks for the dialog's lines on a terminal too. --json prints one object per
  file with the positions' lines and columns ("stop_at", "diagnostics_at").
  With several files a progress line appears on standard error when it is a terminal, and a
  closing count of complete, stopped-early and failed files is printed there.

Exit status:
  0 every file understood whole; 1 fatal stop (resource limit); 2 usage error;
  3 a file could not be read or written (nothing written); 4 some file's parse stopped early.

Examples:
  bivox-cli syntax song.zrb                 check a score, locations on the terminal
  bivox-cli stereo --report song.zrb        write _song.zrb with pan commands, show the ranges
  bivox-cli stereo --pan-range -32..32 --pitch-range C2..C7 --leave D --map map.svg song.zrb
                                            a narrower field, one pitch range for an album,
                                            track D as it is, and a picture of the placement
  bivox-cli expand -o full.zrb song.zrb     write the expanded score to full.zrb
  bivox-cli syntax --input-encoding utf-8 song-utf8.zrb
  bivox-cli syntax --json *.zrb | jq .complete
  vim: :set makeprg=bivox-cli\ syntax\ --locations\ %   then :make)";

}  // namespace

int main(int argc, char** argv) {
  const Utf8Process process(argc, argv);
  CLI::App app{
      "Bivox: syntax test, macro expansion and stereo conversion of Zerbo score files (.zrb).\n"
      "The rebuilt score is written beside each FILE as \"_\" + its name.",
      "bivox-cli"};
  Options opt;
  std::vector<std::string> job_names;
  for (const bivox::JobName& n : bivox::kJobNames) job_names.emplace_back(n.name);
  app.add_option("job", opt.job, "syntax | expand | stereo")->check(CLI::IsMember(job_names));
  app.add_option("files", opt.files, "score files (Shift-JIS text unless --input-encoding)");
  auto* lsp = app.add_subcommand(
      "lsp", "serve the Language Server Protocol on standard input and output (docs/editors.md)");
  app.add_option("-o,--output", opt.output, "write the rebuilt score to PATH (one FILE only)")
      ->type_name("PATH");
  app.add_option("--input-encoding", opt.input_encoding,
                 "cp932 (default; also shift_jis, sjis) or utf-8 (also utf8): a UTF-8 score is "
                 "converted for the job and its rebuilt score written in UTF-8")
      ->transform(CLI::CheckedTransformer(std::map<std::string, std::string>{{"cp932", "cp932"},
                                                                             {"shift_jis", "cp932"},
                                                                             {"sjis", "cp932"},
                                                                             {"utf-8", "utf-8"},
                                                                             {"utf8", "utf-8"}},
                                          CLI::ignore_case)
                      .description(""))
      ->type_name("ENCODING");
  auto* json =
      app.add_flag("--json", opt.json, "print one JSON object per file instead of message lines");
  auto* plain = app.add_flag("--plain", opt.plain,
                             "print the dialog's lines (summary, diagnostics, summary) also on "
                             "a terminal");
  app.add_flag("--locations", opt.locations,
               "print compiler-style locations also when the output is no terminal")
      ->excludes(plain)
      ->excludes(json);
  plain->excludes(json);
  app.add_flag("--report", opt.report,
               "stereo only: per track the lowest and highest pitch, placed or left alone, and "
               "the pan range its notes received");
  app.add_option("--pan-range", opt.pan_range,
                 "stereo only: the lowest pitch goes near L, the highest near R (-64..64 each, "
                 "L and R different; R below L reverses; default -64..64)")
      ->type_name("L..R");
  app.add_option("--pitch-range", opt.pitch_range,
                 "stereo only: place by this pitch range instead of the one the notes span, "
                 "as numbers (36..96) or note names (C2..C7); notes outside it are clamped")
      ->type_name("LO..HI");
  app.add_option("--leave", opt.leave,
                 "stereo only: tracks left alone as if the score fixed their pan (A..O, Z)")
      ->type_name("LETTERS");
  app.add_option("--map", opt.map,
                 "stereo only: write the stereo map (SVG) of the placement to PATH (one FILE "
                 "only)")
      ->type_name("PATH");
  app.add_flag("--trace", opt.trace, "also print the engine's trace lines");
  app.footer(kFooter);
  try {
    app.parse(process.argc(), process.argv());
    // The job and files are required unless the language server is asked for.
    if (!*lsp && opt.files.empty()) throw CLI::RequiredError(opt.job.empty() ? "job" : "files");
    if (!opt.output.empty() && opt.files.size() != 1) {
      throw CLI::ValidationError("--output", "takes exactly one FILE");
    }
    if (!opt.map.empty() && opt.files.size() != 1) {
      throw CLI::ValidationError("--map", "takes exactly one FILE");
    }
    refuse_outside_stereo(app, opt);
    opt.stereo = stereo_options(opt);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    app.exit(e);
    return kUsage;
  }
  if (*lsp) return bivox::lsp::serve_stdio();
  try {
    return run(opt);
  } catch (const std::exception& e) {
    std::cerr << "bivox-cli: " << e.what() << '\n';
    return kFileError;
  }
}
