#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace bivox::bench {

// A deterministic score of about `target_bytes` bytes (cp932, CR LF line ends) that mixes
// every construct of the score language the way real scores do: percent and key signature
// lines, section lines, member declarations with attribute commands, track selections,
// notes in all three naming systems with lengths, ties, accidentals and octave commands,
// tuplets, bracket chords, chord symbols, macros and references, repeats, bar lines and
// comments of all three kinds with Japanese text. Every job reads it whole, without a
// resource limit, up to a few megabytes of input.
std::string generate_score(std::size_t target_bytes, std::uint32_t seed = 1);

// A score of `depth` groups nested inside each other, with a note at every level: tuplets
// and nameless macro bodies in turn, or tuplets and bracket chords. Every bracket chord
// reports its whole body, so the diagnostics of nested chords grow with the square of the
// depth; the macro bodies report nothing.
std::string generate_nested_score(int depth, bool with_chords = false);

}  // namespace bivox::bench
