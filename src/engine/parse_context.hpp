#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "engine/fatal_stop.hpp"
#include "engine/input_source.hpp"
#include "engine/value_stack.hpp"
#include "text/messages.hpp"

namespace bivox {

// Receives the engine's trace lines (cp932 bytes, each ending in a line feed).
using TraceSink = std::function<void(std::string_view)>;

// What every terminal and rule works on: the value stack, the input source, the trace,
// the count of rule activations in progress and the switch of the fast paths.
struct ParseContext {
  // Rule activations that may be in progress at once. Deeper nesting is a fatal stop, so
  // that no input can exhaust the machine stack.
  static constexpr int kMaxDepth = 20000;
  // Bytes of rebuilt text that the open element loops of a nesting may hold at once. A
  // macro reference can write out megabytes from a few bytes of input and every open level
  // keeps its own text, so without a bound a small score could exhaust memory. Passing it
  // is the out-of-memory stop, as running out of storage would be.
  static constexpr std::size_t kMaxHeldBytes = std::size_t{512} << 20;

  ValueStack values;
  InputSource input;
  TraceSink trace;
  int depth = 0;
  std::size_t held_bytes = 0;
  std::size_t peak_held_bytes = 0;  // the most held at once since the last reset
  // The fast paths: a spacing skip remembered for the next terminal at the same place, and
  // alternatives passed over when the byte after the spacing shows that their first
  // terminal fails (which runs no action). Off, every alternative is tried in full; the
  // results are the same either way.
  bool fast_paths = true;

  // Ready for a new parse: nothing on the stack, no rule active, no text held.
  void reset() {
    values.reset();
    depth = 0;
    held_bytes = 0;
    peak_held_bytes = 0;
  }

  // Whether a fast path may stand in for rules that would open up to `activations` rule
  // activations: only with the fast paths on and that far from the nesting limit, so that
  // the limit is met at the same place with and without them.
  bool may_shortcut(int activations) const {
    return fast_paths && depth + activations <= kMaxDepth;
  }

  void hold(std::size_t bytes) {
    if (bytes > kMaxHeldBytes - held_bytes) throw FatalStop(std::string(msg::kOutOfMemory));
    held_bytes += bytes;
    if (held_bytes > peak_held_bytes) peak_held_bytes = held_bytes;
  }
  void release(std::size_t bytes) { held_bytes -= bytes; }

  bool tracing() const { return static_cast<bool>(trace); }
  void emit_trace(std::string_view line) const {
    if (trace) trace(line);
  }
};

}  // namespace bivox
