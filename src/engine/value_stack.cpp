#include "engine/value_stack.hpp"

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

void ValueStack::push(std::string_view text) {
  if (top_ == places_.size()) {
    places_.emplace_back(text);
  } else {
    places_[top_].assign(text);
  }
  pushed_at(top_);
}

void ValueStack::push_moved(std::string&& text) {
  place_at(top_) = std::move(text);
  pushed_at(top_);
}

void ValueStack::push_held(std::size_t mark, std::size_t place) {
  if (place != mark) places_[mark].swap(places_[place]);
  pushed_at(mark);
}

void ValueStack::pop_into(std::string& slot) {
  --count_;
  --top_;
  slot = std::move(places_[top_]);
}

void ValueStack::pop_append(std::string& out) {
  --count_;
  if (out.empty()) {
    out.swap(places_[top_ - 1]);
  } else {
    out += places_[top_ - 1];
  }
  release_to(top_ - 1);
}

void ValueStack::concat_into(std::string& slot, std::initializer_list<std::string_view> parts) {
  std::size_t total = 0;
  for (auto part : parts) total += part.size();
  std::string joined;
  joined.reserve(total);
  for (auto part : parts) joined.append(part);
  push_moved(std::move(joined));
  pop_into(slot);
}

}  // namespace bivox
