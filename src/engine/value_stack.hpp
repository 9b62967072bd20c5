#pragma once

#include <algorithm>
#include <cstddef>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace bivox {

// The stack through which rule results travel: a terminal or rule that matches pushes one
// text, its caller pops it into a slot of its own frame. At most 9,999 values fit; the push
// that brings the count to 10,000 is a fatal stop.
//
// A rule frame keeps the texts it pops where they lie: popping lowers the count of values
// on the stack but leaves the text in its place, held by the frame until the frame's
// result takes the places back. So texts are neither copied into slots nor out again, and
// the places keep their storage from one use to the next.
class ValueStack {
 public:
  static constexpr int kPlaces = 10000;

  void reset();
  // Pushes a copy of the text.
  void push(std::string_view text) {
    place_at(top_).assign(text);
    pushed_at(top_);
  }
  // Pushes the text itself.
  void push_moved(std::string&& text) {
    place_at(top_) = std::move(text);
    pushed_at(top_);
  }
  void pop_into(std::string& slot) {
    --count_;
    --top_;
    slot = std::move(places_[top_]);
  }
  // Appends the top text to `out` and pops it.
  void pop_append(std::string& out) {
    --count_;
    std::string& text = places_[top_ - 1];
    if (out.empty()) {
      out.swap(text);
    } else {
      // Room for what follows a large text too, so that it is not moved again at once.
      const std::size_t size = out.size() + text.size();
      if (size > out.capacity()) out.reserve(std::max(2 * out.capacity(), size + size / 2));
      out += text;
    }
    release_to(top_ - 1);
  }
  // Joins the parts into the slot; the joined text passes through the stack on its way.
  void concat_into(std::string& slot, std::initializer_list<std::string_view> parts);
  int count() const { return count_; }
  // The text on top of the stack.
  const std::string& top() const { return places_[top_ - 1]; }

  // For rule frames. The places in use from `mark()` on belong to the frame that took the
  // mark: first the texts it holds, then the values pushed since.
  std::size_t mark() const { return top_; }
  // Pops the top text and leaves it in its place, held.
  void hold_top() { --count_; }
  const std::string& held(std::size_t place) const { return places_[place]; }
  std::string take_held(std::size_t place) { return std::move(places_[place]); }
  // Releases every place from `mark` on.
  void release_to(std::size_t mark) {
    trim(mark);
    top_ = mark;
  }
  // Releases the places from `mark` on and pushes the text in their stead.
  void push_moved_at(std::size_t mark, std::string&& text) {
    place_at(mark) = std::move(text);
    pushed_at(mark);
  }
  // Releases the places from `mark` on and pushes the text held at `place` in their stead.
  void push_held(std::size_t mark, std::size_t place) {
    if (place != mark) places_[mark].swap(places_[place]);
    pushed_at(mark);
  }
  // Releases the places from `mark` on and pushes the pieces joined in their stead. The
  // common results that begin with the text held at `mark` ($1 + ...) are built in place.
  template <class... Pieces>
  void push_joined(std::size_t mark, const Pieces&... pieces) {
    std::string& place = place_at(mark);
    const int uses = (is_place(pieces, place) + ...);
    // Reserved at once: a large piece (a nested group) is then copied a single time.
    const std::size_t size = (std::string_view(pieces).size() + ...);
    if (uses == 0) {
      place.clear();
      place.reserve(size);
      (place.append(std::string_view(pieces)), ...);
    } else if (uses == 1 && is_place_itself(first(pieces...), place)) {
      place.reserve(size);
      append_rest(place, pieces...);
    } else {
      scratch_.clear();
      scratch_.reserve(size);
      (scratch_.append(std::string_view(pieces)), ...);
      place.swap(scratch_);
    }
    pushed_at(mark);
  }

 private:
  // 1 when the piece is the text at the place, or a view into it.
  template <class Piece>
  static int is_place(const Piece& piece, const std::string& place) {
    if constexpr (std::is_same_v<Piece, std::string>) {
      if (&piece == &place) return 1;
    }
    const std::string_view view(piece);
    const char* begin = place.data();
    const std::less<const char*> before;
    return !view.empty() && !before(view.data(), begin) && before(view.data(), begin + place.size())
               ? 1
               : 0;
  }
  template <class Piece>
  static bool is_place_itself(const Piece& piece, const std::string& place) {
    if constexpr (std::is_same_v<Piece, std::string>) {
      return &piece == &place;
    } else {
      return false;
    }
  }
  template <class First, class... Rest>
  static const First& first(const First& piece, const Rest&...) {
    return piece;
  }
  template <class First, class... Rest>
  static void append_rest(std::string& out, const First&, const Rest&... rest) {
    (out.append(std::string_view(rest)), ...);
  }
  std::string& place_at(std::size_t place) {
    if (place == places_.size()) places_.emplace_back();
    return places_[place];
  }
  // Places keep their storage for the next text, unless it is large: nested groups leave
  // long texts behind at every level, which would add up.
  static constexpr std::size_t kKept = 256;
  void trim(std::size_t from) {
    for (std::size_t i = from; i < top_; ++i) {
      if (places_[i].capacity() > kKept) std::string().swap(places_[i]);
    }
  }
  // The value is in its place before the limit is tested, as a push always did. Large
  // texts among the places released are parts of a large result.
  void pushed_at(std::size_t place) {
    if (places_[place].size() > kKept) trim(place + 1);
    top_ = place + 1;
    if (++count_ == kPlaces) stack_full();
  }
  [[noreturn]] static void stack_full();

  std::vector<std::string> places_;
  std::size_t top_ = 0;  // places in use: values on the stack and texts held by frames
  int count_ = 0;        // values on the stack
  std::string scratch_;
};

}  // namespace bivox
