// Bivox: the syntax test, macro expansion and stereo conversion of Zerbo score files.
//
// The one header a front end includes. A score goes in as the bytes it is stored as
// (Shift-JIS / cp932 text) together with the name it is known by; the rebuilt score comes
// back as the bytes its file holds (CR LF line ends), with the stop and end positions, the
// diagnostics, the summary line and, for the stereo conversion, the placement per track.
//
//   bivox::Session session;
//   const bivox::JobResult r = session.run(bivox::Job::stereo, score_bytes, "song.zrb");
//   // r.output_name == "_song.zrb"; r.output holds the score with a pan command per note.
//
// A session keeps what a user's sequence of jobs shares (remembered chords and tuplets,
// the nameless macro body): run the files of one sitting through one session. Files are a
// thin layer on top: `run_file` reads a score, runs the job and puts the output in place.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "bivox/notes.hpp"  // Position, kPanLimit, NotePlacement

namespace bivox {

// ---- Jobs ---------------------------------------------------------------------------

enum class Job { syntax, expand, stereo };

// The jobs by the names that the command line, JSON and scripts use.
struct JobName {
  Job job;
  std::string_view name;
};
inline constexpr std::array<JobName, 3> kJobNames{{
    {Job::syntax, "syntax"},
    {Job::expand, "expand"},
    {Job::stereo, "stereo"},
}};
std::string_view job_name(Job job);
std::optional<Job> job_named(std::string_view name);

// ---- Results ------------------------------------------------------------------------

// How the bytes of a name are read for output naming and the summary line: cp932 (where
// the second byte of a double-byte character may be 0x5C) or UTF-8.
enum class NameEncoding { cp932, utf8 };

// A message about a construct; `position` is where the parse stood when it was added
// (just after the construct). `text` is cp932.
struct Diagnostic {
  std::string text;
  Position position = 0;
  bool operator==(const Diagnostic&) const = default;
};

// ---- Stereo options -------------------------------------------------------------------

// A range of pitches: absolute pitches as the filter counts them ("c" of octave 4 is 48).
struct PitchRange {
  int lowest = 0;
  int highest = 0;
  bool operator==(const PitchRange&) const = default;
};

// How the stereo conversion places a score; the defaults spread it over the whole field.
struct StereoOptions {
  // The lowest pitch goes near pan_left and the highest near pan_right; pan_right below
  // pan_left reverses the direction. Each from -64 to 64, the two different.
  int pan_left = -kPanLimit;
  int pan_right = kPanLimit;
  // A pitch range that gives the centre and scale instead of the range the score's notes
  // span; notes outside it are clamped to the pan range.
  std::optional<PitchRange> pitch_range;
  // Track letters ("A".."O", "Z") left alone as if the score gave them an S command: no pan
  // commands, and they do not count in the measured range (parse_track_letters gives them
  // sorted, each once).
  std::string leave;

  bool is_default() const { return *this == StereoOptions{}; }
  bool operator==(const StereoOptions&) const = default;
};

// The option values as people write them. Each parse throws std::invalid_argument with a
// message that says what is wrong.
// "L..R": integers from -64 to 64, L different from R ("-32..32", "32..-32").
std::pair<int, int> parse_pan_range(std::string_view text);
// "LO..HI": pitch numbers ("36..96") or note names ("C2..C7", "F#3..Bb5"), LO not above HI.
PitchRange parse_pitch_range(std::string_view text);
// A pitch number from -1000 to 1000, or a note name: a letter C, D, E, F, G, A or B, "#" or
// "b" maybe, and the octave ("C4" is 48, the way pitch_name writes it).
int parse_pitch(std::string_view text);
// Track letters "A".."O" and "Z", sorted and each once; empty names no track.
std::string parse_track_letters(std::string_view text);
// The forms the parses read: "-32..32", "C2..C7".
std::string pan_range_text(int left, int right);
std::string pitch_range_text(const PitchRange& range);
// The settings that differ from the defaults, for people: "pan range -32..32, pitch range
// C2..C7, left alone: AB"; empty for the defaults.
std::string describe(const StereoOptions& options);

// What the placing pass of a stereo conversion met on one track that had notes.
struct TrackPlacement {
  // left_alone: named in StereoOptions::leave.
  enum class Kind { placed, pan_fixed, drum, track_z, left_alone };
  char letter = 'A';
  Kind kind = Kind::placed;
  int notes = 0;
  int lowest_pitch = 0;  // absolute pitches; "c" of octave 4 is 48
  int highest_pitch = 0;
  int placed = 0;  // notes that received a pan command
  int lowest_pan = 0;
  int highest_pan = 0;
  bool operator==(const TrackPlacement&) const = default;
};
// The kind as reports and JSON name it: "placed", "pan fixed", "drum", "track Z", "left alone".
std::string_view placement_name(TrackPlacement::Kind kind);

// The placement of a stereo conversion: the options in effect, the centre and scale used,
// and the tracks with notes in letter order.
struct Placement {
  StereoOptions options;
  float centre = 48.0F;
  float scale = 1.0F;
  std::vector<TrackPlacement> tracks;
};

// The placement as a picture: an SVG with the pan axis from -64 to +64, a centre line, one
// row per placed track with a bar from the lowest to the highest pan its notes received,
// and the tracks left alone listed beneath. `title` (UTF-8) heads it. The elements and their
// data attributes are described in docs/stereo-map.md.
std::string stereo_map_svg(const Placement& placement, std::string_view title);

struct JobResult {
  Job job = Job::syntax;
  std::string name;         // the score's name, as given
  std::string output_name;  // the name the rebuilt score is written under
  std::string output;       // the rebuilt score's bytes, exactly as its file holds them
  Position stop = 0;        // where the last pass stopped (at a fatal stop: where it was)
  Position end = 0;         // the score's length as stored
  std::vector<Diagnostic> diagnostics;
  std::optional<std::string> fatal;  // a fatal stop's message (cp932, "...!!!\n")
  Placement placement;               // stereo conversion only
  // Stereo conversion with JobOptions::record_notes: the notes in the order they were read
  // (a note read again after backtracking is there again; the later reading counts).
  std::vector<NotePlacement> notes;
  // The summary line, in the encoding of the name (see JobOptions::name_encoding).
  std::string summary;
  NameEncoding summary_encoding = NameEncoding::utf8;

  bool complete() const { return !fatal && stop == end; }
  // The name the job makes current: the score for the syntax test, else the output.
  const std::string& current_name() const { return job == Job::syntax ? name : output_name; }
  // What the dialog's lower display shows: the summary line, the diagnostics, the summary
  // line again; each line made by `of_summary` from the summary or by `of_diagnostic` from
  // a diagnostic's text.
  template <class Line, class OfSummary, class OfDiagnostic>
  std::vector<Line> display_block(OfSummary of_summary, OfDiagnostic of_diagnostic) const {
    std::vector<Line> lines{of_summary(summary)};
    for (const Diagnostic& d : diagnostics) lines.push_back(of_diagnostic(d.text));
    lines.push_back(lines.front());
    return lines;
  }
  // The display block as text in the encoding of the name.
  std::vector<std::string> display_lines() const;
};

// ---- Running a job ------------------------------------------------------------------

// Called before each pass of a job with the pass's index (0 or 1).
using PassHook = std::function<void(int pass_index)>;
// Receives the engine's trace lines (cp932 bytes, each ending in a line feed).
using TraceSink = std::function<void(std::string_view line)>;

struct JobOptions {
  NameEncoding name_encoding = NameEncoding::utf8;
  // The output's name; empty: "_" + the score's name beside it.
  std::string output_name;
  PassHook before_pass;
  StereoOptions stereo;  // used by the stereo conversion only
  // Stereo conversion: record every note of the placing pass in JobResult::notes.
  bool record_notes = false;
};

class SessionState;

class Session {
 public:
  Session();
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // Runs the job over the score's bytes. Never throws for anything a score holds: a
  // resource limit ends the job with `fatal` set and its message at the end of `output`.
  // Stereo options that their parses would refuse throw std::invalid_argument.
  JobResult run(Job job, std::string_view score, std::string_view name,
                const JobOptions& options = {});
  void set_trace(TraceSink sink);

  // The engine's state, for the project's own tests and tools.
  SessionState& state() { return *state_; }

 private:
  std::unique_ptr<SessionState> state_;
};

// ---- Names, places and texts ----------------------------------------------------------

// "_" + the name, beside it; "---non---" when the name holds no ".zrb" or ".ZRB".
std::string make_output_name(std::string_view name, NameEncoding encoding);

// A place in a score the way editors and compilers name it.
struct TextLocation {
  int line = 1;             // from 1; a line feed (alone or after CR) ends a line
  int column = 1;           // characters from the line's start, from 1
  std::string source_line;  // the whole line in UTF-8, without its line end
  std::string caret_pad;    // blanks and tabs as wide as the line's text before the place
};
// The location of a byte position in a score (cp932); a double-byte character is one
// column, and a position inside a character is that character's.
class ScoreText {
 public:
  explicit ScoreText(std::string cp932);
  // The first call finds the lines; one ScoreText is not located from two threads at once.
  TextLocation locate(Position position) const;
  std::string_view bytes() const { return bytes_; }

 private:
  std::string bytes_;
  mutable std::vector<std::size_t> line_starts_;  // found when first needed
};

// The location of a byte offset in UTF-8 text (columns count characters as the cp932 form
// of the text before the offset would).
TextLocation locate_utf8(std::string_view utf8, std::size_t offset);
// What is wrong at `offset` of UTF-8 text that has no cp932 form there, for a person.
std::string describe_unconvertible(std::string_view utf8, std::size_t offset);

// A pitch as a note name and octave ("C4" is 48).
std::string pitch_name(int pitch);

// Whether a byte begins a two-byte cp932 character (whose second byte may look like ASCII).
bool cp932_lead(unsigned char byte);
// cp932 bytes as UTF-8; a byte sequence that is no cp932 character becomes U+FFFD.
std::string to_utf8(std::string_view cp932);
// UTF-8 as cp932; nothing when a character has no cp932 form or the bytes are no UTF-8,
// with the byte offset of the first such character in `bad_offset`.
std::optional<std::string> to_cp932(std::string_view utf8, std::size_t* bad_offset = nullptr);
// UTF-8 as cp932, with "?" for every character that has no cp932 form.
std::string to_cp932_lossy(std::string_view utf8);

// ---- Files --------------------------------------------------------------------------

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

// The bytes of a file (UTF-8 path). Throws FileError.
std::string read_file(const std::string& path);
// An output file put in place whole: the bytes go to a temporary file in the same
// directory, renamed over the path when complete, so that a run killed or failing part-way
// never leaves a half-written file nor truncates an older one. Made before the work starts,
// it tells at once when the path cannot be written (FileError); without a commit nothing
// is left behind.
class OutputFile {
 public:
  explicit OutputFile(const std::string& path);
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;
  void commit(std::string_view bytes);

 private:
  struct Temporary;
  std::unique_ptr<Temporary> temp_;
};
// An OutputFile with the bytes committed at once.
void write_file(const std::string& path, std::string_view bytes);
// Throws FileError when the two paths name one file.
void refuse_writing_over(const std::string& input, const std::string& output);

// Reads the score at `path`, runs the job and writes the output to options.output_name
// (default: beside the score). Throws FileError, and writes nothing then.
JobResult run_file(Session& session, Job job, const std::string& path,
                   const JobOptions& options = {});

}  // namespace bivox
