#include "heap_meter.hpp"

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace bivox::bench {
namespace {

std::atomic<std::size_t> in_use{0};
std::atomic<std::size_t> peak{0};

void* counted_alloc(std::size_t size) {
  void* p = std::malloc(size == 0 ? 1 : size);
  if (p == nullptr) return nullptr;
  const std::size_t now = in_use.fetch_add(malloc_usable_size(p)) + malloc_usable_size(p);
  std::size_t seen = peak.load();
  while (now > seen && !peak.compare_exchange_weak(seen, now)) {
  }
  return p;
}

void counted_free(void* p) noexcept {
  if (p == nullptr) return;
  in_use.fetch_sub(malloc_usable_size(p));
  std::free(p);
}

void* alloc_or_throw(std::size_t size) {
  void* p = counted_alloc(size);
  if (p == nullptr) throw std::bad_alloc();
  return p;
}

}  // namespace

std::size_t heap_in_use() {
  return in_use.load();
}

std::size_t heap_peak() {
  return peak.load();
}

void reset_heap_peak() {
  peak.store(in_use.load());
}

}  // namespace bivox::bench

using bivox::bench::alloc_or_throw;
using bivox::bench::counted_alloc;
using bivox::bench::counted_free;

void* operator new(std::size_t size) {
  return alloc_or_throw(size);
}
void* operator new[](std::size_t size) {
  return alloc_or_throw(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return counted_alloc(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return counted_alloc(size);
}
void operator delete(void* p) noexcept {
  counted_free(p);
}
void operator delete[](void* p) noexcept {
  counted_free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  counted_free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
  counted_free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
  counted_free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
  counted_free(p);
}
