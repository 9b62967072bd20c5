// Tuplets in parentheses and bracket chords, with their captures and reports.
#include "engine/fatal_stop.hpp"
#include "grammar/command_tables.hpp"
#include "text/format.hpp"
#include "text/messages.hpp"

namespace bivox {
namespace {

constexpr std::size_t kTupletField = 1024;

}  // namespace

bool Grammar::tuplet_or_bracket_chord() {
  static constexpr StartTable kStarts = start_table(kGroups);
  return first_rule(kGroups, kStarts);
}

bool Grammar::tuplet() {
  Frame f(*this);
  if (f.seq("(", &Grammar::tuplet_body, ")", &Grammar::note_length)) {
    capture_tuplet(f[2]);
    return f.yield(f[1], f[2], f[3], f[4]);
  }
  if (f.seq("(", ")", &Grammar::note_length)) {
    recall_tuplet();
    return f.yield(f[1], s_.captures.tuplet_recall, f[2], f[3]);
  }
  return f.fail();
}

bool Grammar::tuplet_body() {
  Frame f(*this);
  if (f.seq(&Grammar::elements)) return f.pass(1);
  return f.fail();
}

bool Grammar::bracket_chord() {
  Frame f(*this);
  if (f.seq("[", &Grammar::bracket_chord_body, "]", &Grammar::bracket_chord_length)) {
    capture_chord(ChordKind::bracket, f[2]);
    report_text(msg::kBracketChordLabel, f[2]);
    return f.yield(f[1], f[2], f[3], f[4]);
  }
  if (f.seq("[", "]", &Grammar::bracket_chord_length)) {
    capture_chord(ChordKind::bracket, "");
    return f.yield(f[1], f[2], f[3]);
  }
  return f.fail();
}

bool Grammar::bracket_chord_body() {
  Frame f(*this);
  if (f.seq(&Grammar::elements)) return f.pass(1);
  return f.fail();
}

bool Grammar::bracket_chord_length() {
  Frame f(*this);
  if (f.seq(&Grammar::note_length, &Grammar::colon_note_length)) return f.yield(f[1], f[2]);
  return f.fail();
}

void Grammar::capture_tuplet(std::string_view body) {
  if (!s_.switches.expansion) return;
  if (body.size() >= kTupletField) {
    throw FatalStop(format(msg::kTupletTooLong, static_cast<int>(kTupletField)));
  }
  tuplet_slot() = body;
}

void Grammar::recall_tuplet() {
  if (s_.switches.expansion) {
    s_.captures.tuplet_recall = tuplet_slot();
    return;
  }
  s_.diagnostics.add(msg::kOmittedTuplet);
  s_.captures.tuplet_recall.clear();
}

}  // namespace bivox
