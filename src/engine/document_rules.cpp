// The top rules: document writes what the element loop rebuilt; element tries the element
// categories in their fixed order.
#include "engine/fatal_stop.hpp"
#include "grammar/grammar.hpp"
#include "text/messages.hpp"

namespace bivox {

bool Grammar::document() {
  Frame f(*this);
  if (!f.seq(&Grammar::elements)) return f.fail();
  const std::size_t line_start = s_.output.size();
  s_.output += f[1];
  s_.output += '\n';
  s_.engine.emit_trace(std::string_view(s_.output).substr(line_start));
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
    if (buffer.size() + ctx.values.top().size() + 2 >= kLoopBuffer) {
      throw FatalStop(std::string(msg::kLoopBufferFull));
    }
    ctx.values.pop_append(buffer);
  }
  ctx.input.seek_pos(p);
  ctx.values.push_moved(std::move(buffer));
  return true;
}

// Every alternative of every category begins with a literal; beside each category stand the
// first bytes of those literals (the note letters of all three naming systems for notes).
bool Grammar::element() {
  static constexpr StartingRule kCategories[] = {
      {&Grammar::header_line, "%\\"},
      {&Grammar::attribute_command, "@PVSRWQUYTX"},
      {&Grammar::assignment_command, "RWQ"},
      {&Grammar::inline_command, "#xvo<>?pq"},
      {&Grammar::tuplet_or_bracket_chord, "(["},
      {&Grammar::note_or_chord_symbol, "abcdefghlmrs_'"},
      {&Grammar::repeat_mark, "&,"},
      {&Grammar::section_line, "*"},
      {&Grammar::macro, "${"},
      {&Grammar::bar_line, "|;"},
  };
  static constexpr StartTable kStarts = start_table(kCategories);
  return first_rule(kCategories, kStarts);
}

}  // namespace bivox
