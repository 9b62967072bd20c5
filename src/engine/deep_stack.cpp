#include "engine/deep_stack.hpp"

#if defined(__EMSCRIPTEN__)
#include <emscripten/emscripten.h>
#else
#include <exception>
#include <system_error>
#if defined(_WIN32)
#include <windows.h>
#elif __has_include(<pthread.h>)
#include <pthread.h>
#else
#include <thread>
#endif
#endif

#if defined(__EMSCRIPTEN__)
// A JavaScript function that can still recurse this deep leaves room for many times
// kStackCheckStep rule activations (a few hundred bytes of stack each).
// clang-format off
EM_JS(int, javascript_stack_low, (), {
  function descend(n) { return n === 0 ? 0 : 1 + descend(n - 1); }
  try {
    descend(500);
    return 0;
  } catch (e) {
    return 1;
  }
});
// clang-format on
#endif

namespace bivox {

#if defined(__EMSCRIPTEN__)

bool machine_stack_low() {
  return javascript_stack_low() != 0;
}

void run_with_deep_stack(const std::function<void()>& work) {
  work();
}

#else

namespace {

constexpr std::size_t kStackBytes = std::size_t{1} << 30;

struct Work {
  const std::function<void()>* work;
  std::exception_ptr error;
};

void run_work(Work& w) {
  try {
    (*w.work)();
  } catch (...) {
    w.error = std::current_exception();
  }
}

#if defined(_WIN32)
DWORD WINAPI run(LPVOID arg) {
  run_work(*static_cast<Work*>(arg));
  return 0;
}
#else
void* run(void* arg) {
  run_work(*static_cast<Work*>(arg));
  return nullptr;
}
#endif

}  // namespace

void run_with_deep_stack(const std::function<void()>& work) {
  Work w{&work, nullptr};
#if defined(_WIN32)
  // The size is reserved address space; pages are committed as the parse reaches them.
  const HANDLE thread =
      CreateThread(nullptr, kStackBytes, run, &w, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
  if (thread == nullptr) {
    throw std::system_error(static_cast<int>(GetLastError()), std::system_category(),
                            "cannot start the parser");
  }
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
#elif __has_include(<pthread.h>)
  pthread_attr_t attr;
  pthread_attr_init(&attr);
  pthread_attr_setstacksize(&attr, kStackBytes);
  pthread_t thread;
  const int rc = pthread_create(&thread, &attr, run, &w);
  pthread_attr_destroy(&attr);
  if (rc != 0) throw std::system_error(rc, std::generic_category(), "cannot start the parser");
  pthread_join(thread, nullptr);
#else
  // Without POSIX threads the platform's default thread stack is used.
  std::thread thread(run, &w);
  thread.join();
#endif
  if (w.error) std::rethrow_exception(w.error);
}

#endif

}  // namespace bivox
