// Track letters and the key signature line.
#include <array>

#include "engine/terminals.hpp"
#include "grammar/grammar.hpp"

namespace bivox {
namespace {

constexpr std::string_view kTrackLetters[] = {"A", "B", "C", "D", "E", "F", "G", "H",
                                              "I", "J", "K", "L", "M", "N", "O", "Z"};
// Key signature lines name tracks A..O only.
constexpr std::span<const std::string_view> kSignatureLetters{kTrackLetters, 15};

// The letters of a list of one-letter literals, as a set of bytes.
constexpr std::array<bool, 256> letter_set(std::span<const std::string_view> letters) {
  std::array<bool, 256> set{};
  for (const std::string_view letter : letters) set[static_cast<unsigned char>(letter[0])] = true;
  return set;
}

}  // namespace

bool Grammar::track_letter() {
  return first_literal(kTrackLetters);
}

bool Grammar::track_letters() {
  static constexpr std::array<bool, 256> kLetters = letter_set(kTrackLetters);
  return letter_run(kLetters, &Grammar::track_letter);
}

bool Grammar::sig_track_letter() {
  return first_literal(kSignatureLetters);
}

bool Grammar::sig_track_letters() {
  static constexpr std::array<bool, 256> kLetters = letter_set(kSignatureLetters);
  return letter_run(kLetters, &Grammar::sig_track_letter);
}

// One or more of a letter, whose rule takes the first of `letters` at the next terminal.
// With the fast paths the letters at each next terminal are joined without the rules'
// activations; where a next terminal is not known (the end of the data), or no letter
// begins the run, the rules run.
bool Grammar::letter_run(const std::array<bool, 256>& letters, Rule letter) {
  // one_or_more and zero_or_more, and the letter's own activation.
  constexpr int kRunDepth = 4;
  ParseContext& ctx = s_.engine;
  if (ctx.may_shortcut(kRunDepth)) {
    const Position start = ctx.input.tell_pos();
    std::string run;
    Position at = start;
    Position token = 0;
    int next = 0;
    bool known = true;
    for (;;) {
      known = token_after(ctx, at, token, next);
      if (!known || !letters[static_cast<std::size_t>(next)]) break;
      run.push_back(static_cast<char>(next));
      at = token + 1;
    }
    if (known && !run.empty()) {
      ctx.values.push_moved(std::move(run));
      ctx.input.seek_pos(at);
      return true;
    }
    ctx.input.seek_pos(start);
  }
  return one_or_more(letter);
}

// The longest run of a sign is tried first.
bool Grammar::key_signs() {
  static constexpr Choice kSigns[] = {
      {"+++++++", 7}, {"++++++", 6}, {"+++++", 5},    {"++++", 4},    {"+++", 3},
      {"++", 2},      {"+", 1},      {"-------", -7}, {"------", -6}, {"-----", -5},
      {"----", -4},   {"---", -3},   {"--", -2},      {"-", -1},      {"=", 0},
  };
  return choose(kSigns, s_.score.last_key_signature);
}

bool Grammar::key_signature_line() {
  Frame f(*this);
  if (f.seq("\\", &Grammar::sig_track_letters, &Grammar::key_signs)) {
    s_.score.set_key_signature(f[2], s_.score.last_key_signature);
    return f.yield(NL, f[1], f[2], f[3]);
  }
  if (f.seq("\\", &Grammar::key_signs)) {
    s_.score.set_key_signature("ABCDEFGHIJKLMNO", s_.score.last_key_signature);
    return f.yield(NL, f[1], f[2]);
  }
  return f.fail();
}

}  // namespace bivox
