// GrowVector: the growth rule callers observe, copies, and construction of every slot.
#include "core/grow_vector.h"

#include <gtest/gtest.h>

#include "core/dyn_string.h"

namespace {

TEST(GrowVector, AppendGrowthSteps) {
  GrowVector<i32> v;
  const struct {
    i32 appendsBefore, capacity;
    bool moved;  // that append took new storage
  } rows[] = {{0, 512, true}, {510, 512, false}, {511, 512, true}, {512, 640, true}, {639, 768, true}};
  for (const auto& row : rows) {
    while (v.count < row.appendsBefore) v.Append(v.count);
    const i32* before = v.data;
    v.Append(v.count);
    EXPECT_EQ(row.capacity, v.capacity) << "append " << row.appendsBefore + 1;
    EXPECT_EQ(row.moved, v.data != before) << "append " << row.appendsBefore + 1;
  }
  for (i32 i = 0; i < v.count; ++i) ASSERT_EQ(i, v[i]);
}

struct Counted {
  static inline int constructed = 0;
  Counted() { ++constructed; }
};

TEST(GrowVector, ReserveRuleConstructsEverySlot) {
  const struct {
    i32 step, minimum, reserve, capacity;  // after one append and Reserve(reserve)
  } rows[] = {{128, 512, 4096, 4224}, {16, 8, 16, 32}, {1, 1, 5, 6}, {0, 0, 3, 4}};
  for (const auto& row : rows) {
    GrowVector<i32> v(row.step, row.minimum);
    v.Append(7);
    v.Reserve(row.reserve);
    EXPECT_EQ(row.capacity, v.capacity) << row.step << "/" << row.minimum << ": " << row.reserve;
    EXPECT_EQ(7, v[0]);
  }
  Counted::constructed = 0;
  GrowVector<Counted> objects;
  objects.Reserve(4096);
  EXPECT_EQ(4224, Counted::constructed);
}

TEST(GrowVector, CopyGrowsToTheSourceCapacity) {
  const struct {
    i32 sourceReserve, targetReserve, targetCapacity;
  } rows[] = {{-1, -1, 512}, {600, -1, 768}, {600, 513, 768}, {512, 1000, 1024}};  // sources 0, 640, 640, 512
  for (const auto& row : rows) {
    GrowVector<i32> src, dst;
    src.Reserve(row.sourceReserve);
    dst.Reserve(row.targetReserve);
    dst.CopyFrom(src);
    EXPECT_EQ(row.targetCapacity, dst.capacity) << row.sourceReserve << "," << row.targetReserve;
  }
}

TEST(GrowVector, ElementsAreCopiedDeep) {
  GrowVector<GrowVector<DynString>> outer(1, 1);  // step 1: every append reallocates
  for (i32 n = 0; n < 3; ++n) {
    GrowVector<DynString> inner;
    inner.Append(DynString::FromInt(n));
    outer.Append(inner);
    outer.Append(outer[0]);  // an entry of the list itself, across a reallocation
  }
  outer[0][0].AssignCString("changed");
  outer = outer;  // self-assignment leaves it whole
  ASSERT_EQ(6, outer.count);
  for (i32 n : {1, 3, 5}) EXPECT_STREQ("0", outer[n][0].data);  // copies did not share the text
  EXPECT_STREQ("2", outer[4][0].data);
}

// Growth moves what is there; only the appended value is copied. A list of lists (the INI store's
// sections) therefore grows in linear time however many entries its elements hold.
struct Assignments {
  static inline int copies = 0, moves = 0;
  Assignments() = default;
  Assignments(const Assignments&) = default;
  Assignments& operator=(const Assignments&) {
    ++copies;
    return *this;
  }
  Assignments& operator=(Assignments&&) noexcept {
    ++moves;
    return *this;
  }
};

TEST(GrowVector, GrowthMovesTheElements) {
  Assignments::copies = Assignments::moves = 0;
  GrowVector<Assignments> v(1, 1);  // every append reallocates
  for (i32 n = 0; n < 100; ++n) v.Append(Assignments());
  v.Reserve(200);
  EXPECT_EQ(100, Assignments::copies);
  EXPECT_EQ(99 * 100 / 2 + 100, Assignments::moves);
}

}  // namespace
