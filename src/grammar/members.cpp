// Member declarations and the attribute commands P, V, S, R, W, Q, U, Y, T and X.
#include <algorithm>

#include "engine/fatal_stop.hpp"
#include "grammar/command_tables.hpp"
#include "grammar/placement_marks.hpp"
#include "text/format.hpp"
#include "text/messages.hpp"

namespace bivox {
namespace {

constexpr std::size_t kMemberListField = 1024;

}  // namespace

bool Grammar::attribute_command() {
  static constexpr StartTable kStarts = start_table(kAttributeCommands);
  return first_rule(kAttributeCommands, kStarts);
}

bool Grammar::member_declaration() {
  Frame f(*this);
  if (f.seq("@", &Grammar::track_letters)) {
    declare_members(f[2]);
    return f.yield(NL, f[1], f[2]);
  }
  if (f.seq_prefix("@")) {
    declare_members("");
    return f.yield(NL, f[1]);
  }
  return f.fail();
}

bool Grammar::attribute_p() {
  Frame f(*this);
  if (f.seq("P", &Grammar::number, "/", &Grammar::number)) {
    return f.yield(NL, member_prefix('P'), f[1], f[2], f[3], f[4]);
  }
  if (f.seq_prefix("P", &Grammar::number)) return f.yield(NL, member_prefix('P'), f[1], f[2]);
  return f.fail();
}

// The forms letter value ":" length and letter value of the commands without actions.
bool Grammar::letter_value_length(std::string_view letter, Rule value) {
  Frame f(*this);
  if (f.seq(letter, value, ":", &Grammar::length)) {
    return f.yield(NL, member_prefix(letter[0]), f[1], f[2], f[3], f[4]);
  }
  if (f.seq_prefix(letter, value)) return f.yield(NL, member_prefix(letter[0]), f[1], f[2]);
  return f.fail();
}

bool Grammar::attribute_v() {
  return letter_value_length("V", &Grammar::signed_number);
}

bool Grammar::attribute_s() {
  Frame f(*this);
  if (f.seq("S", &Grammar::signed_offset, ":", &Grammar::length)) {
    s_.score.mark_pan_fixed();
    return f.yield(NL, member_prefix('S'), f[1], f[2], f[3], f[4]);
  }
  if (f.seq_prefix("S", &Grammar::signed_offset)) {
    s_.score.mark_pan_fixed();
    return f.yield(NL, member_prefix('S'), f[1], f[2]);
  }
  return f.fail();
}

bool Grammar::attribute_r() {
  return letter_value_length("R", &Grammar::number);
}

bool Grammar::attribute_w() {
  return letter_value_length("W", &Grammar::number);
}

bool Grammar::attribute_q() {
  return letter_value_length("Q", &Grammar::number);
}

bool Grammar::attribute_u() {
  Frame f(*this);
  const auto report_pitch_command = [&] { report_text(msg::kPitchULabel, msg::kPleaseConsider); };
  if (f.seq("U", &Grammar::signed_offset, ":", &Grammar::length)) {
    const std::string prefix = member_prefix('U');
    const std::string report = value_report(f[2]);
    report_pitch_command();
    return f.yield(NL, prefix, f[1], f[2], f[3], f[4], report);
  }
  if (f.seq_prefix("U", &Grammar::signed_offset)) {
    const std::string prefix = member_prefix('U');
    const std::string report = value_report(f[2]);
    report_pitch_command();
    return f.yield(NL, prefix, f[1], f[2], report);
  }
  return f.fail();
}

bool Grammar::attribute_y() {
  Frame f(*this);
  if (f.seq("Y0")) return f.yield(NL, member_prefix('Y'), f[1]);
  if (f.seq("Y1")) return f.yield(NL, member_prefix('Y'), f[1]);
  return f.fail();
}

bool Grammar::attribute_t() {
  Frame f(*this);
  if (f.seq("T", &Grammar::signed_offset)) {
    const std::string prefix = member_prefix('T');
    s_.score.set_transpose(f[2]);
    return f.yield(NL, prefix, f[1], f[2]);
  }
  return f.fail();
}

bool Grammar::attribute_x() {
  Frame f(*this);
  if (f.seq("X", "128", "=", &Grammar::number, ".", &Grammar::number)) {
    return f.yield(NL, member_prefix('X'), f[1], f[2], f[3], f[4], f[5], f[6]);
  }
  if (f.seq_prefix("X", "128", "=", &Grammar::number)) {
    return f.yield(NL, member_prefix('X'), f[1], f[2], f[3], f[4]);
  }
  if (f.seq("X", &Grammar::number, "=", &Grammar::number)) {
    return f.yield(NL, member_prefix('X'), f[1], f[2], f[3], f[4]);
  }
  if (f.seq("X", "129", "=", "+", &Grammar::number)) {
    return f.yield(NL, member_prefix('X'), f[1], f[2], f[3], f[4], f[5]);
  }
  if (f.seq("X", "129", "=", "-", &Grammar::number)) {
    return f.yield(NL, member_prefix('X'), f[1], f[2], f[3], f[4], f[5]);
  }
  return f.fail();
}

void Grammar::declare_members(std::string_view letters) {
  ScoreState& st = s_.score;
  if (!letters.empty()) {
    if (letters.size() >= kMemberListField) {
      throw FatalStop(format(msg::kMemberListFull, static_cast<int>(kMemberListField)));
    }
    st.member_list = letters;
  } else {
    st.member_list = std::string(1, static_cast<char>('A' + st.current_track));
  }
  st.note_seen = false;
}

std::string Grammar::member_prefix(char letter) {
  const ScoreState& st = s_.score;
  if (!s_.switches.expansion) {
    if (st.note_seen && s_.switches.plain_notes) {
      s_.diagnostics.add(format(msg::kMemberBetween, letter));
    }
    return "";
  }
  if (st.macro_depth != 0 || !st.note_seen) return "";
  return "@" + st.member_list;
}

std::string Grammar::value_report(std::string_view value) {
  const int v = parse_signed(value);
  std::string report = value_report_text(v, s_.pitch.scale);
  if (s_.mark != 0) {
    report[0] = s_.mark;
    s_.lowest_report = std::min(s_.lowest_report, v);
    s_.highest_report = std::max(s_.highest_report, v);
  }
  return report;
}

void Grammar::report_text(std::string_view label, std::string_view text) {
  const ScoreState& st = s_.score;
  if (st.pan_fixed[static_cast<std::size_t>(st.current_track)]) return;
  // A message that finds no room and that no trace shows is not made.
  if (s_.diagnostics.full() && !s_.engine.tracing()) return s_.diagnostics.drop();
  std::string cleaned;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\n' || c == ' ') continue;
    // A pan command written as a mark: its mark byte and track letter stand for " @".
    if (pan_mark_at(text, i, s_.mark)) {
      c = '@';
      ++i;
    }
    if (c == '@' && i + 1 < text.size() && text[i + 1] == 'S') {
      ++i;
      while (i + 1 < text.size() && (text[i + 1] == '+' || text[i + 1] == '-' ||
                                     (text[i + 1] >= '0' && text[i + 1] <= '9'))) {
        ++i;
      }
      continue;
    }
    cleaned.push_back(c);
  }
  std::string message = std::string(label) + "=[" + cleaned + "]";
  if (s_.engine.tracing()) s_.engine.emit_trace(message + "\n");
  s_.diagnostics.add(message, st.current_track);
}

}  // namespace bivox
