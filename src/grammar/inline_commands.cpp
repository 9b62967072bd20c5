// The assignment commands "R=", "W=", "Q=" and the commands that stand between notes.
#include "grammar/command_tables.hpp"

namespace bivox {

bool Grammar::assignment_command() {
  static constexpr StartTable kStarts = start_table(kAssignmentCommands);
  return first_rule(kAssignmentCommands, kStarts);
}

bool Grammar::assign_r() {
  Frame f(*this);
  if (f.seq("R=", &Grammar::optional_number, ".", &Grammar::optional_number, ".",
            &Grammar::optional_number)) {
    return f.yield(NL, member_prefix('R'), f[1], f[2], f[3], f[4], f[5], f[6]);
  }
  return f.fail();
}

bool Grammar::assign_w() {
  Frame f(*this);
  if (f.seq("W=", &Grammar::optional_number, ".", &Grammar::optional_number, ".",
            &Grammar::optional_number)) {
    return f.yield(NL, member_prefix('W'), f[1], f[2], f[3], f[4], f[5], f[6]);
  }
  return f.fail();
}

bool Grammar::assign_q() {
  Frame f(*this);
  if (f.seq("Q=", &Grammar::optional_number, ".", &Grammar::optional_number)) {
    return f.yield(NL, member_prefix('Q'), f[1], f[2], f[3], f[4]);
  }
  return f.fail();
}

bool Grammar::inline_command() {
  static constexpr StartTable kStarts = start_table(kInlineCommands);
  return first_rule(kInlineCommands, kStarts);
}

bool Grammar::track_select() {
  Frame f(*this);
  if (f.seq("#", &Grammar::track_letter, &Grammar::number)) {
    s_.score.current_track = track_slot(f[2][0]);
    s_.score.current_voice = f[3][0] - '0';
    return f.yield(NL, f[1], f[2], f[3], " ");
  }
  return f.fail();
}

bool Grammar::inline_x() {
  static constexpr Choice kNamings[] = {{"x0", 0}, {"x1", 1}, {"x2", 2}};
  int naming = 0;
  if (!choose(kNamings, naming)) return false;
  s_.score.voice_field(s_.score.note_naming) = naming;
  return start_line();
}

bool Grammar::inline_v() {
  Frame f(*this);
  for (const std::string_view v : {"v", "v+", "v-"}) {
    if (f.seq(v, &Grammar::number, ":", &Grammar::length)) {
      return f.yield(NL, f[1], f[2], f[3], f[4]);
    }
  }
  for (const std::string_view v : {"v", "v+", "v-"}) {
    if (f.seq(v, &Grammar::number)) return f.yield(NL, f[1], f[2]);
  }
  return f.fail();
}

bool Grammar::inline_question() {
  static constexpr Choice kClefs[] = {{"?0", 0}, {"?1", 1}, {"?2", 2}, {"?3", 3}, {"?4", 4},
                                      {"?5", 5}, {"?6", 6}, {"?7", 7}, {"?8", 8}};
  int clef = 0;
  if (!choose(kClefs, clef)) return false;
  s_.score.voice_field(s_.score.clef) = clef;
  return start_line();
}

// "p" and "q" share their forms: a zero, a signed number, or a tie or slur with a length.
bool Grammar::signed_or_tied(const TiedForms& forms) {
  Frame f(*this);
  if (f.seq(forms.zero)) return f.yield(NL, f[1]);
  if (f.seq(forms.plus, &Grammar::number)) return f.yield(NL, f[1], f[2]);
  if (f.seq(forms.minus, &Grammar::number)) return f.yield(NL, f[1], f[2]);
  if (f.seq(forms.tie, &Grammar::length)) return f.yield(NL, f[1], f[2]);
  if (f.seq(forms.slur, &Grammar::length)) return f.yield(NL, f[1], f[2]);
  return f.fail();
}

bool Grammar::inline_p() {
  return signed_or_tied({"p0", "p+", "p-", "p^", "p~"});
}

bool Grammar::inline_q() {
  return signed_or_tied({"q0", "q+", "q-", "q^", "q~"});
}

}  // namespace bivox
