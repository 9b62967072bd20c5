#include "grammar/length_scanner.hpp"

#include <span>
#include <string>
#include <string_view>

#include "engine/terminals.hpp"

namespace bivox {
namespace {

// Follows the rules note_length, length, length_unit, base_length, tick_length,
// note_value, dots, backquote_chain, dotted_number, tie_chain and slash_suffix: every
// literal and number after the spacing skip, alternatives in the order the rules try them,
// and the input left after the last terminal that matched.
class LengthScanner {
 public:
  explicit LengthScanner(ParseContext& ctx) : ctx_(ctx), in_(ctx.input) {}

  bool note_length(std::string& out) {
    length(out);
    slash_suffix(out);
    return !declined_;
  }

 private:
  // Ties and additions a scan follows before it leaves the length to the rules.
  static constexpr int kMaxChain = 8;

  // The byte the next terminal compares first. At the end of the data the scan declines:
  // there every rule's spacing skip must run (an unclosed comment is traced by each).
  int next() {
    const int c = next_token_byte(ctx_);
    if (c == kAnyByte) declined_ = true;
    return declined_ ? kAnyByte : c;
  }

  // A literal terminal: the literal after the spacing, or nothing with the input unmoved.
  bool literal(std::string_view text, std::string& out) {
    return begins(next(), text) && read_literal(text, out);
  }
  bool first_literal(std::span<const std::string_view> texts, std::string& out) {
    const int c = next();
    for (const std::string_view text : texts) {
      if (begins(c, text) && read_literal(text, out)) return true;
    }
    return false;
  }
  static bool begins(int c, std::string_view text) {
    return c == static_cast<unsigned char>(text[0]);
  }
  bool read_literal(std::string_view text, std::string& out) {
    const Position start = in_.tell_pos();
    skip_spacing(ctx_);
    for (const char expected : text) {
      if (in_.read_char() != static_cast<unsigned char>(expected)) {
        in_.seek_pos(start);
        return false;
      }
    }
    out += text;
    return true;
  }

  // "[0-9]+" after the spacing.
  bool number(std::string& out) {
    const int c = next();
    if (c < '0' || c > '9') return false;
    skip_spacing(ctx_);
    for (;;) {
      const int d = in_.read_char();
      if (d < '0' || d > '9') break;
      out += static_cast<char>(d);
    }
    in_.step_back();
    return true;
  }

  bool chain_step() {
    if (++chain_ > kMaxChain) declined_ = true;
    return !declined_;
  }

  void length(std::string& out) {
    length_unit(out);
    tie_chain(out);
  }

  void length_unit(std::string& out) {
    base_length(out);
    backquote_chain(out);
  }

  void base_length(std::string& out) {
    if (tick_length(out)) return;
    static constexpr std::string_view kValues[] = {"64", "32", "16", "8", "4", "2", "1", "0"};
    static constexpr std::string_view kDots[] = {"..", "."};
    first_literal(kValues, out);
    first_literal(kDots, out);
  }

  bool tick_length(std::string& out) {
    const Position start = in_.tell_pos();
    const std::size_t size = out.size();
    if (literal("i", out) && number(out)) return true;
    in_.seek_pos(start);
    out.resize(size);
    return false;
  }

  void backquote_chain(std::string& out) {
    while (!declined_) {
      const Position start = in_.tell_pos();
      const std::size_t size = out.size();
      if (!literal("`", out) || !number(out) || !chain_step()) {
        in_.seek_pos(start);
        out.resize(size);
        return;
      }
      literal(".", out);
    }
  }

  void tie_chain(std::string& out) {
    if (declined_) return;
    if ((literal("^", out) || literal("~", out)) && chain_step()) length(out);
  }

  void slash_suffix(std::string& out) {
    if (declined_) return;
    static constexpr std::string_view kSuffixes[] = {"////", "///.", "///", "//.", "//",
                                                     "/...", "/..",  "/.",  "/"};
    first_literal(kSuffixes, out);
  }

  ParseContext& ctx_;
  InputSource& in_;
  bool declined_ = false;
  int chain_ = 0;
};

}  // namespace

bool scan_note_length(ParseContext& ctx) {
  // The rules open a few activations per tie or addition; near the nesting limit they run
  // themselves, so that the limit is met exactly where it always was.
  constexpr int kScanDepth = 64;
  if (!ctx.fast_paths || ctx.depth + kScanDepth > ParseContext::kMaxDepth) return false;
  const Position start = ctx.input.tell_pos();
  std::string text;
  if (!LengthScanner(ctx).note_length(text)) {
    ctx.input.seek_pos(start);
    return false;
  }
  ctx.values.push(text);
  return true;
}

}  // namespace bivox
