// Resizing keeps elements: NumArray in all four dimensions, DynArray in the first two only.
#include <algorithm>

#include <gtest/gtest.h>

#include "core/dyn_array.h"
#include "core/num_array.h"

namespace {

i32 Value(i32 i, i32 j, i32 k) { return 10000 * k + 100 * j + i + 1; }

// Fills a (from) shape, resizes to (to) and checks every element of the new shape: kept values
// where the indices stay valid (only k == 0 unless allDims), 0 elsewhere.
template <class Array, class Resize, class Element>
void CheckResize(const i32 (&from)[3], const i32 (&to)[3], bool allDims, Resize resize, Element element) {
  Array a;
  a.Redim(from[0], from[1], from[2]);
  for (i32 k = 0; k < std::max(from[2], 1); ++k)
    for (i32 j = 0; j < std::max(from[1], 1); ++j)
      for (i32 i = 0; i < from[0]; ++i) element(a, i, j, k) = Value(i, j, k);
  resize(a, to[0], to[1], to[2]);
  for (i32 k = 0; k < std::max(to[2], 1); ++k)
    for (i32 j = 0; j < std::max(to[1], 1); ++j)
      for (i32 i = 0; i < to[0]; ++i) {
        const bool kept = (allDims ? k < std::max(from[2], 1) : k == 0) && i < from[0] && j < std::max(from[1], 1);
        ASSERT_EQ(kept ? Value(i, j, k) : 0, element(a, i, j, k)) << to[0] << "x" << to[1] << "x" << to[2]
                                                                     << " at " << i << "," << j << "," << k;
      }
}

const struct {
  i32 from[3], to[3];
} kShapes[] = {{{2, 3, 2}, {4, 3, 2}}, {{3, 3, 0}, {2, 4, 0}}, {{3, 3, 0}, {5, 0, 0}},
               {{3, 0, 0}, {2, 5, 0}}, {{20, 2, 0}, {30, 1, 0}}, {{30, 0, 0}, {3, 2, 2}}};

TEST(ArrayResize, NumArrayKeepsAllFourDimensions) {
  for (const auto& shape : kShapes)
    CheckResize<NumArray<i32>>(
        shape.from, shape.to, true, [](NumArray<i32>& a, i32 d0, i32 d1, i32 d2) { a.Resize(d0, d1, d2); },
        [](NumArray<i32>& a, i32 i, i32 j, i32 k) -> i32& { return *a.At(i, j, k, 0); });
}

TEST(ArrayResize, DynArrayKeepsTheFirstTwoIndices) {
  for (const auto& shape : kShapes)
    CheckResize<DynArray<i32>>(
        shape.from, shape.to, false, [](DynArray<i32>& a, i32 d0, i32 d1, i32 d2) { a.ResizeKeep(d0, d1, d2); },
        [](DynArray<i32>& a, i32 i, i32 j, i32 k) -> i32& { return a.At(i, j, k, 0); });
}

}  // namespace
