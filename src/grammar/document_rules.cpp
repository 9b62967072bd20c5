// The top rules: document writes what the element loop rebuilt; element tries the element
// categories in their fixed order.
#include "engine/fatal_stop.hpp"
#include "grammar/command_tables.hpp"
#include "text/messages.hpp"

namespace bivox {

bool Grammar::document() {
  Frame f(*this);
  if (!f.seq(&Grammar::score_elements)) return f.fail();
  const std::size_t line_start = s_.output.size();
  if (line_start == 0) {
    s_.output = f.moved(1).take();
  } else {
    s_.output += f[1];
  }
  s_.output += '\n';
  s_.engine.emit_trace(std::string_view(s_.output).substr(line_start));
  return true;
}

// $1 + $2 is built where the element loop collects its elements: the loop's texts follow
// the first element's text in one buffer, so the text of nested groups is not copied once
// more at every level.
bool Grammar::elements() {
  return elements_in(nullptr);
}

// The rule elements for the whole score: its text is built in the storage of the output,
// which keeps its capacity from one pass to the next.
bool Grammar::score_elements() {
  return elements_in(s_.output.empty() ? &s_.output : nullptr);
}

bool Grammar::elements_in(std::string* storage) {
  Frame f(*this);
  if (!f.seq(&Grammar::element)) return f.fail();
  Text text = f.moved(1);
  if (storage != nullptr) text.move_into(*storage);
  collect_elements(text, storage != nullptr);
  return f.yield_moved(std::move(text));
}

bool Grammar::element_loop() {
  Text text;
  collect_elements(text);
  s_.engine.values.push_moved(std::move(text));
  return true;
}

// The element loop, as an activation of its own: appends the texts of the elements that
// follow to `text`, and leaves the input after the last of them.
void Grammar::collect_elements(Text& text, bool in_output) {
  // The text this loop holds counts against the bound on text held by all open loops.
  struct HeldText {
    ParseContext& ctx;
    std::size_t bytes = 0;
    void add(std::size_t n) {
      ctx.hold(n);
      bytes += n;
    }
    ~HeldText() { ctx.release(bytes); }
  };
  Frame f(*this);
  ParseContext& ctx = s_.engine;
  HeldText held{ctx};
  held.add(text.size());
  const std::size_t loop_start = text.size();
  Position p = ctx.input.tell_pos();
  for (;;) {
    // A note or bar line read directly goes straight into the text; any other element
    // passes through the value stack. An element that would fill the loop's buffer is a
    // fatal stop.
    const std::size_t before = text.size();
    const bool direct = read_note_directly(text, /*bar_line_too=*/true).value_or(false);
    if (!direct && !element_other_than_note()) break;
    p = ctx.input.tell_pos();
    const std::size_t size = direct ? text.size() - before : ctx.values.top().size();
    if (before - loop_start + size + 2 >= kLoopBuffer) {
      throw FatalStop(std::string(msg::kLoopBufferFull));
    }
    held.add(size);
    if (!direct) ctx.values.pop_append(text, in_output);
  }
  ctx.input.seek_pos(p);
}

bool Grammar::element() {
  return push_note_directly(/*bar_line_too=*/true).value_or(false) || element_other_than_note();
}

// Every alternative of every category begins with a literal; beside each category stand the
// first bytes of those literals (the note letters of all three naming systems for notes).
bool Grammar::element_other_than_note() {
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
  // The categories made of tables of rules begin where those rules begin.
  static_assert(first_bytes({kCategories[0]}) == first_bytes(kHeaderLines));
  static_assert(first_bytes({kCategories[1]}) == first_bytes(kAttributeCommands));
  static_assert(first_bytes({kCategories[2]}) == first_bytes(kAssignmentCommands));
  static_assert(first_bytes({kCategories[3]}) == first_bytes(kInlineCommands));
  static_assert(first_bytes({kCategories[4]}) == first_bytes(kGroups));
  static_assert(first_bytes({kCategories[6]}) == first_bytes(kRepeatMarks));
  static_assert(first_bytes({kCategories[8]}) == first_bytes(kMacros));
  constexpr std::uint32_t kNoteCategory = 1U << 5;  // note_or_chord_symbol
  static_assert(kStarts['|'] == 1U << 9);           // only bar_line, read with notes
  // A note letter (of any naming system) begins no other category, so a note read directly
  // is the element, and where none was read the categories are tried in their order.
  static_assert([] {
    for (const char letter : std::string_view("abcdefghlmrs_")) {
      if (kStarts[static_cast<unsigned char>(letter)] != kNoteCategory) return false;
    }
    return true;
  }());
  return first_rule(kCategories, kStarts);
}

}  // namespace bivox
