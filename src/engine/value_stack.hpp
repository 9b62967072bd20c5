#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace bivox {

// A text that grows at both ends: its bytes are those of its buffer after a room kept free
// at the front, so that a prefix mostly goes before a long text without moving it. Nested
// groups are built that way, a prefix and a suffix at each level: in time proportional to
// their text, not to its square.
class Text {
 public:
  Text() = default;
  explicit Text(std::string text) : buf_(std::move(text)) {}

  std::string_view view() const { return {buf_.data() + front_, buf_.size() - front_}; }
  std::size_t size() const { return buf_.size() - front_; }
  std::size_t capacity() const { return buf_.capacity(); }
  // Whether the text's storage holds the bytes `piece` views.
  bool holds(std::string_view piece) const {
    const std::less_equal<const char*> not_after;
    return !piece.empty() && not_after(buf_.data(), piece.data()) &&
           not_after(piece.data() + piece.size(), buf_.data() + buf_.size());
  }

  void clear() {
    buf_.clear();
    front_ = 0;
  }
  void assign(std::string_view text) {
    buf_.assign(text);
    front_ = 0;
  }
  void append(std::string_view text) { buf_.append(text); }
  void insert(std::size_t at, std::string_view text) { buf_.insert(front_ + at, text); }
  void resize(std::size_t size) { buf_.resize(front_ + size); }
  void reserve(std::size_t size) { buf_.reserve(front_ + size); }
  // Makes room for `size` bytes at the front. When the room kept is too small the text
  // moves once, with room as large as itself.
  void reserve_front(std::size_t size);
  // Puts the text before this one.
  void prepend(std::string_view text);
  // The text as a string of its own.
  std::string take() &&;
  // Moves the text into `storage`, whose buffer it keeps from then on (with its capacity).
  void move_into(std::string& storage) {
    storage.assign(view());
    buf_.swap(storage);
    storage.clear();
    front_ = 0;
  }
  void swap(Text& other) noexcept {
    buf_.swap(other.buf_);
    std::swap(front_, other.front_);
  }
  // Gives the storage back.
  void release() { Text().swap(*this); }

 private:
  std::string buf_;
  std::size_t front_ = 0;
};

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
  // Pushes a copy of the text (which may view a text held on the stack).
  void push(std::string_view text) {
    if (top_ == places_.size()) {
      places_.emplace_back(std::string(text));
    } else {
      places_[top_].assign(text);
    }
    pushed_at(top_);
  }
  // Pushes the text itself.
  void push_moved(Text&& text) {
    place_at(top_) = std::move(text);
    pushed_at(top_);
  }
  void push_moved(std::string&& text) { push_moved(Text(std::move(text))); }
  void pop_into(std::string& slot) {
    --count_;
    --top_;
    slot = std::move(places_[top_]).take();
  }
  // Appends the top text to `out` and pops it. A text longer than `out` takes `out` as its
  // prefix instead, and becomes `out`, unless `out` keeps its buffer (one reserved for it).
  void pop_append(Text& out, bool keep_buffer = false) {
    --count_;
    Text& text = places_[top_ - 1];
    if (!keep_buffer && out.size() < text.size()) {
      text.prepend(out.view());
      out.swap(text);
    } else {
      out.append(text.view());
    }
    release_to(top_ - 1);
  }
  int count() const { return count_; }
  // The text on top of the stack.
  std::string_view top() const { return places_[top_ - 1].view(); }

  // For rule frames. The places in use from `mark()` on belong to the frame that took the
  // mark: first the texts it holds, then the values pushed since.
  std::size_t mark() const { return top_; }
  // Pops the top text and leaves it in its place, held.
  void hold_top() { --count_; }
  std::string_view held(std::size_t place) const { return places_[place].view(); }
  Text take_held(std::size_t place) { return std::move(places_[place]); }
  // Releases every place from `mark` on.
  void release_to(std::size_t mark) {
    trim(mark);
    top_ = mark;
  }
  // Releases the places from `mark` on and pushes the text in their stead.
  void push_moved_at(std::size_t mark, Text&& text) {
    place_at(mark) = std::move(text);
    pushed_at(mark);
  }
  // Releases the places from `mark` on and pushes the text held at `place` in their stead.
  void push_held(std::size_t mark, std::size_t place) {
    if (place != mark) places_[mark].swap(places_[place]);
    pushed_at(mark);
  }
  // Releases the places from `mark` on and pushes the pieces joined in their stead. A long
  // result is built around its longest piece where it lies, when that is a text held from
  // `mark` on; a short one in the result's place, or aside when a piece reads that place,
  // and on the text held there when it begins the result ($1 + ...).
  template <class... Pieces>
  void push_joined(std::size_t mark, const Pieces&... pieces) {
    const std::array<std::string_view, sizeof...(Pieces)> views{std::string_view(pieces)...};
    const std::size_t size = (std::string_view(pieces).size() + ...);
    if (size > kKept && join_around_long_piece(mark, views, size)) return;
    Text& place = place_at(mark);
    if (size <= kShortJoin) {
      // Joined aside first, so no piece can be overwritten while it is read.
      std::array<char, kShortJoin> joined;
      char* end = joined.data();
      for (const std::string_view piece : views) {
        for (const char c : piece) *end++ = c;
      }
      place.assign({joined.data(), size});
      pushed_at(mark);
      return;
    }
    const int readers = (place.holds(std::string_view(pieces)) + ...);
    if (readers == 0) {
      place.clear();
      place.reserve(size);
      (place.append(std::string_view(pieces)), ...);
    } else if (readers == 1 && views[0].data() == place.view().data() &&
               views[0].size() == place.size()) {
      place.reserve(size);
      for (std::size_t i = 1; i < views.size(); ++i) place.append(views[i]);
    } else {
      scratch_.clear();
      scratch_.reserve(size);
      (scratch_.append(std::string_view(pieces)), ...);
      place.swap(scratch_);
    }
    pushed_at(mark);
  }

 private:
  bool join_around_long_piece(std::size_t mark, std::span<const std::string_view> pieces,
                              std::size_t size);
  // The place from `mark` on whose whole text is the longest of the pieces, when it is long
  // and no other piece views its storage; else none.
  std::optional<std::size_t> long_piece(std::size_t mark, std::span<const std::string_view> pieces,
                                        std::size_t& index) const;
  Text& place_at(std::size_t place) {
    if (place == places_.size()) places_.emplace_back();
    return places_[place];
  }
  // Places keep their storage for the next text, unless it is large: nested groups leave
  // long texts behind at every level, which would add up.
  static constexpr std::size_t kKept = 256;
  // Results this short are joined on the machine stack and copied into their place once.
  static constexpr std::size_t kShortJoin = 64;
  void trim(std::size_t from) {
    for (std::size_t i = from; i < top_; ++i) {
      if (places_[i].capacity() > kKept) places_[i].release();
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

  std::vector<Text> places_;
  std::size_t top_ = 0;  // places in use: values on the stack and texts held by frames
  int count_ = 0;        // values on the stack
  Text scratch_;
};

}  // namespace bivox
