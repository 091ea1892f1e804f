// DynArray: capacities, fresh elements, appends, removals, the element pair step, resizing and
// the index errors.
#include "core/dyn_array.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/dyn_string.h"
#include "core/runtime_error.h"
#include "tests/support/test_support.h"

namespace {

// A record with a text, as the game's timer list keeps them.
struct Timer {
  DynString name;
  i32 interval = 0;
  i32 due = 0;
};

Timer MakeTimer(const char* name, i32 interval) {
  Timer t;
  t.name = DynString::FromCString(name);
  t.interval = interval;
  return t;
}

std::string Names(DynArray<Timer>& list) {
  std::string out;
  for (i32 i = 0; i < list.dim[0]; ++i) out += std::string(list.At(i).name.data) + ";";
  return out;
}

DynArray<Timer>* MakeList(DynArray<Timer>& list, const std::vector<const char*>& names) {
  list.Redim(0);
  for (const char* n : names) list.Append(MakeTimer(n, 1));
  return &list;
}

TEST(DynArray, CapacityAndShape) {
  const struct {
    i32 d0, d1;
    i32 capacity, dimCount;
  } steps[] = {{0, 0, 64, 0}, {64, 0, 128, 1}, {10, 0, 128, 1}, {200, 0, 256, 1}, {3, 2, 256, 2}, {-5, 0, 64, 0}};
  DynArray<f32> a;
  for (const auto& step : steps) {
    a.Redim(step.d0, step.d1);
    EXPECT_EQ(step.capacity, a.capacity) << step.d0;
    EXPECT_EQ(step.dimCount, a.dimCount) << step.d0;
    EXPECT_EQ(step.d0 < 0 ? 0 : step.d0, a.dim[0]);
  }
}

TEST(DynArray, RedimResetsEveryElementFresh) {
  DynArray<Timer> list;
  list.Redim(10);
  for (i32 i = 0; i < 10; ++i) list.At(i) = MakeTimer("busy", i + 1);
  Timer* storage = list.data;
  list.Redim(5);  // storage reused
  EXPECT_EQ(storage, list.data);
  for (i32 i = 0; i < list.capacity; ++i) {
    EXPECT_TRUE(list.data[i].name.IsSharedEmpty()) << i;
    EXPECT_EQ(0, list.data[i].interval);
  }
}

TEST(DynArray, ByteArraysStartZeroedInNewAndReusedStorage) {
  DynArray<u8> bytes;
  for (i32 round = 0; round < 3; ++round) {
    const i32 size = round == 1 ? 10 : 100 * (round + 1);
    bytes.Redim(size);
    const i32 fresh = size / 64 * 64 + 64;  // reused storage is reset this far
    for (i32 i = 0; i < fresh; ++i) ASSERT_EQ(0, bytes.data[i]) << "round " << round << " at " << i;
    for (i32 i = 0; i < bytes.capacity; ++i) bytes.data[i] = 0xAB;
  }
}

TEST(DynArray, SizesBeyondStorageAreError7) {
  DynArray<u8> a;
  EXPECT_FATAL(kErrStorage, a.Redim(65536, 65536));
  EXPECT_EQ(nullptr, a.data);
  DynArray<Timer> b;
  b.Redim(2);
  EXPECT_FATAL(kErrStorage, b.ResizeKeep(70000, 70000));
  EXPECT_EQ(2, b.dim[0]);
}

TEST(DynArray, IndexErrors) {
  const struct {
    i32 d0, d1;
    i32 i, j;
    bool ok;
  } rows[] = {{5, 0, -1, 0, true}, {5, 0, -6, 0, false}, {5, 0, 5, 0, false}, {5, 0, 4, 3, false},
              {3, 2, 2, 1, true},  {3, 2, 0, 2, false},  {0, 0, 0, 0, false}};
  for (const auto& row : rows) {
    DynArray<f32> a;
    a.Redim(row.d0, row.d1);
    if (row.ok)
      a.At(row.i, row.j) = 1.0f;
    else
      EXPECT_FATAL(kErrIndex, a.At(row.i, row.j));
  }
  DynArray<f32> none;
  EXPECT_FATAL(kErrIndex, none.At(0));
}

TEST(DynArray, AppendCopiesTheValue) {
  DynArray<Timer> list;
  Timer t = MakeTimer("drop", 500);
  list.Append(t);
  t.name.AssignCString("changed");
  list.Append(t);
  list.Append(list.At(0));  // a value inside the list survives the rebuild
  EXPECT_EQ("drop;changed;drop;", Names(list));
  EXPECT_EQ(1, list.dimCount);
  EXPECT_EQ(64, list.capacity);
  EXPECT_EQ(500, list.At(2).interval);
}

TEST(DynArray, AppendToMultiDimensionalIsError8) {
  DynArray<f32> a;
  a.Redim(3, 2);
  EXPECT_FATAL(kErrAppend, a.Append(1.0f));
  EXPECT_EQ(3, a.dim[0]);
}

TEST(DynArray, RemoveAt) {
  const struct {
    i32 index;
    const char* left;  // nullptr: error 8
  } rows[] = {{0, "b;c;d;e;"}, {2, "a;b;d;e;"}, {4, "a;b;c;d;"}, {-1, "a;b;c;d;"},
              {-5, "b;c;d;e;"}, {5, nullptr},  {-6, nullptr}};
  for (const auto& row : rows) {
    DynArray<Timer> list;
    MakeList(list, {"a", "b", "c", "d", "e"});
    if (row.left == nullptr) {
      EXPECT_FATAL(kErrAppend, list.RemoveAt(row.index));
      EXPECT_EQ("a;b;c;d;e;", Names(list));
    } else {
      list.RemoveAt(row.index);
      EXPECT_EQ(row.left, Names(list)) << row.index;
      EXPECT_EQ(4, list.dim[0]);
    }
  }
  DynArray<Timer> empty;
  EXPECT_FATAL(kErrAppend, empty.RemoveAt(0));
  DynArray<Timer> one;
  MakeList(one, {"only"});
  one.RemoveAt(0);
  EXPECT_EQ(0, one.dim[0]);
  EXPECT_EQ(0, one.dimCount);
}

TEST(DynArray, RemoveRowOfTwoDimensions) {
  DynArray<i32> grid;
  grid.Redim(3, 2);
  for (i32 j = 0; j < 2; ++j)
    for (i32 i = 0; i < 3; ++i) grid.At(i, j) = 10 * i + j;
  grid.RemoveAt(1);
  EXPECT_EQ(2, grid.dim[0]);
  EXPECT_EQ(2, grid.dim[1]);
  EXPECT_EQ(0, grid.At(0, 0));
  EXPECT_EQ(1, grid.At(0, 1));
  EXPECT_EQ(20, grid.At(1, 0));
  EXPECT_EQ(21, grid.At(1, 1));
}

TEST(DynArray, AssignElementAndApplyPair) {
  DynArray<Timer> list;
  MakeList(list, {"a", "b", "c"});
  list.AssignElement(0, 2);
  list.AssignElement(-1, 1);
  list.AssignElement(1, 1);
  EXPECT_EQ("c;b;b;", Names(list));
  list.At(0).name.AssignCString("x");
  EXPECT_EQ("x;b;b;", Names(list));  // texts were copied, not shared
  EXPECT_FATAL(kErrIndex, list.AssignElement(3, 0));
  EXPECT_FATAL(kErrIndex, list.AssignElement(0, -4));

  DynArray<i32> grid;
  grid.Redim(2, 4);
  i32 calls = 0;
  grid.ApplyPair(0, 1, [&](i32* a, i32* b) {
    EXPECT_EQ(a + 1, b);
    ++calls;
  });
  EXPECT_EQ(4, calls);
  EXPECT_FATAL(kErrIndex, grid.ApplyPair(0, 2, [](i32*, i32*) {}));
}

TEST(DynArray, ResizeKeepCarriesOnlyTheFirstTwoIndices) {
  DynArray<i32> a;
  a.Redim(2, 3, 2);
  for (i32 k = 0; k < 2; ++k)
    for (i32 j = 0; j < 3; ++j)
      for (i32 i = 0; i < 2; ++i) a.At(i, j, k, 0) = 100 * k + 10 * j + i + 1;
  a.ResizeKeep(4, 3, 2);
  i32 kept = 0;
  for (i32 k = 0; k < 2; ++k)
    for (i32 j = 0; j < 3; ++j)
      for (i32 i = 0; i < 4; ++i) {
        const i32 expected = i < 2 && k == 0 ? 10 * j + i + 1 : 0;
        EXPECT_EQ(expected, a.At(i, j, k, 0)) << i << "," << j << "," << k;
        if (expected != 0) ++kept;
      }
  EXPECT_EQ(6, kept);
}

TEST(DynArray, ResizeKeepShapes) {
  const struct {
    i32 d0, d1;
  } shapes[] = {{1, 2}, {5, 0}, {2, 5}, {3, 3}};
  for (const auto& shape : shapes) {
    DynArray<Timer> a;
    a.Redim(3, 3);
    for (i32 j = 0; j < 3; ++j)
      for (i32 i = 0; i < 3; ++i) a.At(i, j).interval = 10 * i + j + 1;
    a.ResizeKeep(shape.d0, shape.d1);
    const i32 cols = shape.d1 == 0 ? 1 : shape.d1;
    for (i32 j = 0; j < cols; ++j)
      for (i32 i = 0; i < shape.d0; ++i) {
        const i32 expected = i < 3 && j < 3 ? 10 * i + j + 1 : 0;
        EXPECT_EQ(expected, a.At(i, j).interval) << shape.d0 << "x" << shape.d1 << " at " << i << "," << j;
      }
  }
  DynArray<Timer> b;
  b.Redim(4);
  Timer* storage = b.data;
  b.ResizeKeep(-1);
  EXPECT_EQ(storage, b.data);
  EXPECT_EQ(0, b.dimCount);
}

TEST(DynArray, ZeroedArrayIsAValidEmptyArray) {
  DynArray<f32> a{};
  EXPECT_EQ(0, a.dim[0]);
  a.Append(2.5f);
  EXPECT_EQ(2.5f, a.At(0));
}

}  // namespace
