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

enum class Part { number, length, note_length };

// The rules open a few activations per tie or addition, up to the scan's chain limit.
constexpr int kScanDepth = 64;

constexpr LiteralList<std::string_view> kValueList(kNoteValues);
constexpr LiteralList<std::string_view> kDotList(kDots);

// Follows the rules number, note_length, length, length_unit, base_length, tick_length,
// note_value, dots, backquote_chain, dotted_number, tie_chain and slash_suffix: every
// literal and number after the spacing skip, alternatives in the order the rules try them,
// and the input left after the last terminal that matched. None of the literals holds a
// line end, so they are compared with the stored bytes directly.
class LengthScanner {
 public:
  explicit LengthScanner(ParseContext& ctx)
      : ctx_(ctx), data_(ctx.input.stored()), at_(ctx.input.tell_pos()) {}

  // Reads the part and appends its text to `out`: true when it matched, false when it did
  // not (only a number can fail), none when the scan declines. The input is left after the
  // part, or where it was.
  std::optional<bool> read(Part part, Text& out) {
    const Position start = at_;
    bool found = true;
    if (part == Part::number) {
      found = number();
    } else if (may_begin_length()) {
      length();
      if (part == Part::note_length) slash_suffix();
    }
    if (declined_ || !found) {
      ctx_.input.seek_pos(start);
      return declined_ ? std::nullopt : std::optional<bool>(false);
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
  // Ties and additions a scan follows before it leaves the length to the rules.
  static constexpr int kMaxChain = 8;

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
    static constexpr std::array<bool, 256> kStarts = byte_set("i0123456789.`^~/");
    Position token = 0;
    const int c = next(token);
    return c >= 0 && kStarts[static_cast<std::size_t>(c)];
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
    Position end = token + 1;
    while (in_data(end) && byte_at(end) >= '0' && byte_at(end) <= '9') ++end;
    keep(token, end);
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

  void slash_suffix() {
    static constexpr LiteralList<std::string_view> kSuffixList(kSlashSuffixes);
    first_literal(kSuffixList);
  }

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

std::optional<bool> scan(ParseContext& ctx, Part part, Text& out) {
  if (!ctx.may_shortcut(kScanDepth)) return std::nullopt;
  return LengthScanner(ctx).read(part, out);
}

std::optional<bool> scan_and_push(ParseContext& ctx, Part part) {
  Text text;
  const std::optional<bool> found = scan(ctx, part, text);
  if (found == true) ctx.values.push_moved(std::move(text));
  return found;
}

}  // namespace

bool quick_note_length(ParseContext& ctx, Position from, Position& end) {
  // What the next terminal begins with when the length goes on: dots (unless read), an
  // addition, a tie, a slash suffix.
  static constexpr std::array<bool, 256> kGoesOn = byte_set("`^~/");
  if (!ctx.may_shortcut(kScanDepth)) return false;
  const std::string_view data = ctx.input.stored();
  const auto byte_at = [&](Position p) {
    return p < static_cast<Position>(data.size())
               ? static_cast<unsigned char>(data[static_cast<std::size_t>(p)])
               : InputSource::kEnd;
  };
  const std::string_view* value = kValueList.at(data, from, byte_at(from));
  if (value == nullptr) return false;
  Position after = from + static_cast<Position>(value->size());
  const std::string_view* dots = kDotList.at(data, after, byte_at(after));
  if (dots != nullptr) after += static_cast<Position>(dots->size());
  Position token = 0;
  int next = 0;
  const bool ends = token_after(ctx, after, token, next) &&
                    !kGoesOn[static_cast<std::size_t>(next)] && (dots != nullptr || next != '.');
  ctx.input.seek_pos(ends ? after : from);
  end = after;
  return ends;
}

bool scan_note_length(ParseContext& ctx, Text& out) {
  return scan(ctx, Part::note_length, out).has_value();
}

bool scan_note_length(ParseContext& ctx) {
  return scan_and_push(ctx, Part::note_length).has_value();
}

bool scan_length(ParseContext& ctx) {
  return scan_and_push(ctx, Part::length).has_value();
}

std::optional<bool> scan_number(ParseContext& ctx) {
  return scan_and_push(ctx, Part::number);
}

}  // namespace bivox
