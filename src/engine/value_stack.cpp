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
