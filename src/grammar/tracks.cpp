// Track letters and the key signature line.
#include "grammar/grammar.hpp"

namespace bivox {
namespace {

constexpr std::string_view kTrackLetters[] = {"A", "B", "C", "D", "E", "F", "G", "H",
                                              "I", "J", "K", "L", "M", "N", "O", "Z"};
// Key signature lines name tracks A..O only.
constexpr std::span<const std::string_view> kSignatureLetters{kTrackLetters, 15};

}  // namespace

bool Grammar::track_letter() {
  return first_literal(kTrackLetters);
}

bool Grammar::track_letters() {
  return one_or_more(&Grammar::track_letter);
}

bool Grammar::sig_track_letter() {
  return first_literal(kSignatureLetters);
}

bool Grammar::sig_track_letters() {
  return one_or_more(&Grammar::sig_track_letter);
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
