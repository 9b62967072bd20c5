#pragma once

#include <functional>

namespace bivox {

// Runs `work` to its end on a thread whose stack holds the deepest nesting the grammar
// allows (ParseContext::kMaxDepth activations, also in sanitizer builds), and rethrows what
// it threw. The stack is reserved address space; only the pages a parse touches are used.
void run_with_deep_stack(const std::function<void()>& work);

}  // namespace bivox
