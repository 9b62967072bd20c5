#include "cli/lsp/score_check.hpp"

#include <limits>

namespace bivox::lsp {
namespace {

constexpr std::string_view kGetaMark = "\x81\xAC";
constexpr int kError = 1;
constexpr int kWarning = 2;

// The length in bytes of the UTF-8 character that begins with the byte.
std::size_t utf8_length(char lead) {
  const auto byte = static_cast<unsigned char>(lead);
  return byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
}

nlohmann::json position_json(LspPosition position) {
  return {{"line", position.line}, {"character", position.character}};
}

nlohmann::json diagnostic(const nlohmann::json& range, int severity, std::string message) {
  return {{"range", range}, {"severity", severity}, {"source", "bivox"}, {"message", message}};
}

// A fatal stop's message without the line feed that ends it in the output.
std::string fatal_text(const std::string& fatal) {
  std::string text = to_utf8(fatal);
  while (!text.empty() && text.back() == '\n') text.pop_back();
  return text;
}

std::size_t offset_at(Position position) {
  return static_cast<std::size_t>(position < 0 ? 0 : position);
}

// The rest of the line from an offset: where a parse that stopped early is marked.
nlohmann::json rest_of_line(const TextLines& lines, std::size_t offset) {
  const LspPosition start = lines.position_of(offset);
  const std::size_t line_end = lines.offset_of({start.line, std::numeric_limits<int>::max()});
  return range_json(lines, offset, line_end);
}

std::string pan_command(int pan) {
  if (pan == 0) return "@S0";
  return (pan > 0 ? "@S+" : "@S") + std::to_string(pan);
}

std::string hover_text(const NotePlacement& note) {
  const std::string track = std::string("track ") + note.letter;
  if (note.kind == NotePlacement::Kind::rest) return "rest on " + track + ": no pitch, no pan";
  std::string text = "**" + pitch_name(note.pitch) + "** (pitch " + std::to_string(note.pitch) +
                     ") on " + track + "\n\n";
  switch (note.kind) {
    case NotePlacement::Kind::placed:
      return text + "stereo conversion: pan `" + pan_command(note.pan) + "`";
    case NotePlacement::Kind::pan_fixed:
      return text + "stereo conversion: no pan, the score sets the pan of " + track;
    case NotePlacement::Kind::drum:
      return text + "stereo conversion: no pan, " + track + " is a drum track";
    case NotePlacement::Kind::track_z:
      return text + "stereo conversion: no pan, track Z is left alone";
    case NotePlacement::Kind::left_alone:
      return text + "stereo conversion: no pan, " + track + " is left alone by the options";
    case NotePlacement::Kind::rest:
      break;
  }
  return text;
}

}  // namespace

nlohmann::json range_json(const TextLines& lines, std::size_t begin, std::size_t end) {
  return {{"start", position_json(lines.position_of(begin))},
          {"end", position_json(lines.position_of(end))}};
}

ScoreBytes score_bytes(std::string_view utf8) {
  ScoreBytes score;
  for (std::size_t at = 0; at < utf8.size();) {
    std::size_t bad = 0;
    const std::string_view rest = utf8.substr(at);
    if (std::optional<std::string> whole = to_cp932(rest, &bad)) {
      score.cp932 += *whole;
      break;
    }
    score.cp932 += to_cp932(rest.substr(0, bad)).value_or("");
    const std::size_t length = utf8_length(utf8[at + bad]);
    // Four bytes hold a character beyond the Basic Multilingual Plane: two code units.
    const std::size_t units = length == 4 ? 2 : 1;
    score.unencodable.push_back(
        {score.cp932.size(), units * kGetaMark.size(), describe_unconvertible(utf8, at + bad)});
    for (std::size_t i = 0; i < units; ++i) score.cp932 += kGetaMark;
    at += bad + length;
  }
  return score;
}

nlohmann::json syntax_diagnostics(std::string_view utf8, std::string_view name) {
  const ScoreBytes score = score_bytes(utf8);
  const TextLines lines(score.cp932, TextEncoding::cp932);
  nlohmann::json diagnostics = nlohmann::json::array();
  for (const ScoreBytes::Unencodable& u : score.unencodable) {
    diagnostics.push_back(
        diagnostic(range_json(lines, u.offset, u.offset + u.size), kError, u.what));
  }
  Session session;
  const JobResult result = session.run(Job::syntax, score.cp932, name);
  for (const Diagnostic& d : result.diagnostics) {
    const std::size_t at = offset_at(d.position);
    diagnostics.push_back(diagnostic(range_json(lines, at, at), kWarning, to_utf8(d.text)));
  }
  if (result.fatal) {
    diagnostics.push_back(
        diagnostic(rest_of_line(lines, offset_at(result.stop)), kError, fatal_text(*result.fatal)));
  } else if (!result.complete()) {
    diagnostics.push_back(diagnostic(rest_of_line(lines, offset_at(result.stop)), kError,
                                     "not understood from here on"));
  }
  return diagnostics;
}

NoteInfo::NoteInfo(std::string_view utf8, std::string_view name)
    : lines_(score_bytes(utf8).cp932, TextEncoding::cp932) {
  Session session;
  JobOptions options;
  options.record_notes = true;
  notes_ = session.run(Job::stereo, lines_.text(), name, options).notes;
}

nlohmann::json NoteInfo::hover(LspPosition position) const {
  const auto at = static_cast<Position>(lines_.offset_of(position));
  // A note read again after backtracking was recorded again: the last reading counts.
  for (auto note = notes_.rbegin(); note != notes_.rend(); ++note) {
    if (note->begin <= at && at < note->end) {
      return {{"contents", {{"kind", "markdown"}, {"value", hover_text(*note)}}},
              {"range", range_json(lines_, offset_at(note->begin), offset_at(note->end))}};
    }
  }
  return nullptr;
}

}  // namespace bivox::lsp
