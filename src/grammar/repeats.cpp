// The "&" mark and the chord repeat ",".
#include "grammar/command_tables.hpp"
#include "text/messages.hpp"

namespace bivox {

bool Grammar::repeat_mark() {
  static constexpr StartTable kStarts = start_table(kRepeatMarks);
  return first_rule(kRepeatMarks, kStarts);
}

bool Grammar::ampersand_mark() {
  Frame f(*this);
  if (f.seq("&")) return f.pass(1);
  return f.fail();
}

bool Grammar::chord_repeat() {
  Frame f(*this);
  if (f.seq(",", &Grammar::repeat_length, "-")) return f.yield(reproduce_chord(), f[2], f[3]);
  if (f.seq_prefix(",", &Grammar::repeat_length)) return f.yield(reproduce_chord(), f[2]);
  return f.fail();
}

bool Grammar::repeat_length() {
  Frame f(*this);
  if (f.seq(&Grammar::note_length, &Grammar::colon_note_length)) return f.yield(f[1], f[2]);
  return f.fail();
}

// A remembered chord is reproduced whole, however long it is.
std::string Grammar::reproduce_chord() {
  if (s_.switches.expansion) return chord_slot();
  s_.diagnostics.add(msg::kChordRepeat);
  return ",";
}

}  // namespace bivox
