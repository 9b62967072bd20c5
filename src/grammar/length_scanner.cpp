#include "grammar/length_scanner.hpp"

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "engine/literal_list.hpp"
#include "engine/terminals.hpp"
#include "grammar/length_literals.hpp"

namespace bivox {
namespace {

enum class Part { length, note_length };

// The rules open a few activations per tie or addition, up to the scan's chain limit.
constexpr int kScanDepth = 64;

// Ties and additions a scan follows before it leaves the length to the rules.
constexpr int kMaxChain = 8;

// The first bytes of every literal a length (with its suffix) can begin with.
constexpr std::array<bool, 256> kLengthStarts = byte_set("i0123456789.`^~/");

// Where the run of digits from `p` in the stored bytes ends (`p` itself when there is none).
Position digits_end(std::string_view data, Position p) {
  while (p < static_cast<Position>(data.size()) && data[static_cast<std::size_t>(p)] >= '0' &&
         data[static_cast<std::size_t>(p)] <= '9') {
    ++p;
  }
  return p;
}

constexpr LiteralList<std::string_view> kValueList(kNoteValues);
constexpr LiteralList<std::string_view> kDotList(kDots);
constexpr LiteralList<std::string_view> kSuffixList(kSlashSuffixes);

// Follows the rules note_length, length, length_unit, base_length, tick_length, number,
// note_value, dots, backquote_chain, dotted_number, tie_chain and slash_suffix: every
// literal and number after the spacing skip, alternatives in the order the rules try them,
// and the input left after the last terminal that matched. None of the literals holds a
// line end, so they are compared with the stored bytes directly.
class LengthScanner {
 public:
  explicit LengthScanner(ParseContext& ctx)
      : ctx_(ctx), data_(ctx.input.stored()), at_(ctx.input.tell_pos()) {}

  // Reads the length (with its slash suffix for a note length) and appends its text to
  // `out`: true, or false when the scan declines. The input is left after the length, or
  // where it was.
  bool read(Part part, Text& out) {
    const Position start = at_;
    if (may_begin_length()) {
      length();
      if (part == Part::note_length) slash_suffix();
    }
    if (declined_) {
      ctx_.input.seek_pos(start);
      return false;
    }
    for (int i = 0; i < count_; ++i) {
      const Piece& piece = pieces_[static_cast<std::size_t>(i)];
      out.append(data_.substr(static_cast<std::size_t>(piece.from),
                              static_cast<std::size_t>(piece.to - piece.from)));
    }
    ctx_.input.seek_pos(at_);
    return true;
  }

 private:
  int byte_at(Position p) const {
    return static_cast<unsigned char>(data_[static_cast<std::size_t>(p)]);
  }
  bool in_data(Position p) const { return p < static_cast<Position>(data_.size()); }

  // Where the next terminal begins (after the spacing) and its first character, looked up
  // once for each place the scan reaches.
  int next(Position& token) {
    if (at_ != peeked_at_) peek();
    token = peeked_token_;
    return peeked_char_;
  }
  // Mostly the next terminal follows the last one directly. At the end of the data the scan
  // declines: there every rule's spacing skip must run (an unclosed comment is traced by
  // each).
  void peek() {
    peeked_at_ = at_;
    if (in_data(at_) && !may_begin_spacing(byte_at(at_))) {
      peeked_token_ = at_;
      peeked_char_ = byte_at(at_);
    } else if (!token_after(ctx_, at_, peeked_token_, peeked_char_)) {
      declined_ = true;
      peeked_char_ = kAnyByte;
    }
  }

  // Whether the next terminal begins with the character.
  bool upcoming(char c) {
    Position token = 0;
    return next(token) == static_cast<unsigned char>(c);
  }
  // A literal of one character.
  bool literal(char c) {
    if (!upcoming(c)) return false;
    keep(peeked_token_, peeked_token_ + 1);
    return true;
  }
  // Whether a length (with its suffix) can begin at the next terminal: where none can, the
  // length is empty, as every one of its literals would fail.
  bool may_begin_length() {
    Position token = 0;
    const int c = next(token);
    return c >= 0 && kLengthStarts[static_cast<std::size_t>(c)];
  }
  bool first_literal(const LiteralList<std::string_view>& list) {
    Position token = 0;
    const int c = next(token);
    const std::string_view* text = list.at(data_, token, c);
    if (text == nullptr) return false;
    keep(token, token + static_cast<Position>(text->size()));
    return true;
  }

  // The text taken is kept as pieces of the stored bytes, one piece while no spacing
  // separates the terminals, and appended when the scan succeeds.
  struct Piece {
    Position from;
    Position to;
  };
  // Terminals a scan takes at most: two per length unit, three per addition, one per tie
  // and one slash suffix.
  static constexpr int kMaxPieces = 64;
  void keep(Position from, Position to) {
    at_ = to;
    if (count_ > 0 && pieces_[static_cast<std::size_t>(count_ - 1)].to == from) {
      pieces_[static_cast<std::size_t>(count_ - 1)].to = to;
    } else if (count_ < kMaxPieces) {
      pieces_[static_cast<std::size_t>(count_++)] = {from, to};
    } else {
      declined_ = true;
    }
  }

  // "[0-9]+" after the spacing.
  bool number() {
    Position token = 0;
    const int c = next(token);
    if (c < '0' || c > '9') return false;
    keep(token, digits_end(data_, token + 1));
    return true;
  }

  bool chain_step() {
    if (++chain_ > kMaxChain) declined_ = true;
    return !declined_;
  }

  // Back to an earlier state when an alternative fails part-way.
  struct Mark {
    Position at;
    int count;
    Position last_to;
  };
  Mark mark() const {
    return {at_, count_, count_ > 0 ? pieces_[static_cast<std::size_t>(count_ - 1)].to : 0};
  }
  void back_to(const Mark& m) {
    at_ = m.at;
    count_ = m.count;
    if (count_ > 0) pieces_[static_cast<std::size_t>(count_ - 1)].to = m.last_to;
  }

  void length() {
    length_unit();
    tie_chain();
  }

  void length_unit() {
    base_length();
    backquote_chain();
  }

  void base_length() {
    if (tick_length()) return;
    first_literal(kValueList);
    first_literal(kDotList);
  }

  bool tick_length() {
    if (!upcoming('i')) return false;
    const Mark m = mark();
    literal('i');
    if (number()) return true;
    back_to(m);
    return false;
  }

  void backquote_chain() {
    for (;;) {
      if (!upcoming('`')) return;
      const Mark m = mark();
      literal('`');
      if (!number() || !chain_step()) {
        back_to(m);
        return;
      }
      literal('.');
    }
  }

  void tie_chain() {
    if ((literal('^') || literal('~')) && chain_step()) length();
  }

  void slash_suffix() { first_literal(kSuffixList); }

  ParseContext& ctx_;
  std::string_view data_;
  Position at_;  // just after the last terminal taken
  std::array<Piece, kMaxPieces> pieces_;
  int count_ = 0;
  Position peeked_at_ = -1;
  Position peeked_token_ = 0;
  int peeked_char_ = kAnyByte;
  bool declined_ = false;
  int chain_ = 0;
};

bool scan(ParseContext& ctx, Part part, Text& out) {
  return ctx.may_shortcut(kScanDepth) && LengthScanner(ctx).read(part, out);
}

bool scan_and_push(ParseContext& ctx, Part part) {
  Text text;
  if (!scan(ctx, part, text)) return false;
  ctx.values.push_moved(std::move(text));
  return true;
}

}  // namespace

// The scan where every terminal of the length follows the last directly: each is read from
// the stored bytes at the place the last one ended, and the scan's bookkeeping (pieces,
// marks, the spacing skip between terminals) is not needed. Where a terminal could begin
// after spacing instead, it declines.
bool quick_note_length(ParseContext& ctx, Position from, Position& end) {
  // What the next terminal begins with when the length goes on: an addition, a tie, a slash
  // suffix.
  static constexpr std::array<bool, 256> kGoesOn = byte_set("`^~/");
  if (!ctx.may_shortcut(kScanDepth)) return false;
  const std::string_view data = ctx.input.stored();
  const auto byte_at = [&](Position p) {
    return p < static_cast<Position>(data.size())
               ? static_cast<unsigned char>(data[static_cast<std::size_t>(p)])
               : InputSource::kEnd;
  };
  Position token = 0;
  int next = 0;
  // No length at all, where none can begin at the next terminal.
  const auto empty_length = [&] {
    const bool empty =
        token_after(ctx, from, token, next) && !kLengthStarts[static_cast<std::size_t>(next)];
    ctx.input.seek_pos(from);
    end = from;
    return empty;
  };
  Position at = from;
  int chain = 0;
  // Whether the rules would still look for dots at the next terminal.
  bool dots_may_follow = false;
  for (;;) {
    // The base length: a tick length, or a note value and its dots.
    if (byte_at(at) == 'i') {
      const Position digits = digits_end(data, at + 1);
      if (digits == at + 1) return false;
      at = digits;
      dots_may_follow = false;
    } else {
      const std::string_view* value = kValueList.at(data, at, byte_at(at));
      if (value == nullptr) return at == from && empty_length();
      at += static_cast<Position>(value->size());
      const std::string_view* dots = kDotList.at(data, at, byte_at(at));
      if (dots != nullptr) at += static_cast<Position>(dots->size());
      dots_may_follow = dots == nullptr;
    }
    // Its additions: "`", a number and perhaps a dot.
    while (byte_at(at) == '`') {
      const Position digits = digits_end(data, at + 1);
      if (digits == at + 1 || ++chain > kMaxChain) return false;
      at = digits;
      dots_may_follow = byte_at(at) != '.';
      if (!dots_may_follow) ++at;
    }
    // A tie, and the length it ties.
    if (byte_at(at) != '^' && byte_at(at) != '~') break;
    if (++chain > kMaxChain) return false;
    ++at;
  }
  bool ends = token_after(ctx, at, token, next);
  // A slash suffix right after the length ends it.
  const std::string_view* suffix = ends && token == at ? kSuffixList.at(data, at, next) : nullptr;
  if (suffix != nullptr) {
    at += static_cast<Position>(suffix->size());
  } else {
    ends = ends && !kGoesOn[static_cast<std::size_t>(next)] && (!dots_may_follow || next != '.');
  }
  ctx.input.seek_pos(ends ? at : from);
  end = at;
  return ends;
}

bool scan_note_length(ParseContext& ctx, Text& out) {
  return scan(ctx, Part::note_length, out);
}

bool scan_note_length(ParseContext& ctx) {
  return scan_and_push(ctx, Part::note_length);
}

bool scan_length(ParseContext& ctx) {
  return scan_and_push(ctx, Part::length);
}

// The digits at the next terminal, if any; none at the end of the data, where the rule runs
// its own skip.
std::optional<bool> scan_number(ParseContext& ctx) {
  if (!ctx.may_shortcut(kScanDepth)) return std::nullopt;
  Position token = 0;
  int next = 0;
  if (!token_after(ctx, ctx.input.tell_pos(), token, next)) return std::nullopt;
  if (next < '0' || next > '9') return false;
  const std::string_view data = ctx.input.stored();
  const Position end = digits_end(data, token + 1);
  ctx.values.push(
      data.substr(static_cast<std::size_t>(token), static_cast<std::size_t>(end - token)));
  ctx.input.seek_pos(end);
  return true;
}

}  // namespace bivox
