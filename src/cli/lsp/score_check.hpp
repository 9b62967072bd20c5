#pragma once

#include <bivox/bivox.hpp>
#include <cstddef>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "cli/lsp/positions.hpp"

namespace bivox::lsp {

// A document's text (UTF-8) as the score bytes (cp932) that a job reads. A character that
// cp932 cannot hold stands there as one geta mark "〓" per UTF-16 code unit: a double-byte
// character, which the score grammar passes over like spacing, so the rest of the score
// is still checked, and every protocol position keeps its place.
struct ScoreBytes {
  struct Unencodable {
    std::size_t offset = 0;  // of its stand-ins in the score bytes
    std::size_t size = 0;    // of its stand-ins: two bytes per UTF-16 code unit
    std::string what;
  };
  std::string cp932;
  std::vector<Unencodable> unencodable;
};
ScoreBytes score_bytes(std::string_view utf8);

// The syntax test of a document's text, as the diagnostics of publishDiagnostics: each
// character cp932 cannot hold, the place where the parse stopped early and a fatal stop as
// errors, each diagnostic of the job as a warning at its place.
nlohmann::json syntax_diagnostics(std::string_view utf8, std::string_view name);

// What a stereo conversion of a document's text gives each note, for hovers.
class NoteInfo {
 public:
  NoteInfo(std::string_view utf8, std::string_view name);
  // The hover for a position: the note's pitch and its pan or why it gets none; null
  // where no note stands.
  nlohmann::json hover(LspPosition position) const;

 private:
  TextLines lines_;
  std::vector<NotePlacement> notes_;
};

// The range from one byte offset to another, as the protocol writes it.
nlohmann::json range_json(const TextLines& lines, std::size_t begin, std::size_t end);

}  // namespace bivox::lsp
