// The replaceable global operator new (single and array forms) of the path test program. Each
// one counts down the armed limit and then hands the request to the operator it replaces, found
// with dlsym(RTLD_NEXT): the C++ library's, or AddressSanitizer's in the sanitizer build, so its
// allocation checks stay in force. The refusal cannot be left to the real allocator: under
// AddressSanitizer an allocation that fails ends the process instead of throwing.
#include "tests/path/allocation_limit.h"

#include <dlfcn.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>

namespace {

std::atomic<i64> allocationsLeft{-1};  // -1: no limit

using NewFunction = void* (*)(std::size_t);

// `name` is the mangled name of the operator to forward to.
NewFunction Replaced(const char* name) {
  void* found = dlsym(RTLD_NEXT, name);
  if (found == nullptr) {
    std::fprintf(stderr, "allocation limit: no %s to forward to\n", name);
    std::abort();
  }
  return reinterpret_cast<NewFunction>(found);
}

void CountDown() {
  i64 left = allocationsLeft.load();
  while (left >= 0) {
    if (left == 0) throw std::bad_alloc();
    if (allocationsLeft.compare_exchange_weak(left, left - 1)) return;
  }
}

}  // namespace

ScopedAllocationLimit::ScopedAllocationLimit(i64 allowed) { allocationsLeft = allowed; }

ScopedAllocationLimit::~ScopedAllocationLimit() { allocationsLeft = -1; }

void* operator new(std::size_t size) {
  static const NewFunction next = Replaced("_Znwm");
  CountDown();
  return next(size);
}

void* operator new[](std::size_t size) {
  static const NewFunction next = Replaced("_Znam");
  CountDown();
  return next(size);
}
