// Memory that runs out on cue, for the path tests: while a ScopedAllocationLimit lives, the first
// `allowed` allocations through the global operator new succeed and every later one throws
// std::bad_alloc. A test walks `allowed` up from 0 and so meets every allocation of a call in
// turn, without ever asking for much memory.
#pragma once

#include "core/types.h"

class ScopedAllocationLimit {
 public:
  explicit ScopedAllocationLimit(i64 allowed);
  ~ScopedAllocationLimit();
  ScopedAllocationLimit(const ScopedAllocationLimit&) = delete;
  ScopedAllocationLimit& operator=(const ScopedAllocationLimit&) = delete;
};
