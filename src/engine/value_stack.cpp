#include "engine/value_stack.hpp"

#include <algorithm>

#include "engine/fatal_stop.hpp"
#include "text/messages.hpp"

namespace bivox {

void ValueStack::reset() {
  places_.clear();
  top_ = 0;
  count_ = 0;
}

void ValueStack::stack_full() {
  throw FatalStop(std::string(msg::kStackFull));
}

std::optional<std::size_t> ValueStack::long_piece(std::size_t mark,
                                                  std::span<const std::string_view> pieces,
                                                  std::size_t& index) const {
  std::optional<std::size_t> found;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    if (pieces[i].size() <= kKept || (found && pieces[i].size() <= pieces[index].size())) continue;
    for (std::size_t place = mark; place < top_; ++place) {
      const std::string_view text = places_[place].view();
      if (text.data() == pieces[i].data() && text.size() == pieces[i].size()) {
        found = place;
        index = i;
        break;
      }
    }
  }
  if (!found) return std::nullopt;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    if (i != index && places_[*found].holds(pieces[i])) return std::nullopt;
  }
  return found;
}

bool ValueStack::join_around_long_piece(std::size_t mark, std::span<const std::string_view> pieces,
                                        std::size_t size) {
  std::size_t index = 0;
  const std::optional<std::size_t> place = long_piece(mark, pieces, index);
  if (!place) return false;
  // The pieces before the long one go into the room at its front, those after it follow.
  Text& text = places_[*place];
  std::size_t before = 0;
  for (std::size_t i = 0; i < index; ++i) before += pieces[i].size();
  text.reserve_front(before);
  for (std::size_t i = index; i-- > 0;) text.prepend(pieces[i]);
  text.reserve(size);
  for (std::size_t i = index + 1; i < pieces.size(); ++i) text.append(pieces[i]);
  if (*place != mark) places_[mark].swap(text);
  pushed_at(mark);
  return true;
}

void Text::reserve_front(std::size_t size) {
  if (size <= front_) return;
  const std::size_t room = std::max(size, this->size());
  std::string grown;
  grown.reserve(room + this->size() + this->size() / 2);
  grown.resize(room);
  grown.append(view());
  buf_.swap(grown);
  front_ = room;
}

void Text::prepend(std::string_view text) {
  if (holds(text)) {
    prepend(std::string(text));
    return;
  }
  reserve_front(text.size());
  front_ -= text.size();
  text.copy(buf_.data() + front_, text.size());
}

std::string Text::take() && {
  buf_.erase(0, front_);
  front_ = 0;
  return std::move(buf_);
}

}  // namespace bivox
