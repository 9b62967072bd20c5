#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "engine/rule_frame.hpp"
#include "grammar/grammar_state.hpp"

namespace bivox {

// The buffer of one element loop. An element whose text, with the loop's text so far and
// the two bytes the loop keeps free, would fill it ends the job in a fatal stop.
inline constexpr std::size_t kLoopBuffer = 3'000'000;
// The most text one element loop can hold; no repetition longer than this is ever built.
inline constexpr std::size_t kLoopTextLimit = kLoopBuffer - 3;

// The score grammar: every rule is a member function that returns true with one text
// pushed, or false with the input where it was. The rules of each area live in a file of
// their own; they read and change the session's state through their actions.
class Grammar {
 public:
  explicit Grammar(GrammarState& session) : s_(session) {}
  ParseContext& context() { return s_.engine; }

  // Document rules.
  bool document();
  bool elements();
  bool score_elements();
  bool element_loop();
  bool element();
  bool element_other_than_note();

  // Lexical rules.
  bool number();
  bool optional_number();
  bool signed_number();
  bool signed_offset();
  bool dotted_number();
  bool name();
  bool note_value();
  bool dots();
  bool tick_length();
  bool base_length();
  bool backquote_chain();
  bool backquote_addition();
  bool length_unit();
  bool tie_chain();
  bool tied_unit();
  bool length();
  bool slash_suffix();
  bool note_length();
  bool colon_note_length();

  // Header, section and bar lines.
  bool header_line();
  bool percent_line();
  bool section_line();
  bool section_name();
  bool bar_line();

  // Member declarations and attribute commands.
  bool attribute_command();
  bool member_declaration();
  bool attribute_p();
  bool attribute_v();
  bool attribute_s();
  bool attribute_r();
  bool attribute_w();
  bool attribute_q();
  bool attribute_u();
  bool attribute_y();
  bool attribute_t();
  bool attribute_x();

  // Inline commands.
  bool assignment_command();
  bool assign_r();
  bool assign_w();
  bool assign_q();
  bool inline_command();
  bool track_select();
  bool inline_x();
  bool inline_v();
  bool inline_question();
  bool inline_p();
  bool inline_q();

  // Track letters and key signatures.
  bool track_letter();
  bool track_letters();
  bool sig_track_letter();
  bool sig_track_letters();
  bool key_signs();
  bool key_signature_line();

  // Notes.
  bool note_or_chord_symbol();
  bool note();
  bool note_name();
  bool solfege_name();
  bool english_name();
  bool german_name();
  bool accidental();
  bool octave_set();
  bool octave_shift();

  // Chord symbols.
  bool chord_symbol();
  bool chord_body();
  bool chord_root();
  bool chord_letter();
  bool chord_accidental();
  bool chord_quality();
  bool chord_octave();
  bool chord_tensions();
  bool tension_list();
  bool tension();
  bool chord_bass();
  bool chord_symbol_length();
  bool chord_colon_length();

  // Tuplets and bracket chords.
  bool tuplet_or_bracket_chord();
  bool tuplet();
  bool tuplet_body();
  bool bracket_chord();
  bool bracket_chord_body();
  bool bracket_chord_length();

  // Macros.
  bool macro();
  bool macro_definition();
  bool macro_reference();
  bool nameless_macro();
  bool macro_body();

  // Repeats.
  bool repeat_mark();
  bool ampersand_mark();
  bool chord_repeat();
  bool repeat_length();

  using Frame = RuleFrame<Grammar>;
  using Rule = Frame::Rule;
  // A rule whose every alternative begins with a literal, and the first bytes of those
  // literals.
  struct StartingRule {
    Rule rule;
    std::string_view first_bytes;
  };
  // For each byte, the rules of a list (bit i for rule i) that can begin with it.
  using StartTable = std::array<std::uint32_t, 256>;
  template <std::size_t N>
  static constexpr StartTable start_table(const StartingRule (&rules)[N]) {
    static_assert(N <= 32);
    StartTable table{};
    for (std::size_t i = 0; i < N; ++i) {
      for (const char c : rules[i].first_bytes) {
        table[static_cast<unsigned char>(c)] |= std::uint32_t{1} << i;
      }
    }
    return table;
  }
  // The bytes that the rules of a list can begin with.
  template <std::size_t N>
  static constexpr std::array<bool, 256> first_bytes(const StartingRule (&rules)[N]) {
    std::array<bool, 256> set{};
    for (const StartingRule& r : rules) {
      for (const char c : r.first_bytes) set[static_cast<unsigned char>(c)] = true;
    }
    return set;
  }

  // A literal and the value its alternative stores.
  struct Choice {
    std::string_view literal;
    int value;
  };

 private:
  // The first matching literal of the list ⇒ $1, storing its value in `target`.
  bool choose(std::span<const Choice> choices, int& target);
  // The first matching literal of the list ⇒ $1.
  bool first_literal(std::span<const std::string_view> literals);
  // The rule as an alternative: true when it matched; else false with the input and the
  // value stack as they were at `start` and `mark`.
  bool alternative(Rule rule, Position start, std::size_t mark);
  // The first matching rule of the list ⇒ $1.
  bool first_rule(std::span<const Rule> rules);
  // Every match of `rule` in a row, joined; the empty text when there is none. A chain of
  // any length is read without nesting, so it can never exhaust the machine stack.
  bool zero_or_more(Rule rule);
  // As zero_or_more, but fails unless `rule` matches at least once.
  bool one_or_more(Rule rule);
  // The first matching rule of the list ⇒ $1, passing over the rules that cannot begin
  // with the next byte.
  bool first_rule(std::span<const StartingRule> rules, const StartTable& starts);
  // The rule elements, its text built in `storage` (which is left empty) when one is given.
  bool elements_in(std::string* storage);
  // The element loop; `in_output`: `text` is built in the output's storage, which it keeps.
  void collect_elements(Text& text, bool in_output = false);
  // Replaces the text just pushed by NL + that text: ⇒ NL + $1.
  bool start_line();
  struct TiedForms {
    std::string_view zero, plus, minus, tie, slur;
  };
  bool signed_or_tied(const TiedForms& forms);
  bool letter_run(const std::array<bool, 256>& letters, Rule letter);
  bool letter_value_length(std::string_view letter, Rule value);

  // Actions.
  void apply_section(int kind, std::string_view text);
  void declare_members(std::string_view letters);
  std::string member_prefix(char letter);
  std::string value_report(std::string_view value);
  void report_text(std::string_view label, std::string_view text);
  std::optional<bool> read_note_directly(Text& out, bool bar_line_too = false);
  std::optional<bool> push_note_directly(bool bar_line_too = false);
  int absolute_pitch() const;
  void annotate_note();
  void record_note(NotePlacement::Kind kind, int pitch = 0, int pan = 0);
  enum class ChordKind { bracket, symbol };
  void capture_chord(ChordKind kind, std::string_view text);
  void capture_tuplet(std::string_view body);
  void recall_tuplet();
  std::string define_macro(std::string_view name, std::string_view count, std::string_view body);
  std::string reference_macro(std::string_view name, std::string_view count);
  void remember_nameless(std::string_view body);
  std::string recall_nameless();
  std::string reproduce_chord();

  std::string& chord_slot();
  std::string& tuplet_slot();

  GrammarState& s_;
  int section_kind_ = 0;
  Position note_at_ = 0;  // where the letter of the note being read stands
};

}  // namespace bivox
