#pragma once

#include <string>
#include <vector>

#include "bivox/notes.hpp"
#include "engine/parse_context.hpp"
#include "grammar/diagnostics.hpp"
#include "grammar/macro_table.hpp"
#include "grammar/score_state.hpp"

namespace bivox {

// Which job a pass belongs to, as the grammar's actions see it.
struct JobSwitches {
  bool stereo = false;       // pan commands before notes
  bool plain_notes = false;  // notes without annotation; member messages in the syntax test
  bool expansion = false;    // macros, repeats, omitted tuplets and member lists written out
  int pass = 0;
};

// Everything the grammar's rules and actions read and change. Capture buffers and the
// nameless macro body outlive passes and jobs; the rest is set up anew for every pass.
struct GrammarState {
  GrammarState() { diagnostics.follow(&engine.input); }
  GrammarState(const GrammarState&) = delete;
  GrammarState& operator=(const GrammarState&) = delete;

  ParseContext engine;
  JobSwitches switches;
  ScoreState score;
  MacroTable macros;
  Diagnostics diagnostics;
  CaptureBuffers captures;
  PitchScale pitch;
  PlacementRecord placement;  // emptied at the start of every pass
  // The rebuilt text of the running pass, with plain line feeds.
  std::string output;
  // Where the stereo placement records the notes of the pass; none: no recording.
  std::vector<NotePlacement>* note_log = nullptr;
  // Not 0 while the first pass of a stereo conversion writes the texts that depend on the
  // pitch range as marks beginning with this byte (grammar/placement_marks.hpp).
  char mark = 0;
  // The lowest and highest value of the value reports written as marks, and 0.
  int lowest_report = 0;
  int highest_report = 0;
};

}  // namespace bivox
