#pragma once

#include "bivox/bivox.hpp"
#include "grammar/grammar_state.hpp"

namespace bivox {

// A session's whole state: what the grammar works on, and where the last pass stopped.
class SessionState : public GrammarState {
 public:
  Position stop_position = 0;
  Position end_position = 0;
  // How the running stereo conversion places notes; the defaults in the other jobs.
  StereoOptions stereo;
};

}  // namespace bivox
