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

void skip_block_comment(ParseContext& ctx, SpacingRecord& record) {
  InputSource& in = ctx.input;
  for (;;) {
    const int c = in.read_char();
    if (c == kEnd) {
      ctx.emit_trace(msg::kTraceUnclosedComment);
      return;
    }
    record.collect();
    if (c != '*') continue;
    if (in.read_char() == '/') {
      record.collect();
      return;
    }
    in.step_back();
  }
}

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
  ctx.values.push(std::move(text));
  return true;
}

}  // namespace

void skip_spacing(ParseContext& ctx) {
  InputSource& in = ctx.input;
  SpacingRecord record;
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
        skip_block_comment(ctx, record);
      } else {
        in.seek_pos(p);
        return;
      }
    } else if (is_double_byte_lead(c)) {
      in.read_char();
    } else {
      in.seek_pos(p);
      return;
    }
  }
}

bool match_literal(ParseContext& ctx, std::string_view literal) {
  return terminal(ctx, [&](std::string& text) {
    for (const char expected : literal) {
      if (ctx.input.read_char() != static_cast<unsigned char>(expected)) return false;
    }
    text.assign(literal);
    return true;
  });
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
  ctx.values.push(std::string(msg::kEmptyMatch));
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
  ctx.values.push(std::move(text));
  return true;
}

bool match_notation_mark(ParseContext& ctx, int naming, int expected) {
  if (naming != expected) return false;
  ctx.values.push(std::string(kNotationMarks[static_cast<std::size_t>(expected)]));
  return true;
}

}  // namespace bivox
