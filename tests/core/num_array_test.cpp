// NumArray: capacities and the inline store, shapes, the index rules and their errors, resizing
// and copies.
#include "core/num_array.h"

#include <gtest/gtest.h>

#include "core/runtime_error.h"
#include "tests/support/test_support.h"

namespace {

// Fills every element of the current shape with its offset + 1.
void FillWithOffsets(NumArray<f32>& a) {
  for (i64 n = 0; n < a.ElementCount(); ++n) a.data[n] = static_cast<f32>(n + 1);
}

TEST(NumArray, CapacityAndInlineStoreAcrossRedims) {
  NumArray<f32> a;
  const struct {
    i32 d0, d1;
    i32 capacity;
    bool isInline;
  } steps[] = {{5, 0, 8, true},   {8, 0, 16, true},  {16, 0, 24, false}, {17, 0, 24, false},
               {3, 0, 24, false}, {4, 6, 32, false}, {0, 0, 8, true},    {2, 2, 8, true}};
  for (const auto& step : steps) {
    if (a.data != nullptr) FillWithOffsets(a);
    a.Redim(step.d0, step.d1);
    EXPECT_EQ(step.capacity, a.capacity) << step.d0 << "x" << step.d1;
    EXPECT_EQ(step.isInline, a.UsesInlineStore()) << step.d0 << "x" << step.d1;
    for (i32 n = 0; n < a.capacity; ++n) ASSERT_EQ(0.0f, a.data[n]) << "element " << n;
  }
}

TEST(NumArray, ShapeFields) {
  const struct {
    i32 d[4];
    i32 dim[4];
    i32 stride[3];
    i32 dimCount;
  } rows[] = {
      {{5, 0, 0, 0}, {5, 0, 0, 0}, {5, 0, 0}, 1},
      {{4, 3, 2, 0}, {4, 3, 2, 0}, {4, 12, 24}, 3},
      {{2, 1, 1, 3}, {2, 1, 1, 3}, {2, 2, 2}, 4},
      {{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0}, 0},
      {{-4, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0}, 0},
      {{0, 5, 0, 0}, {0, 5, 0, 0}, {0, 0, 0}, 2},    // d0 below 1: products taken as 0
      {{2, -3, 0, 0}, {2, -3, 0, 0}, {2, -6, 0}, 2},  // negative sizes are stored as passed
      {{3, 0, 0, 7}, {3, 0, 0, 7}, {3, 0, 0}, 4},
  };
  for (const auto& row : rows) {
    NumArray<i32> a;
    a.Redim(row.d[0], row.d[1], row.d[2], row.d[3]);
    for (int n = 0; n < 4; ++n) EXPECT_EQ(row.dim[n], a.dim[n]) << "row " << row.d[0] << "," << row.d[1];
    for (int n = 0; n < 3; ++n) EXPECT_EQ(row.stride[n], a.stride[n]) << "row " << row.d[0] << "," << row.d[1];
    EXPECT_EQ(row.dimCount, a.dimCount);
  }
}

TEST(NumArray, IndexRules) {
  struct Access {
    i32 d[4];
    i32 index[4];
    bool fourIndex;
    i64 offset;  // -1: error 9
  };
  const Access rows[] = {
      {{5, 0, 0, 0}, {-1, 0, 0, 0}, false, 4},
      {{5, 0, 0, 0}, {-5, 0, 0, 0}, false, 0},
      {{5, 0, 0, 0}, {-6, 0, 0, 0}, false, -1},
      {{5, 0, 0, 0}, {5, 0, 0, 0}, false, -1},
      {{5, 0, 0, 0}, {4, 3, 0, 0}, false, -1},  // unused dimension: would reach element 19
      {{5, 0, 0, 0}, {0, 1, 0, 0}, false, -1},
      {{5, 0, 0, 0}, {0, -1, 0, 0}, false, -1},
      {{3, 2, 0, 0}, {2, 1, 0, 0}, false, 5},
      {{3, 2, 0, 0}, {-1, 1, 0, 0}, false, 5},
      {{3, 2, 0, 0}, {0, 2, 0, 0}, false, -1},
      {{3, 2, 0, 0}, {3, 0, 0, 0}, false, -1},
      {{2, 3, 2, 0}, {1, 2, 1, 0}, true, 11},
      {{2, 3, 2, 0}, {1, 2, 0, 0}, false, 5},  // two-index form on a three-dimensional array
      {{2, 3, 2, 0}, {0, 0, 2, 0}, true, -1},
      {{2, 3, 2, 0}, {0, 0, 1, 1}, true, -1},  // l into the unused fourth dimension
      {{2, 1, 1, 3}, {1, 0, 0, 2}, true, 5},
      {{2, 1, 1, 3}, {0, 0, 0, 3}, true, -1},
      {{2, -3, 0, 0}, {0, 0, 0, 0}, false, -1},  // a negative size refuses every index
      {{0, 0, 0, 0}, {0, 0, 0, 0}, false, -1},
  };
  for (const Access& row : rows) {
    NumArray<f32> a;
    a.Redim(row.d[0], row.d[1], row.d[2], row.d[3]);
    const i32* x = row.index;
    if (row.offset < 0) {
      if (row.fourIndex)
        EXPECT_FATAL(kErrIndex, NumArrayAt4(a, x[0], x[1], x[2], x[3]));
      else
        EXPECT_FATAL(kErrIndex, NumArrayAt2(a, x[0], x[1]));
    } else {
      f32* p = row.fourIndex ? NumArrayAt4(a, x[0], x[1], x[2], x[3]) : NumArrayAt2(a, x[0], x[1]);
      EXPECT_EQ(row.offset, p - a.data) << x[0] << "," << x[1] << "," << x[2] << "," << x[3];
    }
  }
}

TEST(NumArray, ArrayWithoutStorageRefusesAccess) {
  NumArray<i32> a;
  EXPECT_FATAL(kErrIndex, a.At(0, 0));
}

TEST(NumArray, SizesBeyondStorageAreError7) {
  const i32 rows[][4] = {{65536, 65536, 0, 0}, {46341, 46341, 0, 0}, {2, 2, 65536, 65536}, {INT32_MAX, 2, 0, 0}};
  for (const auto& d : rows) {
    NumArray<f32> a;
    a.Redim(3);
    *a.At(2, 0) = 7.0f;
    EXPECT_FATAL(kErrStorage, a.Redim(d[0], d[1], d[2], d[3]));
    // The failed dimensioning left the array as it was.
    EXPECT_EQ(3, a.dim[0]);
    EXPECT_EQ(7.0f, *a.At(2, 0));
  }
}

TEST(NumArray, ResizeKeepsElementsInAllFourDimensions) {
  NumArray<f32> a;
  a.Redim(2, 3, 2);
  for (i32 k = 0; k < 2; ++k)
    for (i32 j = 0; j < 3; ++j)
      for (i32 i = 0; i < 2; ++i) *a.At(i, j, k, 0) = static_cast<f32>(100 * k + 10 * j + i + 1);
  a.Resize(4, 3, 2);
  EXPECT_EQ(4, a.dim[0]);
  i32 kept = 0;
  for (i32 k = 0; k < 2; ++k)
    for (i32 j = 0; j < 3; ++j)
      for (i32 i = 0; i < 4; ++i) {
        const f32 expected = i < 2 ? static_cast<f32>(100 * k + 10 * j + i + 1) : 0.0f;
        EXPECT_EQ(expected, *a.At(i, j, k, 0)) << i << "," << j << "," << k;
        if (expected != 0.0f) ++kept;
      }
  EXPECT_EQ(12, kept);
}

TEST(NumArray, ResizeMovesElementsToTheNewStrides) {
  const struct {
    i32 d0, d1;
  } shapes[] = {{3, 2}, {2, 4}, {5, 0}, {1, 1}, {20, 3}};
  for (const auto& shape : shapes) {
    NumArray<i32> a;
    a.Redim(3, 3);
    for (i32 j = 0; j < 3; ++j)
      for (i32 i = 0; i < 3; ++i) *a.At(i, j) = 10 * i + j + 1;
    a.Resize(shape.d0, shape.d1);
    const i32 cols = shape.d1 == 0 ? 1 : shape.d1;
    for (i32 j = 0; j < cols; ++j)
      for (i32 i = 0; i < shape.d0; ++i) {
        const i32 expected = i < 3 && j < 3 ? 10 * i + j + 1 : 0;
        EXPECT_EQ(expected, *a.At(i, j)) << shape.d0 << "x" << shape.d1 << " at " << i << "," << j;
      }
  }
}

TEST(NumArray, ResizeStorageTransitions) {
  NumArray<f32> a;
  a.Redim(30);  // heap, 32
  *a.At(29, 0) = 3.0f;
  a.Resize(40);  // heap to heap: the array takes the new storage
  EXPECT_EQ(48, a.capacity);
  EXPECT_EQ(3.0f, *a.At(29, 0));
  a.Resize(4);  // heap to inline: copied in, the larger storage stays
  EXPECT_EQ(48, a.capacity);
  EXPECT_FALSE(a.UsesInlineStore());
  EXPECT_EQ(4, a.dim[0]);

  NumArray<f32> b;
  b.Redim(3);
  *b.At(1, 0) = 2.0f;
  b.Resize(100);  // inline to heap
  EXPECT_FALSE(b.UsesInlineStore());
  EXPECT_EQ(104, b.capacity);
  EXPECT_EQ(2.0f, *b.At(1, 0));
}

TEST(NumArray, ResizeToNothingKeepsStorage) {
  NumArray<i32> a;
  a.Redim(20);
  *a.At(5, 0) = 9;
  i32* storage = a.data;
  a.Resize(0, 4);
  EXPECT_EQ(0, a.dim[0]);
  EXPECT_EQ(0, a.dim[1]);
  EXPECT_EQ(0, a.dimCount);
  EXPECT_EQ(storage, a.data);
  EXPECT_EQ(24, a.capacity);
  EXPECT_FATAL(kErrIndex, a.At(0, 0));
  a.Resize(10);  // nothing is carried over from an empty shape
  EXPECT_EQ(0, *a.At(5, 0));
}

TEST(NumArray, AssignMakesOneDimension) {
  const i32 values[] = {5, -1, 7, 0, 9, 1000, 3, 8, 2, 11, 12, 13, 14, 15, 16, 17, 18, 19};
  for (i32 n : {0, 4, 9, 18}) {
    NumArray<i32> a;
    a.Redim(2, 2);
    a.Assign(n, values);
    EXPECT_EQ(n, a.dim[0]);
    EXPECT_EQ(0, a.dim[1]);
    EXPECT_EQ(n > 0 ? 1 : 0, a.dimCount);
    for (i32 i = 0; i < n; ++i) EXPECT_EQ(values[i], *a.At(i, 0));
  }
}

TEST(NumArray, CopyFromTakesShapeAndElements) {
  NumArray<f32> src;
  src.Redim(5, 4);
  FillWithOffsets(src);
  NumArray<f32> dst;
  dst.Redim(2);
  dst.CopyFrom(src);
  EXPECT_EQ(5, dst.dim[0]);
  EXPECT_EQ(4, dst.dim[1]);
  EXPECT_EQ(2, dst.dimCount);
  EXPECT_NE(src.data, dst.data);
  for (i32 n = 0; n < 20; ++n) EXPECT_EQ(static_cast<f32>(n + 1), dst.data[n]);

  dst.CopyFrom(dst);  // a copy onto itself changes nothing
  EXPECT_EQ(20.0f, *dst.At(4, 3));
}

}  // namespace
