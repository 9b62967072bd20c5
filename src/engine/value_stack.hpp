#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace bivox {

// The stack through which rule results travel: a terminal or rule that matches pushes one
// text, its caller pops it into a slot of its own frame. At most 9,999 values fit; the push
// that brings the count to 10,000 is a fatal stop.
class ValueStack {
 public:
  static constexpr int kPlaces = 10000;

  void reset();
  void push(std::string text);
  void pop_into(std::string& slot);
  // Joins the parts into the slot; the joined text passes through the stack on its way.
  void concat_into(std::string& slot, std::initializer_list<std::string_view> parts);
  int count() const { return count_; }

 private:
  std::vector<std::string> places_;
  int count_ = 0;
};

}  // namespace bivox
