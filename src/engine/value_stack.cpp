#include "engine/value_stack.hpp"

#include "engine/fatal_stop.hpp"
#include "text/messages.hpp"

namespace bivox {

void ValueStack::reset() {
  places_.clear();
  count_ = 0;
}

void ValueStack::push(std::string text) {
  if (static_cast<std::size_t>(count_) == places_.size()) places_.emplace_back();
  places_[static_cast<std::size_t>(count_)] = std::move(text);
  ++count_;
  if (count_ == kPlaces) throw FatalStop(std::string(msg::kStackFull));
}

void ValueStack::pop_into(std::string& slot) {
  --count_;
  slot = std::move(places_[static_cast<std::size_t>(count_)]);
}

void ValueStack::concat_into(std::string& slot, std::initializer_list<std::string_view> parts) {
  std::size_t total = 0;
  for (auto part : parts) total += part.size();
  std::string joined;
  joined.reserve(total);
  for (auto part : parts) joined.append(part);
  push(std::move(joined));
  pop_into(slot);
}

}  // namespace bivox
