// NumArray: the inline store, the index rules and their errors, sizes beyond storage, copies; and
// resizing, which keeps elements in NumArray in all four dimensions, in DynArray in the first two.
#include "core/num_array.h"

#include <algorithm>
#include <array>

#include <gtest/gtest.h>

#include "core/dyn_array.h"
#include "core/runtime_error.h"
#include "tests/support/test_support.h"

namespace {

TEST(NumArray, RedimMovesBetweenInlineAndHeapAndZeroes) {
  NumArray<f32> a;
  // Storage for the element count rounded down to a multiple of 8, plus 8; kept while large
  // enough, except that a size below 1 always goes back to the inline store.
  const struct {
    i32 d0, d1;
    bool isInline;
    i32 capacity;
  } steps[] = {{5, 0, true, 8},   {17, 0, false, 24}, {3, 0, false, 24},
               {4, 6, false, 32}, {0, 0, true, 8},    {2, 2, true, 8}};
  for (const auto& step : steps) {
    if (a.data != nullptr) std::fill(a.data, a.data + a.capacity, 5.0f);
    a.Redim(step.d0, step.d1);
    EXPECT_EQ(step.isInline, a.UsesInlineStore()) << step.d0 << "x" << step.d1;
    EXPECT_EQ(step.capacity, a.capacity) << step.d0 << "x" << step.d1;
    EXPECT_EQ(a.data + a.capacity, std::find_if(a.data, a.data + a.capacity, [](f32 v) { return v != 0; }));
  }
}

TEST(NumArray, IndexRules) {
  const struct {
    i32 d[4], x[4];
    bool fourIndex;
    i64 offset;  // -1: error 9
  } rows[] = {
      {{5, 0, 0, 0}, {-1, 0, 0, 0}, false, 4},  {{5, 0, 0, 0}, {-6, 0, 0, 0}, false, -1},
      {{5, 0, 0, 0}, {5, 0, 0, 0}, false, -1},  {{5, 0, 0, 0}, {0, -1, 0, 0}, false, -1},
      {{5, 0, 0, 0}, {4, 3, 0, 0}, false, -1},  // unused dimension: would reach element 19
      {{3, 2, 0, 0}, {-1, 1, 0, 0}, false, 5},  {{3, 2, 0, 0}, {0, 2, 0, 0}, false, -1},
      {{2, 3, 2, 0}, {1, 2, 1, 0}, true, 11},   {{2, 3, 2, 0}, {0, 0, 2, 0}, true, -1},
      {{2, 3, 2, 0}, {0, 0, 1, 1}, true, -1},   {{2, 1, 1, 3}, {1, 0, 0, 2}, true, 5},
      {{2, -3, 0, 0}, {0, 0, 0, 0}, false, -1},  // a negative size refuses every index
  };
  for (const auto& row : rows) {
    NumArray<f32> a;
    a.Redim(row.d[0], row.d[1], row.d[2], row.d[3]);
    const i32* x = row.x;
    auto at = [&] { return row.fourIndex ? NumArrayAt4(a, x[0], x[1], x[2], x[3]) : NumArrayAt2(a, x[0], x[1]); };
    if (row.offset < 0)
      EXPECT_FATAL(kErrIndex, at());
    else
      EXPECT_EQ(row.offset, at() - a.data) << x[0] << "," << x[1] << "," << x[2] << "," << x[3];
  }
  NumArray<i32> none;
  EXPECT_FATAL(kErrIndex, none.At(0, 0));
}

TEST(NumArray, SizesBeyondStorageAreError7AndCopies) {
  for (const auto& d : {std::array{65536, 65536, 0, 0}, {46341, 46341, 0, 0}, {2, 2, 65536, 65536}}) {
    NumArray<f32> a;
    a.Assign(3, std::array{1.0f, 2.0f, 7.0f}.data());
    EXPECT_FATAL(kErrStorage, a.Redim(d[0], d[1], d[2], d[3]));
    EXPECT_EQ(7.0f, *a.At(2, 0));
  }
  const i32 values[] = {5, -1, 7, 0, 9, 1000, 3, 8, 2, 11, 12, 13, 14, 15, 16, 17, 18, 19};
  NumArray<i32> a, b;  // copies, onto itself too
  a.Assign(18, values);
  b.CopyFrom(a);
  b.CopyFrom(b);
  EXPECT_TRUE(std::equal(values, values + 18, b.data));
}

i32& Element(NumArray<i32>& a, i32 i, i32 j, i32 k) { return *a.At(i, j, k, 0); }
i32& Element(DynArray<i32>& a, i32 i, i32 j, i32 k) { return a.At(i, j, k, 0); }
void ResizeKeeping(NumArray<i32>& a, const i32 (&d)[3]) { a.Resize(d[0], d[1], d[2]); }
void ResizeKeeping(DynArray<i32>& a, const i32 (&d)[3]) { a.ResizeKeep(d[0], d[1], d[2]); }

// Fills a (from) shape, resizes to (to) and checks every element of the new shape: kept values
// where the indices stay valid (only k == 0 unless allDims), 0 elsewhere.
template <class Array>
void CheckResize(const i32 (&from)[3], const i32 (&to)[3], bool allDims) {
  auto value = [](i32 i, i32 j, i32 k) { return 10000 * k + 100 * j + i + 1; };
  Array a;
  a.Redim(from[0], from[1], from[2]);
  for (i32 k = 0; k < std::max(from[2], 1); ++k)
    for (i32 j = 0; j < std::max(from[1], 1); ++j)
      for (i32 i = 0; i < from[0]; ++i) Element(a, i, j, k) = value(i, j, k);
  ResizeKeeping(a, to);
  for (i32 k = 0; k < std::max(to[2], 1); ++k)
    for (i32 j = 0; j < std::max(to[1], 1); ++j)
      for (i32 i = 0; i < to[0]; ++i) {
        const bool kept = (allDims ? k < std::max(from[2], 1) : k == 0) && i < from[0] && j < std::max(from[1], 1);
        ASSERT_EQ(kept ? value(i, j, k) : 0, Element(a, i, j, k))
            << to[0] << "x" << to[1] << "x" << to[2] << " at " << i << "," << j << "," << k;
      }
}

TEST(ArrayResize, NumArrayKeepsAllFourDimensionsDynArrayTheFirstTwo) {
  const struct {
    i32 from[3], to[3];
  } shapes[] = {{{2, 3, 2}, {4, 3, 2}}, {{3, 3, 0}, {2, 4, 0}}, {{3, 3, 0}, {5, 0, 0}},
                {{3, 0, 0}, {2, 5, 0}}, {{20, 2, 0}, {30, 1, 0}}, {{30, 0, 0}, {3, 2, 2}}};
  for (const auto& shape : shapes) {
    CheckResize<NumArray<i32>>(shape.from, shape.to, true);
    CheckResize<DynArray<i32>>(shape.from, shape.to, false);
  }
}

}  // namespace
