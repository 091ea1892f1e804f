// NumArray: capacities and the inline store, shapes, the index rules and their errors, copies.
#include "core/num_array.h"

#include <algorithm>
#include <array>

#include <gtest/gtest.h>

#include "core/runtime_error.h"
#include "tests/support/test_support.h"

namespace {

TEST(NumArray, CapacityAndInlineStoreAcrossRedims) {
  NumArray<f32> a;
  const struct {
    i32 d0, d1, capacity;
    bool isInline;
  } steps[] = {{5, 0, 8, true},   {8, 0, 16, true},  {16, 0, 24, false}, {17, 0, 24, false},
               {3, 0, 24, false}, {4, 6, 32, false}, {0, 0, 8, true},    {2, 2, 8, true}};
  for (const auto& step : steps) {
    if (a.data != nullptr) std::fill(a.data, a.data + a.capacity, 5.0f);
    a.Redim(step.d0, step.d1);
    EXPECT_EQ(step.capacity, a.capacity) << step.d0 << "x" << step.d1;
    EXPECT_EQ(step.isInline, a.UsesInlineStore()) << step.d0 << "x" << step.d1;
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

TEST(NumArray, SizesBeyondStorageAreError7) {
  for (const auto& d : {std::array{65536, 65536, 0, 0}, {46341, 46341, 0, 0}, {2, 2, 65536, 65536}}) {
    NumArray<f32> a;
    a.Assign(3, std::array{1.0f, 2.0f, 7.0f}.data());
    EXPECT_FATAL(kErrStorage, a.Redim(d[0], d[1], d[2], d[3]));
    EXPECT_EQ(7.0f, *a.At(2, 0));  // left as it was
  }
}

TEST(NumArray, CopyFromIncludingItself) {
  const i32 values[] = {5, -1, 7, 0, 9, 1000, 3, 8, 2, 11, 12, 13, 14, 15, 16, 17, 18, 19};
  NumArray<i32> a, b;
  a.Assign(18, values);
  b.CopyFrom(a);
  b.CopyFrom(b);
  EXPECT_EQ(1, b.dimCount);
  EXPECT_TRUE(std::equal(values, values + 18, b.data));
}

}  // namespace
