#pragma once

#include <functional>

namespace bivox {

// Runs `work` to its end on a thread whose stack holds the deepest nesting the grammar
// allows (ParseContext::kMaxDepth activations, also in sanitizer builds), and rethrows what
// it threw. The stack is reserved address space; only the pages a parse touches are used.
// Under WebAssembly, which has no threads here, `work` runs on the caller's stack.
void run_with_deep_stack(const std::function<void()>& work);

// Under WebAssembly the parse runs on the JavaScript engine's stack, whose size the engine
// chooses (browsers give far less than kMaxDepth activations need). From kStackCheckFloor
// activations on, every kStackCheckStep-th one asks whether room for the next steps is
// left; when it is not, the nesting ends in the same fatal stop as at kMaxDepth, with the
// depth reached. Native builds never need to ask.
#if defined(__EMSCRIPTEN__)
inline constexpr bool kMachineStackChecked = true;
#else
inline constexpr bool kMachineStackChecked = false;
#endif
// Defined where kMachineStackChecked holds.
bool machine_stack_low();
inline constexpr int kStackCheckFloor = 1024;
inline constexpr int kStackCheckStep = 32;

}  // namespace bivox
