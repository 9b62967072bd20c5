#pragma once

#include <functional>
#include <string_view>

#include "engine/input_source.hpp"
#include "engine/value_stack.hpp"

namespace bivox {

// Receives the engine's trace lines (cp932 bytes, each ending in a line feed).
using TraceSink = std::function<void(std::string_view)>;

// What every terminal and rule works on: the value stack, the input source, the trace,
// the count of rule activations in progress and the switch of the fast paths.
struct ParseContext {
  // Rule activations that may be in progress at once. Deeper nesting is a fatal stop, so
  // that no input can exhaust the machine stack.
  static constexpr int kMaxDepth = 20000;

  ValueStack values;
  InputSource input;
  TraceSink trace;
  int depth = 0;
  // The fast paths: a spacing skip remembered for the next terminal at the same place, and
  // alternatives passed over when the byte after the spacing shows that their first
  // terminal fails (which runs no action). Off, every alternative is tried in full; the
  // results are the same either way.
  bool fast_paths = true;

  void emit_trace(std::string_view line) const {
    if (trace) trace(line);
  }
};

}  // namespace bivox
