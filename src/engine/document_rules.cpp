// The top rules: document writes what the element loop rebuilt; element tries the element
// categories in their fixed order.
#include "engine/fatal_stop.hpp"
#include "grammar/grammar.hpp"
#include "text/messages.hpp"

namespace bivox {

bool Grammar::document() {
  Frame f(*this);
  if (!f.seq(&Grammar::elements)) return f.fail();
  std::string line = f[1];
  line += '\n';
  s_.output += line;
  s_.engine.emit_trace(line);
  return true;
}

bool Grammar::elements() {
  Frame f(*this);
  if (f.seq(&Grammar::element, &Grammar::element_loop)) return f.yield(f[1], f[2]);
  return f.fail();
}

bool Grammar::element_loop() {
  static constexpr std::size_t kLoopBuffer = 3'000'000;
  Frame f(*this);
  ParseContext& ctx = s_.engine;
  std::string buffer;
  Position p = ctx.input.tell_pos();
  while (element()) {
    p = ctx.input.tell_pos();
    std::string text;  // released before the next element is read
    ctx.values.pop_into(text);
    if (buffer.size() + text.size() + 2 >= kLoopBuffer) {
      throw FatalStop(std::string(msg::kLoopBufferFull));
    }
    f.hold(text.size());
    buffer += text;
  }
  ctx.input.seek_pos(p);
  ctx.values.push(std::move(buffer));
  return true;
}

bool Grammar::element() {
  static constexpr Rule kCategories[] = {
      &Grammar::header_line,
      &Grammar::attribute_command,
      &Grammar::assignment_command,
      &Grammar::inline_command,
      &Grammar::tuplet_or_bracket_chord,
      &Grammar::note_or_chord_symbol,
      &Grammar::repeat_mark,
      &Grammar::section_line,
      &Grammar::macro,
      &Grammar::bar_line,
  };
  return first_rule(kCategories);
}

}  // namespace bivox
