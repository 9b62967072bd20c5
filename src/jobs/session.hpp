#pragma once

#include <string>

#include "engine/parse_context.hpp"
#include "grammar/macro_table.hpp"
#include "grammar/score_state.hpp"
#include "jobs/diagnostics.hpp"

namespace bivox {

// Which job a pass belongs to, as the grammar's actions see it.
struct JobSwitches {
  bool stereo = false;       // pan commands before notes
  bool plain_notes = false;  // notes without annotation; member messages in the syntax test
  bool expansion = false;    // macros, repeats, omitted tuplets and member lists written out
  int pass = 0;
};

// Everything one user's work keeps: the dialog owns one for its whole life, bivox-cli one
// per call. Capture buffers and the nameless macro body outlive passes and jobs.
struct Session {
  Session() { diagnostics.follow(&engine.input); }
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

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
  Position stop_position = 0;
  Position end_position = 0;
};

}  // namespace bivox
