#include "grammar/length_scanner.hpp"

#include <array>
#include <string>
#include <string_view>

#include "engine/terminals.hpp"

namespace bivox {
namespace {

// An ordered list of literals, and the bytes that begin them, so that a list none of whose
// literals can begin at the next byte is passed over at once.
template <std::size_t N>
struct LiteralList {
  constexpr explicit LiteralList(const std::array<std::string_view, N>& literals)
      : texts(literals) {
    for (const std::string_view text : literals) {
      starts[static_cast<unsigned char>(text[0])] = true;
    }
  }
  std::array<std::string_view, N> texts;
  std::array<bool, 256> starts{};
};

// Follows the rules note_length, length, length_unit, base_length, tick_length,
// note_value, dots, backquote_chain, dotted_number, tie_chain and slash_suffix: every
// literal and number after the spacing skip, alternatives in the order the rules try them,
// and the input left after the last terminal that matched. None of the literals holds a
// line end, so they are compared with the stored bytes directly.
class LengthScanner {
 public:
  LengthScanner(ParseContext& ctx, std::string& out)
      : ctx_(ctx), in_(ctx.input), at_(in_.tell_pos()), out_(out) {}

  // A length, followed by its slash suffix when `with_suffix`. Gives false when it
  // declines; the input is then where it was.
  bool scan(bool with_suffix) {
    const Position start = at_;
    length();
    if (with_suffix) slash_suffix();
    in_.seek_pos(declined_ ? start : at_);
    return !declined_;
  }

 private:
  // Ties and additions a scan follows before it leaves the length to the rules.
  static constexpr int kMaxChain = 8;

  // Where the next terminal begins (after the spacing) and its first character. At the end
  // of the data the scan declines: there every rule's spacing skip must run (an unclosed
  // comment is traced by each).
  int next(Position& token) {
    if (declined_) return kAnyByte;
    if (at_ != peeked_at_) {
      if (!token_after(ctx_, at_, peeked_token_, peeked_char_)) {
        declined_ = true;
        return kAnyByte;
      }
      peeked_at_ = at_;
    }
    token = peeked_token_;
    return peeked_char_;
  }

  bool literal(std::string_view text) {
    Position token = 0;
    return next(token) == static_cast<unsigned char>(text[0]) && take(token, text);
  }
  template <std::size_t N>
  bool first_literal(const LiteralList<N>& list) {
    Position token = 0;
    const int c = next(token);
    if (c < 0 || !list.starts[static_cast<std::size_t>(c)]) return false;
    for (const std::string_view text : list.texts) {
      if (c == static_cast<unsigned char>(text[0]) && take(token, text)) return true;
    }
    return false;
  }
  bool take(Position token, std::string_view text) {
    for (std::size_t i = 1; i < text.size(); ++i) {
      if (in_.char_at(token + static_cast<Position>(i)) != static_cast<unsigned char>(text[i])) {
        return false;
      }
    }
    out_ += text;
    at_ = token + static_cast<Position>(text.size());
    return true;
  }

  // "[0-9]+" after the spacing.
  bool number() {
    Position token = 0;
    const int c = next(token);
    if (c < '0' || c > '9') return false;
    Position end = token;
    for (int d = c; d >= '0' && d <= '9'; d = in_.char_at(++end)) out_ += static_cast<char>(d);
    at_ = end;
    return true;
  }

  bool chain_step() {
    if (++chain_ > kMaxChain) declined_ = true;
    return !declined_;
  }

  // Back to an earlier state when an alternative fails part-way.
  struct Mark {
    Position at;
    std::size_t size;
  };
  Mark mark() const { return {at_, out_.size()}; }
  void back_to(const Mark& m) {
    at_ = m.at;
    out_.resize(m.size);
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
    static constexpr LiteralList<8> kValues({"64", "32", "16", "8", "4", "2", "1", "0"});
    static constexpr LiteralList<2> kDots({"..", "."});
    if (tick_length()) return;
    first_literal(kValues);
    first_literal(kDots);
  }

  bool tick_length() {
    const Mark m = mark();
    if (!literal("i")) return false;
    if (number()) return true;
    back_to(m);
    return false;
  }

  void backquote_chain() {
    for (;;) {
      const Mark m = mark();
      if (!literal("`")) return;
      if (!number() || !chain_step()) {
        back_to(m);
        return;
      }
      literal(".");
    }
  }

  void tie_chain() {
    if ((literal("^") || literal("~")) && chain_step()) length();
  }

  void slash_suffix() {
    static constexpr LiteralList<9> kSuffixes(
        {"////", "///.", "///", "//.", "//", "/...", "/..", "/.", "/"});
    first_literal(kSuffixes);
  }

  ParseContext& ctx_;
  InputSource& in_;
  Position at_;  // just after the last terminal taken
  std::string& out_;
  Position peeked_at_ = -1;
  Position peeked_token_ = 0;
  int peeked_char_ = kAnyByte;
  bool declined_ = false;
  int chain_ = 0;
};

bool scan(ParseContext& ctx, std::string& out, bool with_suffix) {
  // The rules open a few activations per tie or addition; near the nesting limit they run
  // themselves, so that the limit is met exactly where it always was.
  constexpr int kScanDepth = 64;
  if (!ctx.fast_paths || ctx.depth + kScanDepth > ParseContext::kMaxDepth) return false;
  const std::size_t size = out.size();
  if (LengthScanner(ctx, out).scan(with_suffix)) return true;
  out.resize(size);
  return false;
}

bool scan_and_push(ParseContext& ctx, bool with_suffix) {
  std::string text;
  if (!scan(ctx, text, with_suffix)) return false;
  ctx.values.push_moved(std::move(text));
  return true;
}

}  // namespace

bool scan_note_length(ParseContext& ctx, std::string& out) {
  return scan(ctx, out, true);
}

bool scan_note_length(ParseContext& ctx) {
  return scan_and_push(ctx, true);
}

bool scan_length(ParseContext& ctx) {
  return scan_and_push(ctx, false);
}

}  // namespace bivox
