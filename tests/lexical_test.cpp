// The small rules, one input each: what they yield and where they leave the input.
#include <gtest/gtest.h>

#include "grammar/grammar.hpp"

namespace bivox {
namespace {

using Rule = bool (Grammar::*)();

struct RuleCase {
  const char* rule_name;
  Rule rule;
  std::string input;
  std::string text;  // "<fail>" when the rule must not match
  Position after;
};

// One row: the rule, its input, what it yields and where it leaves the input.
#define RULE(r, ...) RuleCase({#r, &Grammar::r, __VA_ARGS__})

class Rules : public ::testing::TestWithParam<RuleCase> {};

TEST_P(Rules, YieldTheirText) {
  const RuleCase& c = GetParam();
  GrammarState session;
  session.engine.input.open(c.input);
  Grammar grammar(session);
  std::string text = "<fail>";
  if ((grammar.*c.rule)()) session.engine.values.pop_into(text);
  EXPECT_EQ(text, c.text) << c.rule_name << " on " << c.input;
  EXPECT_EQ(session.engine.input.tell_pos(), c.after) << c.rule_name << " on " << c.input;
  EXPECT_EQ(session.engine.values.count(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Grammar, Rules,
    ::testing::Values(
        RULE(number, "x", "<fail>", 0), RULE(optional_number, "x", "", 0),
        RULE(signed_number, "-", "<fail>", 0), RULE(signed_offset, "+0", "+0", 2),
        RULE(signed_offset, "05", "0", 1), RULE(signed_offset, "-", "<fail>", 0),
        RULE(signed_offset, "7", "<fail>", 0), RULE(name, "3abc_9", "3abc_9", 6),
        RULE(name, "-x", "<fail>", 0), RULE(length, "4...", "4..", 3), RULE(length, "12", "1", 1),
        RULE(length, "3", "", 0), RULE(length, "i", "", 0),
        RULE(length, "8 ^ 16 ~ 32", "8^16~32", 11), RULE(note_length, "4/////", "4////", 5),
        RULE(note_length, "4///.", "4///.", 5), RULE(note_length, "4//-x\ny", "4", 1),
        RULE(colon_note_length, ":8/.", ":8/.", 4), RULE(colon_note_length, "8", "", 0),
        // Two-digit values before one-digit ones; only the listed values are note values.
        RULE(note_value, "16", "16", 2), RULE(note_value, "0", "0", 1), RULE(length, "1 6", "1", 1),
        RULE(length, "4. .", "4.", 2),
        // A tick length takes no dots; its count may stand after spacing.
        RULE(length, "i12.", "i12", 3), RULE(length, "i 12", "i12", 4),
        // Grave-accent additions: a grave accent without digits is given back.
        RULE(length, "4`3.`2", "4`3.`2", 6), RULE(length, "4`3..", "4`3.", 4),
        RULE(length, "4`x", "4", 1), RULE(length, "`8", "`8", 2), RULE(length, "4 ` 3", "4`3", 5),
        // Ties join units of every kind, each of which may be empty.
        RULE(length, "^^", "^^", 2), RULE(length, "4^i30.", "4^i30", 5),
        RULE(length, "4^`", "4^", 2), RULE(length, "4`1^8`2.~", "4`1^8`2.~", 9),
        // The longer slash suffix first, each exactly as listed.
        RULE(note_length, "4////.", "4////", 5), RULE(note_length, "4//..", "4//.", 4),
        RULE(note_length, "4/...", "4/...", 5), RULE(note_length, "4 / .", "4/", 3),
        RULE(note_length, "^/", "^/", 2), RULE(colon_note_length, ":", ":", 1),
        RULE(colon_note_length, ": 4 ^ 8 //.", ":4^8//.", 11),
        // Notes, track letters, header lines and elements. The element loop stops just after its
        // last element: the spacing after it stays unread.
        RULE(accidental, "+++", "++", 2), RULE(accidental, "x", "", 0),
        RULE(octave_set, "o", "<fail>", 0), RULE(octave_shift, "<<<<", "<<<", 3),
        RULE(octave_shift, "> >", ">", 1),
        RULE(key_signature_line, "\\ ++++++++", "\n\\+++++++", 9),
        RULE(key_signature_line, "\\AZ +", "<fail>", 0),
        RULE(key_signature_line, "\\ =", "\n\\=", 3),
        RULE(key_signature_line, "\\AB------- -", "\n\\AB-------", 10),
        RULE(track_letters, "ABCDEFGHIJKLMNOZ", "ABCDEFGHIJKLMNOZ", 16),
        RULE(track_letters, "AP", "A", 1), RULE(track_letters, "P", "<fail>", 0),
        RULE(percent_line, "%4:", "\n%4:", 3), RULE(percent_line, "%ABZ", "\n%ABZ", 4),
        RULE(percent_line, "%c", "\n%", 1),
        RULE(section_line, "* FING  \"o4\"", "\n*FING\"o4\"", 12),
        RULE(section_line, "*POOL\"a\nb\"", "\n*POOL\"a\nb\"", 10),
        RULE(section_line, "*ABCD\"x\"", "<fail>", 0),
        RULE(section_line, "*fing\"x\"", "<fail>", 0), RULE(section_line, "*FING o4", "<fail>", 0),
        RULE(section_line, "*FING \"o4", "<fail>", 0), RULE(bar_line, "; a  b\nc", "\n; a  b\n", 7),
        RULE(bar_line, ";last", "\n;last\n", 5), RULE(element_loop, "", "", 0),
        RULE(element_loop, "  ~", "", 0), RULE(element_loop, "| | ~", "|\n|\n", 3),
        RULE(element_loop, "| //-c\n", "|\n", 1), RULE(element_loop, "|;x\r\n|", "|\n\n;x\n|\n", 6),
        RULE(elements, " ~|", "<fail>", 0), RULE(elements, "||", "|\n|\n", 2),
        // Outside the macro expansion and without a note before them, the commands get no prefix.

        RULE(member_declaration, "@ P", "\n@", 1), RULE(attribute_p, "P5/", "\nP5", 2),
        RULE(attribute_p, "P5:4", "\nP5", 2), RULE(attribute_v, "V100:", "\nV100:", 5),
        RULE(attribute_v, "V", "<fail>", 0), RULE(attribute_s, "S7", "<fail>", 0),
        RULE(attribute_r, "R=1.2.3", "<fail>", 0), RULE(attribute_q, "Q8:", "\nQ8:", 3),
        RULE(attribute_u, "U-5", "\nU-5!-[-0.50]-!", 3),
        RULE(attribute_u, "U-0", "\nU-0!-[ 0.00]-!", 3),
        RULE(attribute_u, "U+123", "\nU+123!-[12.30]-!", 5), RULE(attribute_u, "U5", "<fail>", 0),
        RULE(attribute_y, "Y2", "<fail>", 0), RULE(attribute_t, "T0", "\nT0", 2),
        RULE(attribute_t, "T5", "<fail>", 0), RULE(attribute_t, "T+2:4", "\nT+2", 3),
        RULE(attribute_x, "X128=5.", "\nX128=5", 6), RULE(attribute_x, "X 128 = 5", "\nX128=5", 9),
        RULE(attribute_x, "X1285=3", "\nX1285=3", 7), RULE(attribute_x, "X129=+2", "\nX129=+2", 7),
        RULE(attribute_x, "X128=-5", "<fail>", 0), RULE(attribute_x, "X7=+5", "<fail>", 0),
        RULE(attribute_command, "R=1.2.3", "<fail>", 0),
        RULE(assignment_command, "R=1.2.3", "\nR=1.2.3", 7),
        RULE(assignment_command, "Q=5.", "\nQ=5.", 4),
        RULE(assignment_command, "Q=1.2.3", "\nQ=1.2", 5),
        RULE(assignment_command, "R=1.2", "<fail>", 0),
        RULE(assignment_command, "Q=5", "<fail>", 0), RULE(inline_command, "# Z 0", "\n#Z0 ", 5),
        RULE(inline_command, "#P0", "<fail>", 0), RULE(inline_command, "#A", "<fail>", 0),
        RULE(inline_command, "x3", "<fail>", 0), RULE(inline_command, "?8", "\n?8", 2),
        RULE(inline_command, "?9", "<fail>", 0), RULE(inline_command, "v+5:4", "\nv+5:4", 5),
        RULE(inline_command, "v:4", "<fail>", 0), RULE(inline_command, "p~4.", "\np~4.", 4),
        RULE(inline_command, "p05", "\np0", 2), RULE(inline_command, "p5", "<fail>", 0),
        RULE(inline_command, "q^8", "\nq^8", 3), RULE(inline_command, "q7", "<fail>", 0),
        // The edges of the rules of a chord symbol (the plain forms are met by whole scores).
        RULE(chord_quality, "maj7", "m", 1), RULE(chord_quality, "dim M7", "dim", 3),
        RULE(chord_octave, ">>>>>", ">>>>", 4),
        RULE(chord_tensions, "(9, +11,-13)", "(9,+11,-13)", 12),
        RULE(chord_tensions, "(10)", "", 0), RULE(chord_tensions, "(9,)", "", 0),
        RULE(chord_bass, "/Bb'", "/Bb", 3), RULE(chord_bass, "/H", "", 0),
        RULE(chord_root, "H", "<fail>", 0), RULE(chord_symbol_length, "4:8 -x", "4:8-", 5),
        RULE(chord_colon_length, ":x", ":", 1)));

}  // namespace
}  // namespace bivox
