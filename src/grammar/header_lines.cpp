// Percent lines, section lines with their FING and DRUM settings, and bar lines.
#include "grammar/command_tables.hpp"
#include "text/encoding.hpp"

namespace bivox {
namespace {

constexpr int kFingSection = 6;
constexpr int kDrumSection = 7;

// The value of a FING setting: the code of the character after the letter minus the code
// of "0", unchecked. The byte counts as signed on every platform, so a setting such as the
// closing quote gives the same value everywhere.
int setting_value(char c) {
  return static_cast<signed char>(c) - '0';
}

}  // namespace

bool Grammar::header_line() {
  static constexpr StartTable kStarts = start_table(kHeaderLines);
  return first_rule(kHeaderLines, kStarts);
}

bool Grammar::percent_line() {
  Frame f(*this);
  if (f.seq("%", &Grammar::number, ":", &Grammar::length)) {
    return f.yield(NL, f[1], f[2], f[3], f[4]);
  }
  if (f.seq_prefix("%", &Grammar::number)) return f.yield(NL, f[1], f[2]);
  if (f.seq("%", &Grammar::track_letters)) return f.yield(NL, f[1], f[2]);
  if (f.seq_prefix("%")) return f.yield(NL, f[1]);
  return f.fail();
}

bool Grammar::section_line() {
  Frame f(*this);
  if (f.seq("*", &Grammar::section_name, quoted_text)) {
    apply_section(section_kind_, f[3]);
    return f.yield(NL, f[1], f[2], f[3]);
  }
  return f.fail();
}

bool Grammar::section_name() {
  static constexpr Choice kSections[] = {
      {"HEAD", 0}, {"TEXT", 1}, {"STOP", 2}, {"MARK", 3}, {"FONT", 4},  {"WAVE", 5},
      {"FING", 6}, {"DRUM", 7}, {"ROOM", 8}, {"COLR", 9}, {"DATA", 10}, {"POOL", 11},
  };
  return choose(kSections, section_kind_);
}

bool Grammar::bar_line() {
  Frame f(*this);
  if (f.seq("|")) return f.yield(f[1], NL);
  if (f.seq(";", rest_of_line)) return f.yield(NL, f[1], f[2], NL);
  return f.fail();
}

// The section text is walked character by character: a two-byte character is passed over
// whole, so its second byte (which may look like "A", "o" or "x") never counts as a letter.
void Grammar::apply_section(int kind, std::string_view text) {
  if (kind != kFingSection && kind != kDrumSection) return;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (is_cp932_lead(static_cast<unsigned char>(c))) {
      ++i;
    } else if (kind == kFingSection) {
      if ((c == '?' || c == 'o' || c == 'x') && i + 1 < text.size()) {
        s_.score.set_all_voices(c, setting_value(text[i + 1]));
      }
    } else if (c >= 'A' && c <= 'Z') {
      s_.score.drum_track[static_cast<std::size_t>(track_slot(c))] = true;
    }
  }
}

}  // namespace bivox
