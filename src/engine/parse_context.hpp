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

// What every terminal and rule works on: the value stack, the input source, the trace
// and the count of rule activations in progress.
struct ParseContext {
  // Rule activations that may be in progress at once. Deeper nesting is a fatal stop, so
  // that no input can exhaust the machine stack.
  static constexpr int kMaxDepth = 20000;

  // Bytes of rebuilt text that the rule activations in progress may hold at once. A macro
  // reference can write out megabytes from a few bytes of input, and every open element
  // loop of a nesting keeps its own, so without a bound a small score could exhaust memory.
  // Passing it is the out-of-memory stop, as running out of storage would be.
  static constexpr std::size_t kMaxHeldBytes = std::size_t{512} << 20;

  ValueStack values;
  InputSource input;
  TraceSink trace;
  int depth = 0;
  std::size_t held_bytes = 0;

  void hold(std::size_t bytes) {
    if (bytes > kMaxHeldBytes - held_bytes) throw FatalStop(std::string(msg::kOutOfMemory));
    held_bytes += bytes;
  }
  void release(std::size_t bytes) { held_bytes -= bytes; }

  void emit_trace(std::string_view line) const {
    if (trace) trace(line);
  }
};

}  // namespace bivox
