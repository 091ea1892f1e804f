// FNV-1a over the low 16 bits of each value: the hash that golden pixel and depth buffers are
// frozen with.
#pragma once

#include <cstddef>
#include <vector>

#include "core/types.h"

template <class T>
u64 Hash16(const T* values, std::size_t count) {
  u64 hash = 14695981039346656037ull;
  for (std::size_t i = 0; i < count; ++i) {
    for (i32 shift : {0, 8}) {
      hash = (hash ^ ((static_cast<u16>(values[i]) >> shift) & 0xFF)) * 1099511628211ull;
    }
  }
  return hash;
}

template <class T>
u64 Hash16(const std::vector<T>& values) {
  return Hash16(values.data(), values.size());
}
