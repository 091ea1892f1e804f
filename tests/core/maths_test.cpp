// The maths commands: exact values of the degree functions, clamps, remainders at the integer
// extremes and the rectangle overlap test.
#include "core/maths.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

namespace {

TEST(Maths, FloatCommandsExact) {
  const f32 nan = std::numeric_limits<f32>::quiet_NaN();
  const struct {
    f32 got, expected;
  } rows[] = {
      {SinDeg(30), 0.5f},   {CosDeg(90), 6.123234e-17f}, {TanDeg(90), 1.6331239e16f}, {ASinDeg(0.5f), 30},
      {ASinDeg(1.5f), 90},  {ASinDeg(-2), -90},          {ACosDeg(0.5f), 60},         {ACosDeg(-1), 180},
      {ATan2Deg(-1, -1), -135}, {PowF(2, 10), 1024},     {FloatMod(-7.5f, 2), -1.5f}, {AbsF(-2.5f), 2.5f},
  };
  for (size_t n = 0; n < std::size(rows); ++n) EXPECT_EQ(rows[n].expected, rows[n].got) << "row " << n;
  for (f32 v : {PowF(-8, 1.0f / 3.0f), ASinDeg(nan), ACosDeg(nan), SqrtF(-1)}) EXPECT_TRUE(std::isnan(v));
  EXPECT_FALSE(std::signbit(FloatMod(3, -0.0f)));  // division by zero answers +0
  EXPECT_TRUE(std::signbit(AbsF(-0.0f)));          // -0 does not compare below 0
}

TEST(Maths, IntegerExtremes) {
  const struct {
    i32 a, b, mod;
  } mods[] = {{-7, 3, -1}, {7, -3, 1}, {5, 0, 0}, {INT32_MIN, -1, 0}, {INT32_MAX, INT32_MIN, INT32_MAX}};
  for (const auto& row : mods) EXPECT_EQ(row.mod, IntMod(row.a, row.b)) << row.a << " % " << row.b;
  EXPECT_EQ(INT32_MAX, IntAbs(-INT32_MAX));
  EXPECT_EQ(INT32_MIN, IntAbs(INT32_MIN));
}

TEST(Maths, BoxesOverlap) {
  const struct {
    i32 box[8];
    i32 overlap;
  } rows[] = {
      {{0, 0, 10, 10, 10, 0, 10, 10}, 0}, {{0, 0, 10, 10, 9, 9, 5, 5}, 1},  {{5, 5, 0, 0, 5, 5, 1, 1}, 1},
      {{10, 0, -5, 1, 6, 0, 1, 1}, 1},    {{10, 0, -5, 1, 5, 0, 1, 1}, 0},  {{0, 0, 10, 10, 0, 10, 10, 10}, 0},
      // Near the ends of the i32 range the far edge is computed without overflowing.
      {{INT32_MAX, 0, INT32_MAX, 1, 0, 0, 1, 1}, 0}, {{INT32_MIN, 0, INT32_MIN, 1, INT32_MAX, 0, 1, 1}, 0},
      {{INT32_MAX, 0, 2, 1, INT32_MAX, 0, 1, 1}, 1},
  };
  for (size_t n = 0; n < std::size(rows); ++n) {
    const i32* b = rows[n].box;
    EXPECT_EQ(rows[n].overlap, BoxesOverlap(b[0], b[1], b[2], b[3], b[4], b[5], b[6], b[7])) << "row " << n;
  }
}

}  // namespace
