#pragma once

#include <optional>
#include <string>

#include "engine/parse_context.hpp"

namespace bivox {

// The note length (a length and its slash suffix) read straight from the input, for the
// fast paths: the rule note_length yields the same text and leaves the input at the same
// place, and its rules have no side effects, so reading it without them changes nothing.
// Pushes the text and gives true; gives false with the input untouched where it declines
// and the rules must run: fast paths off, the end of the data after the length, long
// chains of ties or additions, or nesting close to its limit.
bool scan_note_length(ParseContext& ctx);
// As scan_note_length, but appends the text to `out` instead of pushing it.
bool scan_note_length(ParseContext& ctx, Text& out);
// The note length where each terminal follows the last with no spacing between them (as
// they mostly do), found without the scan's bookkeeping. Gives true with its end in `end`
// and the input left there; false with the input at `from` where the scan must read it.
bool quick_note_length(ParseContext& ctx, Position from, Position& end);
// As scan_note_length, for the rule length: a length without its slash suffix.
bool scan_length(ParseContext& ctx);
// The rule number ("[0-9]+") read the same way: pushes the digits and gives true, gives
// false with the input untouched where the rule fails, and nothing where it declines.
std::optional<bool> scan_number(ParseContext& ctx);

}  // namespace bivox
