#pragma once

#include <algorithm>
#include <array>
#include <string_view>

#include "engine/parse_context.hpp"

namespace bivox {

// A character class pattern such as "[a-zA-Z_-_][a-zA-Z0-9_-_]+": up to five classes, each
// up to six byte ranges, each class taking exactly one character or (with "+") one or more.
class ClassPattern {
 public:
  constexpr explicit ClassPattern(std::string_view pattern) {
    std::size_t i = 0;
    while (i < pattern.size()) {
      const char c = pattern[i];
      if (c == '[') {
        classes_[count_++] = {};
        ++i;
      } else if (c == ']') {
        classes_[count_ - 1].repeat = false;
        ++i;
      } else if (c == '+') {
        classes_[count_ - 1].repeat = true;
        ++i;
      } else {
        Class& cls = classes_[count_ - 1];
        cls.ranges[cls.range_count++] = {static_cast<signed char>(c),
                                         static_cast<signed char>(pattern[i + 2])};
        i += 3;
      }
    }
  }

  // Matches after the spacing skip; appends the characters taken to `out`.
  bool match(InputSource& input, std::string& out) const;

 private:
  struct Range {
    signed char lowest = 0;
    signed char highest = 0;
  };
  struct Class {
    std::array<Range, 6> ranges{};
    int range_count = 0;
    bool repeat = false;
  };
  static bool take_one(const Class& cls, InputSource& input, std::string& out);

  std::array<Class, 5> classes_{};
  int count_ = 0;
};

inline constexpr std::array<std::string_view, 3> kNotationMarks = {"(x0)", "(x1)", "(x2)"};

// Passes over spacing and comments: blanks, tabs, line ends, "//-" and "/* */" comments,
// bang comments and double-byte characters. With the fast paths a skip already made from
// the same place is not made again.
void skip_spacing_anew(ParseContext& ctx);
// The bytes of a text, as a set.
constexpr std::array<bool, 256> byte_set(std::string_view bytes) {
  std::array<bool, 256> set{};
  for (const char c : bytes) set[static_cast<unsigned char>(c)] = true;
  return set;
}
// The characters spacing can begin with: every other one ends a skip at once.
inline constexpr std::array<bool, 256> kSpacingStarts = [] {
  std::array<bool, 256> starts = byte_set("\t\n\r !/");
  for (std::size_t c = 0x80; c <= 0xFE; ++c) starts[c] = true;
  return starts;
}();
inline bool may_begin_spacing(int c) {
  return c >= 0 && kSpacingStarts[static_cast<std::size_t>(c)];
}
// Where a run of blanks, tabs and line ends from `from` ends (`from` itself when there is
// none), when a byte that begins no spacing follows it: the spacing between most
// terminals, found without the whole skip (which comments, double-byte text and the end of
// the data need). The run is kept far shorter than the characters one skip may collect.
// The stored bytes are read as they are: a CR LF pair is two blanks as it is one line end.
inline bool blank_run_end(const InputSource& in, Position from, Position& to) {
  constexpr Position kLongestRun = 64;
  const std::string_view stored = in.stored();
  const Position last = std::min(from + kLongestRun, static_cast<Position>(stored.size()));
  for (Position p = from; p < last; ++p) {
    const auto c = static_cast<unsigned char>(stored[static_cast<std::size_t>(p)]);
    if (!kSpacingStarts[c]) {
      to = p;
      return true;
    }
    if (c != ' ' && c != '\t' && c != '\n' && c != '\r') return false;
  }
  return false;
}
// With the fast paths: where the spacing from `from` ends, when that is known without a
// skip. A run of blanks is remembered like a skip: the terminal after a note's length and
// the next note both look for it.
inline bool known_spacing_end(InputSource& in, Position from, Position& to) {
  if (in.recall_spacing(from, to)) return true;
  if (!blank_run_end(in, from, to)) return false;
  if (to != from) in.remember_spacing(from, to);
  return true;
}
inline void skip_spacing(ParseContext& ctx) {
  Position to = 0;
  if (ctx.fast_paths && known_spacing_end(ctx.input, ctx.input.tell_pos(), to)) {
    ctx.input.seek_pos(to);
  } else {
    skip_spacing_anew(ctx);
  }
}

// Stands for an unknown next byte, before which every alternative must be tried.
inline constexpr int kAnyByte = -2;
// The byte that the next terminal would compare first (after the spacing), with the input
// left where it is. kAnyByte when the fast paths are off, and at the end of the data, so
// that there every alternative runs its spacing skip (and traces an unclosed comment)
// exactly as often as without the fast paths.
int next_token_byte_anew(ParseContext& ctx);  // when the skip must be made
inline int next_token_byte(ParseContext& ctx) {
  if (!ctx.fast_paths) return kAnyByte;
  Position to = 0;
  if (!known_spacing_end(ctx.input, ctx.input.tell_pos(), to)) return next_token_byte_anew(ctx);
  const int c = ctx.input.char_at(to);
  return c == InputSource::kEnd ? kAnyByte : c;
}
// Where the next terminal from `from` begins (after the spacing) and its first byte, with
// the input left at `from`. False where every terminal must run its own skip: fast paths
// off, or the end of the data.
inline bool token_after(ParseContext& ctx, Position from, Position& token, int& next) {
  InputSource& in = ctx.input;
  in.seek_pos(from);
  if (!ctx.fast_paths) return false;
  if (!known_spacing_end(in, from, token) &&
      (next_token_byte_anew(ctx) == kAnyByte || !in.recall_spacing(from, token))) {
    return false;
  }
  next = in.char_at(token);
  return next != InputSource::kEnd;
}

bool match_literal(ParseContext& ctx, std::string_view literal);
bool match_class(ParseContext& ctx, const ClassPattern& pattern);
bool match_empty(ParseContext& ctx);
bool match_quoted_text(ParseContext& ctx);
bool match_rest_of_line(ParseContext& ctx);
bool match_notation_mark(ParseContext& ctx, int naming, int expected);

}  // namespace bivox
