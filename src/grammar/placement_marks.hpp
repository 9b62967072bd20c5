#pragma once

#include <string>
#include <string_view>

#include "grammar/grammar_state.hpp"

namespace bivox {

// The second pass of a stereo conversion follows the first step for step: it differs only
// in the texts that depend on the pitch range the first pass gathers (the pan commands
// before notes, the value reports of pitch commands) and in the messages about tracks whose
// pan a later command fixes. So the first pass may write those texts as marks, and the
// second be made from what it left by replacing them.
//
// A mark is the text the first pass writes with its first bytes changed: the " @" of a pan
// command becomes the mark byte and the letter of the note's track, the "!" of a value
// report the mark byte. A mark is as long as the text it stands for, so every limit on
// text is met exactly where the first pass meets it.

// Whether a pan command's mark begins at `at`: the mark byte and a track letter.
inline bool pan_mark_at(std::string_view text, std::size_t at, char mark) {
  return mark != 0 && text[at] == mark && at + 1 < text.size() && text[at + 1] >= 'A' &&
         text[at + 1] <= 'Z';
}

// A byte that the score does not hold and that no rule writes, to begin marks; 0 if the
// score holds every candidate.
char choose_mark(std::string_view score);

// The value report of a pitch command's value with the scale of the pass.
std::string value_report_text(int value, float scale);

// Whether the second pass can be made from the marked first one: the pitch scale is finite,
// no message was dropped for want of room, and no text of the second pass could reach the
// loop's buffer or the bound on held text where the first did not.
bool second_pass_from_marks_fits(const GrammarState& s);

// Turns the state a marked first pass left into what the second pass would leave, once the
// second pass's pitch scale is set: messages, placement, and the output, which is left as
// its file holds it (CR LF line ends).
void make_second_pass_from_marks(GrammarState& s);

// Turns the marks of a first pass that ended in a fatal stop back into the texts they
// stand for.
void unmark_first_pass(GrammarState& s);

}  // namespace bivox
