// DynArray: capacities, fresh elements, appends, removals and the element pair step.
#include "core/dyn_array.h"

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/dyn_string.h"
#include "core/runtime_error.h"
#include "tests/support/test_support.h"

namespace {

struct Timer {  // a record with a text, as the game's lists keep them
  DynString name;
  i32 interval = 0;
};

void MakeList(DynArray<Timer>& list, const char* names) {
  list.Redim(0);
  for (const char* c = names; *c != '\0'; ++c) list.Append(Timer{DynString::FromBytes(c, 1), *c});
}

std::string Names(DynArray<Timer>& list) {
  std::string out;
  for (i32 i = 0; i < list.dim[0]; ++i) out += list.At(i).name.data;
  return out;
}

TEST(DynArray, CapacityAndFreshElements) {
  const struct {
    i32 d0, d1, capacity, dimCount;
  } steps[] = {{0, 0, 64, 0}, {64, 0, 128, 1}, {10, 0, 128, 1}, {3, 2, 128, 2}, {-5, 0, 64, 0}};
  DynArray<Timer> list;
  for (const auto& step : steps) {
    if (list.data != nullptr) std::fill(list.data, list.data + list.capacity, Timer{DynString::FromCString("x"), 9});
    list.Redim(step.d0, step.d1);
    EXPECT_EQ(step.capacity, list.capacity) << step.d0;
    EXPECT_EQ(step.dimCount, list.dimCount) << step.d0;
    for (i32 i = 0; i < (step.d0 * std::max(step.d1, 1)) / 64 * 64 + 64; ++i)
      ASSERT_TRUE(list.data[i].name.IsSharedEmpty() && list.data[i].interval == 0) << step.d0 << " at " << i;
  }
  EXPECT_FATAL(kErrStorage, list.Redim(65536, 65536));
  EXPECT_EQ(64, list.capacity);

  DynArray<u8> bytes;  // bytes start at 0 in new storage as in reused storage
  for (i32 size : {100, 10, 300}) {
    bytes.Redim(size);
    for (i32 i = 0; i < size / 64 * 64 + 64; ++i) ASSERT_EQ(0, bytes.data[i]) << size << " at " << i;
    std::fill(bytes.data, bytes.data + bytes.capacity, 0xAB);
  }
}

TEST(DynArray, AppendAndAccess) {
  DynArray<Timer> list{};  // a zeroed array is a valid empty one
  EXPECT_FATAL(kErrIndex, list.At(0));
  Timer t{DynString::FromCString("drop"), 500};
  list.Append(t);
  t.name.AssignCString("+");
  list.Append(t);
  list.Append(list.At(0));  // a value inside the list survives the rebuild
  EXPECT_EQ("drop+drop", Names(list));
  EXPECT_EQ(500, list.At(-1).interval);
  EXPECT_FATAL(kErrIndex, list.At(-4));
  EXPECT_FATAL(kErrIndex, list.At(2, 1));  // unused second dimension

  DynArray<f32> grid;
  grid.Redim(3, 2);
  EXPECT_FATAL(kErrAppend, grid.Append(1.0f));
}

TEST(DynArray, RemoveAt) {
  const struct {
    i32 index;
    const char* left;  // nullptr: error 8
  } rows[] = {{0, "bcde"}, {2, "abde"}, {4, "abcd"}, {-1, "abcd"}, {-5, "bcde"}, {5, nullptr}, {-6, nullptr}};
  for (const auto& row : rows) {
    DynArray<Timer> list;
    MakeList(list, "abcde");
    if (row.left == nullptr) {
      EXPECT_FATAL(kErrAppend, list.RemoveAt(row.index));
    } else {
      list.RemoveAt(row.index);
      EXPECT_EQ(row.left, Names(list)) << row.index;
    }
  }
  DynArray<i32> grid;  // a row of a two-dimensional array goes with all its columns
  grid.Redim(3, 2);
  for (i32 n = 0; n < 6; ++n) grid.data[n] = n;
  grid.RemoveAt(1);
  EXPECT_EQ((std::vector<i32>{0, 2, 3, 5}), std::vector<i32>(grid.data, grid.data + 4));
}

TEST(DynArray, AssignElementAndApplyPair) {
  DynArray<Timer> list;
  MakeList(list, "abc");
  list.AssignElement(0, 2);
  list.AssignElement(-1, 1);
  list.At(1).name.AssignCString("x");  // texts were copied, not shared
  EXPECT_EQ("cxb", Names(list));
  EXPECT_FATAL(kErrIndex, list.AssignElement(3, 0));
  EXPECT_FATAL(kErrIndex, list.AssignElement(0, -4));

  DynArray<i32> grid;
  grid.Redim(2, 4);
  i32 calls = 0;
  grid.ApplyPair(0, 1, [&](i32* a, i32* b) { calls += (b - a == 1); });
  EXPECT_EQ(4, calls);
  EXPECT_FATAL(kErrIndex, grid.ApplyPair(0, 2, [](i32*, i32*) {}));
}

}  // namespace
