#include "engine/terminals.hpp"

#include "engine/fatal_stop.hpp"
#include "text/messages.hpp"

namespace bivox {
namespace {

constexpr int kEnd = InputSource::kEnd;

// Counts the characters that one spacing skip collects: blanks, line ends and the text of
// "//-" and "/* */" comments. More than 1023 of them in one skip is a fatal stop.
class SpacingRecord {
 public:
  static constexpr int kCapacity = 1023;
  void collect() {
    if (length_ == kCapacity) throw FatalStop(std::string(msg::kSpacingFull));
    ++length_;
  }

 private:
  int length_ = 0;
};

// Skips a bang comment of order n: up to a run of exactly n "!", or the end of the data.
void skip_bang_comment(InputSource& in, int order) {
  for (;;) {
    int c = in.read_char();
    if (c == kEnd) return;
    if (c != '!') continue;
    int run = 0;
    while (c == '!') {
      ++run;
      c = in.read_char();
    }
    if (run == order) {
      in.step_back();
      return;
    }
    if (c == kEnd) return;
  }
}

void skip_line_comment(InputSource& in, SpacingRecord& record) {
  for (int c = in.read_char(); c != kEnd; c = in.read_char()) {
    record.collect();
    if (c == '\n') return;
  }
}

// Skips a block comment after its "/*". Gives false when the data ends before "*/".
bool skip_block_comment(InputSource& in, SpacingRecord& record) {
  for (;;) {
    const int c = in.read_char();
    if (c == kEnd) return false;
    record.collect();
    if (c != '*') continue;
    if (in.read_char() == '/') {
      record.collect();
      return true;
    }
    in.step_back();
  }
}

// The spacing skip takes every byte 0x80-0xFE as the first of two, half-width katakana
// included (a wider range than cp932's lead bytes): stored scores rely on it.
bool is_double_byte_lead(int c) {
  return c >= 0x80 && c <= 0xFE;
}

// The common frame of the literal, class and quoted-text terminals: skip spacing, match,
// and on failure return to where the terminal began, before the spacing.
template <class Match>
bool terminal(ParseContext& ctx, Match&& match) {
  const Position start = ctx.input.tell_pos();
  skip_spacing(ctx);
  std::string text;
  if (!match(text)) {
    ctx.input.seek_pos(start);
    return false;
  }
  ctx.values.push(text);
  return true;
}

}  // namespace

namespace {

// Passes over the spacing from the current position. Gives false when an unclosed block
// comment ran to the end of the data, which is traced when `trace` is set.
bool skip_spacing_here(ParseContext& ctx, bool trace) {
  InputSource& in = ctx.input;
  SpacingRecord record;
  bool closed = true;
  for (;;) {
    const Position p = in.tell_pos();
    const int c = in.read_char();
    if (c == '\t' || c == '\n' || c == '\r' || c == ' ') {
      record.collect();
    } else if (c == '!') {
      int order = 0;
      int next = c;
      while (next == '!') {
        ++order;
        next = in.read_char();
      }
      skip_bang_comment(in, order);
    } else if (c == '/') {
      const int d = in.read_char();
      if (d == '/' && in.read_char() == '-') {
        for (int i = 0; i < 3; ++i) record.collect();
        skip_line_comment(in, record);
      } else if (d == '*') {
        record.collect();
        record.collect();
        if (!skip_block_comment(in, record)) {
          closed = false;
          if (trace) ctx.emit_trace(msg::kTraceUnclosedComment);
        }
      } else {
        in.seek_pos(p);
        return closed;
      }
    } else if (is_double_byte_lead(c)) {
      in.read_char();
    } else {
      in.seek_pos(p);
      return closed;
    }
  }
}

// The skip from `from`, without its trace; remembered unless an unclosed comment ended it.
void skip_and_remember(ParseContext& ctx, Position from, bool trace) {
  if (skip_spacing_here(ctx, trace)) ctx.input.remember_spacing(from, ctx.input.tell_pos());
}

}  // namespace

// The skip when no remembered one starts here.
void skip_spacing_anew(ParseContext& ctx) {
  if (!ctx.fast_paths) {
    skip_spacing_here(ctx, true);
    return;
  }
  skip_and_remember(ctx, ctx.input.tell_pos(), true);
}

int next_token_byte_anew(ParseContext& ctx) {
  InputSource& in = ctx.input;
  const Position from = in.tell_pos();
  skip_and_remember(ctx, from, false);
  const int c = in.read_char();
  in.seek_pos(from);
  return c == kEnd ? kAnyByte : c;
}

bool match_literal(ParseContext& ctx, std::string_view literal) {
  InputSource& in = ctx.input;
  const Position start = in.tell_pos();
  skip_spacing(ctx);
  for (const char expected : literal) {
    if (in.read_char() != static_cast<unsigned char>(expected)) {
      in.seek_pos(start);
      return false;
    }
  }
  ctx.values.push(literal);
  return true;
}

bool ClassPattern::take_one(const Class& cls, InputSource& input, std::string& out) {
  const int c = input.read_char();
  if (c != kEnd) {
    const auto value = static_cast<signed char>(c);
    for (int r = 0; r < cls.range_count; ++r) {
      if (cls.ranges[r].lowest <= value && value <= cls.ranges[r].highest) {
        out.push_back(static_cast<char>(c));
        return true;
      }
    }
  }
  input.step_back();
  return false;
}

bool ClassPattern::match(InputSource& input, std::string& out) const {
  for (int k = 0; k < count_; ++k) {
    const Class& cls = classes_[k];
    if (!take_one(cls, input, out)) return false;
    if (cls.repeat) {
      while (take_one(cls, input, out)) {
      }
    }
  }
  return true;
}

bool match_class(ParseContext& ctx, const ClassPattern& pattern) {
  return terminal(ctx, [&](std::string& text) { return pattern.match(ctx.input, text); });
}

bool match_empty(ParseContext& ctx) {
  ctx.values.push(msg::kEmptyMatch);
  return true;
}

// A quoted text that meets the end of the data before its closing quote does not match.
bool match_quoted_text(ParseContext& ctx) {
  return terminal(ctx, [&](std::string& text) {
    if (ctx.input.read_char() != '"') return false;
    text.push_back('"');
    for (;;) {
      const int c = ctx.input.read_char();
      if (c == kEnd) return false;
      text.push_back(static_cast<char>(c));
      if (c == '"') return true;
    }
  });
}

// Takes the rest of the line without its line feed; at the end of the data without a line
// feed it takes what is left.
bool match_rest_of_line(ParseContext& ctx) {
  std::string text;
  for (int c = ctx.input.read_char(); c != kEnd && c != '\n'; c = ctx.input.read_char()) {
    text.push_back(static_cast<char>(c));
  }
  ctx.values.push_moved(std::move(text));
  return true;
}

bool match_notation_mark(ParseContext& ctx, int naming, int expected) {
  if (naming != expected) return false;
  ctx.values.push(kNotationMarks[static_cast<std::size_t>(expected)]);
  return true;
}

}  // namespace bivox
