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

#define RULE(r) #r, &Grammar::r

class Rules : public ::testing::TestWithParam<RuleCase> {};

TEST_P(Rules, YieldTheirText) {
  const RuleCase& c = GetParam();
  Session session;
  session.engine.input.open(c.input);
  Grammar grammar(session);
  std::string text = "<fail>";
  if ((grammar.*c.rule)()) session.engine.values.pop_into(text);
  EXPECT_EQ(text, c.text) << c.rule_name << " on " << c.input;
  EXPECT_EQ(session.engine.input.tell_pos(), c.after) << c.rule_name << " on " << c.input;
  EXPECT_EQ(session.engine.values.count(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Lexical, Rules,
    ::testing::Values(
        RuleCase{RULE(number), "12a", "12", 2}, RuleCase{RULE(number), "1 6", "1", 1},
        RuleCase{RULE(number), "x", "<fail>", 0}, RuleCase{RULE(optional_number), "x", "", 0},
        RuleCase{RULE(signed_number), "+5", "+5", 2},
        RuleCase{RULE(signed_number), "-", "<fail>", 0},
        RuleCase{RULE(signed_offset), "+0", "+0", 2}, RuleCase{RULE(signed_offset), "05", "0", 1},
        RuleCase{RULE(signed_offset), "-", "<fail>", 0},
        RuleCase{RULE(signed_offset), "7", "<fail>", 0},
        RuleCase{RULE(dotted_number), "3.", "3.", 2}, RuleCase{RULE(name), "3abc_9", "3abc_9", 6},
        RuleCase{RULE(name), "x", "x", 1}, RuleCase{RULE(name), "-x", "<fail>", 0},
        RuleCase{RULE(length), "4.", "4.", 2}, RuleCase{RULE(length), "4...", "4..", 3},
        RuleCase{RULE(length), "12", "1", 1}, RuleCase{RULE(length), "3", "", 0},
        RuleCase{RULE(length), "i120", "i120", 4}, RuleCase{RULE(length), "i", "", 0},
        RuleCase{RULE(length), "4`3`2.", "4`3`2.", 6}, RuleCase{RULE(length), "4`", "4", 1},
        RuleCase{RULE(length), "^", "^", 1}, RuleCase{RULE(length), "^8", "^8", 2},
        RuleCase{RULE(length), "4^", "4^", 2}, RuleCase{RULE(length), "8 ^ 16 ~ 32", "8^16~32", 11},
        RuleCase{RULE(length), "4 . ^ 8", "4.^8", 7},
        RuleCase{RULE(note_length), "4////", "4////", 5},
        RuleCase{RULE(note_length), "4/////", "4////", 5},
        RuleCase{RULE(note_length), "4///.", "4///.", 5},
        RuleCase{RULE(note_length), "4//-x\ny", "4", 1},
        RuleCase{RULE(colon_note_length), ":8/.", ":8/.", 4},
        RuleCase{RULE(colon_note_length), "8", "", 0},
        // Two-digit values before one-digit ones; only the listed values are note values.
        RuleCase{RULE(note_value), "16", "16", 2}, RuleCase{RULE(note_value), "64", "64", 2},
        RuleCase{RULE(note_value), "32", "32", 2}, RuleCase{RULE(note_value), "0", "0", 1},
        RuleCase{RULE(length), "1 6", "1", 1}, RuleCase{RULE(length), "4. .", "4.", 2},
        // A tick length takes no dots; its count may stand after spacing.
        RuleCase{RULE(length), "i12.", "i12", 3}, RuleCase{RULE(length), "i 12", "i12", 4},
        // Grave-accent additions: a grave accent without digits is given back.
        RuleCase{RULE(length), "4`3.`2", "4`3.`2", 6}, RuleCase{RULE(length), "4`3`", "4`3", 3},
        RuleCase{RULE(length), "4`3..", "4`3.", 4}, RuleCase{RULE(length), "4`x", "4", 1},
        RuleCase{RULE(length), "`8", "`8", 2}, RuleCase{RULE(length), "4 ` 3", "4`3", 5},
        // Ties join units of every kind, each of which may be empty.
        RuleCase{RULE(length), "4^8~16", "4^8~16", 6}, RuleCase{RULE(length), "^^", "^^", 2},
        RuleCase{RULE(length), "~", "~", 1}, RuleCase{RULE(length), "4^`3", "4^`3", 4},
        RuleCase{RULE(length), "4^i30.", "4^i30", 5}, RuleCase{RULE(length), "4^`", "4^", 2},
        RuleCase{RULE(length), "4`1^8`2.~", "4`1^8`2.~", 9},
        // The longer slash suffix first, each exactly as listed.
        RuleCase{RULE(note_length), "4////.", "4////", 5},
        RuleCase{RULE(note_length), "4///", "4///", 4},
        RuleCase{RULE(note_length), "4//.", "4//.", 4},
        RuleCase{RULE(note_length), "4//..", "4//.", 4},
        RuleCase{RULE(note_length), "4/...", "4/...", 5},
        RuleCase{RULE(note_length), "4/..", "4/..", 4},
        RuleCase{RULE(note_length), "4/.", "4/.", 3}, RuleCase{RULE(note_length), "4/", "4/", 2},
        RuleCase{RULE(note_length), "4 / .", "4/", 3}, RuleCase{RULE(note_length), "^/", "^/", 2},
        RuleCase{RULE(colon_note_length), ":", ":", 1},
        RuleCase{RULE(colon_note_length), ": 4 ^ 8 //.", ":4^8//.", 11}));

INSTANTIATE_TEST_SUITE_P(Notes, Rules,
                         ::testing::Values(RuleCase{RULE(accidental), "+++", "++", 2},
                                           RuleCase{RULE(accidental), "--", "--", 2},
                                           RuleCase{RULE(accidental), "=", "=", 1},
                                           RuleCase{RULE(accidental), "x", "", 0},
                                           RuleCase{RULE(octave_set), "o12", "o12", 3},
                                           RuleCase{RULE(octave_set), "o", "<fail>", 0},
                                           RuleCase{RULE(octave_shift), "<<<<", "<<<", 3},
                                           RuleCase{RULE(octave_shift), ">>", ">>", 2},
                                           RuleCase{RULE(octave_shift), "> >", ">", 1}));

INSTANTIATE_TEST_SUITE_P(
    Tracks, Rules,
    ::testing::Values(RuleCase{RULE(track_letters), "ABZ", "ABZ", 3},
                      RuleCase{RULE(track_letters), "AB c", "AB", 2},
                      RuleCase{RULE(key_signature_line), "\\ACE --", "\n\\ACE--", 7},
                      RuleCase{RULE(key_signature_line), "\\ ++++++++", "\n\\+++++++", 9},
                      RuleCase{RULE(key_signature_line), "\\Z +", "<fail>", 0},
                      RuleCase{RULE(key_signature_line), "\\AZ +", "<fail>", 0},
                      RuleCase{RULE(key_signature_line), "\\ =", "\n\\=", 3},
                      RuleCase{RULE(key_signature_line), "\\AB------- -", "\n\\AB-------", 10},
                      RuleCase{RULE(track_letters), "ABCDEFGHIJKLMNOZ", "ABCDEFGHIJKLMNOZ", 16},
                      RuleCase{RULE(track_letters), "AP", "A", 1},
                      RuleCase{RULE(track_letters), "P", "<fail>", 0}));

}  // namespace
}  // namespace bivox
