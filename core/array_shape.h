// The shape of the runtime's multi-dimensional arrays (NumArray and DynArray): strides, sizes,
// the used-dimension count, the element count and the one index rule that every element access
// follows. Both array types inherit it, so programs read `dim[0]` and `dim[1]` directly.
//
// Sizes are stored as passed (only d0 below 1 becomes 0), so a negative size makes every access
// into that dimension fail rather than being quietly normalised. Counts and offsets are computed
// in 64 bits: four 32-bit sizes multiply far beyond 32 bits.
#pragma once

#include "core/types.h"

// The most elements one array may hold: its capacity, headroom included, must still fit an i32.
constexpr i64 kMaxArrayElements = 0x7FFFFF00;

class ArrayShape {
 public:
  i32 stride[3] = {0, 0, 0};  // d0, d0 x d1, d0 x d1 x d2 with the sizes as passed
  i32 dim[4] = {0, 0, 0, 0};  // d0 (below 1 stored as 0), d1, d2, d3
  i32 dimCount = 0;           // highest nonzero size, counted from 1; 0 for none

  // Element count P of these sizes: d0 x max(d1, 1) x max(d2, 1) x max(d3, 1), 0 when d0 < 1.
  // Ends the program with error 7 when P passes kMaxArrayElements: no storage can hold it.
  static i64 ElementsFor(i32 d0, i32 d1, i32 d2, i32 d3);

  // The element count of the current shape (0 for an empty one).
  i64 ElementCount() const;

  void SetShape(i32 d0, i32 d1, i32 d2, i32 d3);
  void ClearShape();  // strides, sizes and dimCount 0
  void SwapShape(ArrayShape& other) noexcept;

  // The element offset of (i, j, k, l): a negative i counts once from the end of dimension 0;
  // then a negative index, missing storage, an index at or beyond a used dimension, or an offset
  // outside the elements ends the program with error 9. The two-index form (checkAll false)
  // leaves k and l at 0 and does not test d2 and d3.
  i64 Offset(bool hasStorage, i32 i, i32 j, i32 k, i32 l, bool checkAll) const;

  // Wraps a row index as Offset does and checks it against d0 and the storage (error 9).
  i32 CheckedRow(bool hasStorage, i32 i) const;
};
