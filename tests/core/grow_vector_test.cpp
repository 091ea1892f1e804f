// GrowVector: the limits of its growth rule, and deep copies.
#include "core/grow_vector.h"

#include <gtest/gtest.h>

#include "core/dyn_string.h"
#include "tests/support/test_support.h"

namespace {

TEST(GrowVector, ReserveLimits) {
  GrowVector<i32> noStep(0, 0);  // a step of 0 must not divide by zero
  noStep.Reserve(3);
  EXPECT_GE(noStep.capacity, 3);
  GrowVector<i32> v;
  v.Append(7);
  EXPECT_FATAL(kErrStorage, v.Reserve(INT32_MAX));  // the rounded-up capacity passes the i32 range
  EXPECT_EQ(7, v[0]);
}

TEST(GrowVector, SetCountMakesRoomByTheRule) {
  GrowVector<i32> v;
  v.SetCount(3);
  EXPECT_EQ(3, v.count);
  EXPECT_EQ(512, v.capacity);
  v.SetCount(600);
  EXPECT_EQ(640, v.capacity);
  v.SetCount(-1);
  EXPECT_EQ(0, v.count);
}

TEST(GrowVector, CopiesAreDeepAndGrowToTheSource) {
  GrowVector<i32> big, small;
  for (i32 n = 0; n < 600; ++n) big.Append(n);
  small.Append(-1);
  small.CopyFrom(big);
  ASSERT_EQ(600, small.count);
  for (i32 n = 0; n < 600; ++n) ASSERT_EQ(n, small[n]);

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
