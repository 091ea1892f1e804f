// The runtime's in-place quicksort over a run of records, ascending by an integer key or by a
// compare function. Programs see the order of records with equal keys (a high-score table lists
// them, and writes them to its file), so this is one exact procedure, not std::sort: the pivot is
// the record at the last position, taken by position (a swap into that position changes the
// pivot), and the upper scan moves towards the end.
#pragma once

#include <cstddef>
#include <type_traits>
#include <utility>

#include "core/float_convert.h"
#include "core/types.h"

// A compare function: below 0 when a sorts before b, above 0 after; the result is truncated
// toward zero first, so magnitudes below 1 count as equal.
template <class T>
using RecordCompare = f32 (*)(const T* a, const T* b);

namespace record_sort_detail {

template <class T, class KeyFn>
i32 Order(const T& x, const T& pivot, RecordCompare<T> compare, KeyFn key) {
  if (compare != nullptr) return TruncToI32(compare(&x, &pivot));
  const i32 kx = key(x);
  const i32 kp = key(pivot);
  return kx < kp ? -1 : kx > kp ? 1 : 0;
}

// Sorts base[lo..hi] inclusive. Indices, not pointers, so that j may step below the first record
// without forming an invalid pointer. Both scans stop at hi, which a compare function that does
// not find the pivot equal to itself would otherwise run past.
template <class T, class KeyFn>
void SortRange(T* base, std::ptrdiff_t lo, std::ptrdiff_t hi, RecordCompare<T> compare, KeyFn key) {
  const std::ptrdiff_t pivot = hi;
  std::ptrdiff_t i = lo;
  std::ptrdiff_t j = hi;
  do {
    while (i < hi && Order(base[i], base[pivot], compare, key) < 0) ++i;
    while (j < hi && Order(base[j], base[pivot], compare, key) > 0) ++j;
    if (i <= j) {
      if (i != j) std::swap(base[i], base[j]);
      ++i;
      --j;
    }
  } while (i <= j);
  if (lo < j) SortRange(base, lo, j, compare, key);
  if (i < hi) SortRange(base, i, hi, compare, key);
}

}  // namespace record_sort_detail

// Sorts the records first..last inclusive. Without a compare function the order is ascending by
// key(record), an i32 (for the high-score records: the score).
template <class T, class KeyFn>
void SortRecords(T* first, T* last, std::type_identity_t<RecordCompare<T>> compare, KeyFn key) {
  if (first == nullptr || last == nullptr || last <= first) return;
  record_sort_detail::SortRange(first, 0, last - first, compare, key);
}
