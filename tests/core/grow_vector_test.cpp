// GrowVector: the growth rule callers observe, element copies and construction of every slot.
#include "core/grow_vector.h"

#include <gtest/gtest.h>

#include "core/dyn_string.h"

namespace {

TEST(GrowVector, AppendGrowthSteps) {
  GrowVector<i32> v;
  const struct {
    i32 appendsBefore;  // appends already made
    i32 capacity;       // capacity after one more append
    bool moved;         // that append took new storage
  } rows[] = {{0, 512, true}, {1, 512, false}, {510, 512, false}, {511, 512, true}, {512, 640, true},
              {513, 640, false}, {638, 640, false}, {639, 768, true}};
  for (const auto& row : rows) {
    while (v.count < row.appendsBefore) v.Append(v.count);
    const i32* before = v.data;
    v.Append(v.count);
    EXPECT_EQ(row.capacity, v.capacity) << "append " << row.appendsBefore + 1;
    EXPECT_EQ(row.moved, v.data != before) << "append " << row.appendsBefore + 1;
  }
  for (i32 i = 0; i < v.count; ++i) ASSERT_EQ(i, v[i]);
}

TEST(GrowVector, ReserveRule) {
  const struct {
    i32 step, minimum, first, second, capacity;  // Reserve(first), then Reserve(second)
  } rows[] = {
      {128, 512, 0, 0, 512},      {128, 512, 511, 0, 512},   {128, 512, 512, 0, 512},
      {128, 512, 513, 0, 640},    {128, 512, 4096, 0, 4224}, {128, 512, 512, 100, 512},
      {128, 512, 512, 512, 512},  {16, 8, 1, 9, 16},         {16, 8, 8, 16, 32},
      {1, 1, 1, 0, 1},
      {1, 1, 1, 5, 6},            {0, 0, 0, 3, 4},           {128, 512, -5, 0, 512},
  };
  for (const auto& row : rows) {
    GrowVector<i32> v(row.step, row.minimum);
    v.Reserve(row.first);
    v.Reserve(row.second);
    EXPECT_EQ(row.capacity, v.capacity) << row.step << "/" << row.minimum << " " << row.first << "," << row.second;
    EXPECT_EQ(0, v.count);
  }
}

TEST(GrowVector, ReserveKeepsCountAndEntries) {
  GrowVector<i32> v(1, 1);
  for (i32 i = 0; i < 5; ++i) v.Append(i * 7);
  v.Reserve(100);
  ASSERT_EQ(5, v.count);
  for (i32 i = 0; i < 5; ++i) EXPECT_EQ(i * 7, v[i]);
  for (i32 i = 5; i < v.capacity; ++i) EXPECT_EQ(0, v.data[i]);  // fresh slots are constructed
}

struct Counted {
  static inline int constructed = 0;
  int value = -1;
  Counted() { ++constructed; }
};

TEST(GrowVector, EverySlotOfTheStorageIsConstructed) {
  Counted::constructed = 0;
  GrowVector<Counted> v;
  v.Reserve(4096);
  EXPECT_EQ(4224, v.capacity);
  EXPECT_EQ(4224, Counted::constructed);
  for (i32 i = 0; i < v.capacity; ++i) ASSERT_EQ(-1, v.data[i].value);
}

TEST(GrowVector, CopyGrowsToTheSourceCapacity) {
  const struct {
    i32 sourceReserve, targetReserve, targetCapacity;
  } rows[] = {
      {0, -1, 512},       // source 512: the empty target grows to the minimum
      {600, -1, 768},     // source 640, past the minimum: (640 / 128 + 1) x 128
      {600, 513, 768},    // source 640 equals the target's 640: the target still grows
      {512, 1000, 1024},  // a larger target keeps its storage
  };
  for (const auto& row : rows) {
    GrowVector<i32> src;
    src.Reserve(row.sourceReserve);
    for (i32 i = 0; i < 3; ++i) src.Append(i + 1);
    GrowVector<i32> dst;
    dst.Reserve(row.targetReserve);
    dst.CopyFrom(src);
    EXPECT_EQ(row.targetCapacity, dst.capacity) << row.sourceReserve << "," << row.targetReserve;
    ASSERT_EQ(3, dst.count);
    EXPECT_EQ(3, dst[2]);
  }
}

TEST(GrowVector, CopyOfAListWithoutStorageStillReserves) {
  GrowVector<i32> src;
  GrowVector<i32> dst;
  dst.CopyFrom(src);
  EXPECT_EQ(512, dst.capacity);
  EXPECT_EQ(0, dst.count);
}

TEST(GrowVector, CopiesAreDeepAndKeepSettings) {
  GrowVector<DynString> src(16, 8);
  src.Append(DynString::FromCString("alpha"));
  src.Append(DynString::FromCString("beta"));
  GrowVector<DynString> copy(src);
  src[0].AssignCString("changed");
  EXPECT_STREQ("alpha", copy[0].data);
  EXPECT_STREQ("beta", copy[1].data);
  EXPECT_EQ(16, copy.step);
  EXPECT_EQ(8, copy.minimum);

  GrowVector<DynString> assigned;
  assigned = copy;
  assigned = assigned;  // self-assignment leaves it whole
  ASSERT_EQ(2, assigned.count);
  EXPECT_STREQ("alpha", assigned[0].data);
}

TEST(GrowVector, NestedListsAreCopiedWhenTheOuterListGrows) {
  GrowVector<GrowVector<i32>> outer(1, 1);
  for (i32 n = 0; n < 4; ++n) {
    GrowVector<i32> inner;
    for (i32 i = 0; i <= n; ++i) inner.Append(n * 10 + i);
    outer.Append(inner);
  }
  ASSERT_EQ(4, outer.count);
  for (i32 n = 0; n < 4; ++n) {
    ASSERT_EQ(n + 1, outer[n].count);
    EXPECT_EQ(n * 10 + n, outer[n][n]);
  }
}

TEST(GrowVector, AppendOfOwnEntryAcrossGrowth) {
  GrowVector<DynString> v(1, 1);
  v.Append(DynString::FromCString("first"));
  for (i32 i = 0; i < 6; ++i) v.Append(v[0]);  // each append reallocates with step 1
  ASSERT_EQ(7, v.count);
  for (const DynString& s : v) EXPECT_STREQ("first", s.data);
}

TEST(GrowVector, ClearKeepsStorageFreeReleasesIt) {
  GrowVector<i32> v;
  v.Append(1);
  v.Append(2);
  i32* storage = v.data;
  v.Clear();
  EXPECT_EQ(0, v.count);
  EXPECT_EQ(512, v.capacity);
  EXPECT_EQ(storage, v.data);
  v.Append(3);
  EXPECT_EQ(storage, v.data);
  v.Free();
  EXPECT_EQ(nullptr, v.data);
  EXPECT_EQ(0, v.count);
  EXPECT_EQ(0, v.capacity);
  v.Free();  // twice is harmless
}

TEST(GrowVector, MovedListLeavesAnEmptyOne) {
  GrowVector<i32> a;
  a.Append(5);
  GrowVector<i32> b(std::move(a));
  EXPECT_EQ(nullptr, a.data);
  EXPECT_EQ(0, a.capacity);
  ASSERT_EQ(1, b.count);
  EXPECT_EQ(5, b[0]);
}

}  // namespace
