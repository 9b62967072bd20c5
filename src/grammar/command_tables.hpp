#pragma once

#include "grammar/grammar.hpp"

namespace bivox {

// The attribute commands: each begins with its own letter (the member declaration with "@").
inline constexpr Grammar::StartingRule kAttributeCommands[] = {
    {&Grammar::member_declaration, "@"}, {&Grammar::attribute_p, "P"}, {&Grammar::attribute_v, "V"},
    {&Grammar::attribute_s, "S"},        {&Grammar::attribute_r, "R"}, {&Grammar::attribute_w, "W"},
    {&Grammar::attribute_q, "Q"},        {&Grammar::attribute_u, "U"}, {&Grammar::attribute_y, "Y"},
    {&Grammar::attribute_t, "T"},        {&Grammar::attribute_x, "X"},
};

// The inline commands: each begins with its own character or characters.
inline constexpr Grammar::StartingRule kInlineCommands[] = {
    {&Grammar::track_select, "#"}, {&Grammar::inline_x, "x"},      {&Grammar::inline_v, "v"},
    {&Grammar::octave_set, "o"},   {&Grammar::octave_shift, "<>"}, {&Grammar::inline_question, "?"},
    {&Grammar::inline_p, "p"},     {&Grammar::inline_q, "q"},
};

// The forms of the header lines, the assignment commands, tuplets and bracket chords,
// repeat marks and macros, in the order they are tried, with the first bytes of each.
inline constexpr Grammar::StartingRule kHeaderLines[] = {{&Grammar::percent_line, "%"},
                                                         {&Grammar::key_signature_line, "\\"}};
inline constexpr Grammar::StartingRule kAssignmentCommands[] = {
    {&Grammar::assign_r, "R"}, {&Grammar::assign_w, "W"}, {&Grammar::assign_q, "Q"}};
inline constexpr Grammar::StartingRule kGroups[] = {{&Grammar::tuplet, "("},
                                                    {&Grammar::bracket_chord, "["}};
inline constexpr Grammar::StartingRule kRepeatMarks[] = {{&Grammar::ampersand_mark, "&"},
                                                         {&Grammar::chord_repeat, ","}};
inline constexpr Grammar::StartingRule kMacros[] = {{&Grammar::macro_definition, "$"},
                                                    {&Grammar::macro_reference, "$"},
                                                    {&Grammar::nameless_macro, "{"}};

}  // namespace bivox
