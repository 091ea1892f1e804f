// The maths commands: exact values of the degree functions, clamps, remainders at the integer
// extremes and the rectangle overlap test.
#include "core/maths.h"

#include <cmath>
#include <limits>
#include <numbers>

#include <gtest/gtest.h>

namespace {

constexpr f32 kNaN = std::numeric_limits<f32>::quiet_NaN();
constexpr f32 kInf = std::numeric_limits<f32>::infinity();

TEST(Maths, ConversionConstantsAreTheNearestDoubles) {
  EXPECT_EQ(std::numbers::pi / 180.0, DegToRad);
  EXPECT_EQ(180.0 / std::numbers::pi, RadToDeg);
}

TEST(Maths, DegreeFunctionsExact) {
  const struct {
    const char* what;
    f32 got;
    f32 expected;
  } rows[] = {
      {"sin 30", SinDeg(30.0f), 0.5f},
      {"cos 60", CosDeg(60.0f), 0.5f},
      {"tan 45", TanDeg(45.0f), 1.0f},
      {"cos 90", CosDeg(90.0f), static_cast<f32>(6.123233995736766e-17)},
      {"sin 180", SinDeg(180.0f), static_cast<f32>(1.2246467991473532e-16)},
      {"tan 90", TanDeg(90.0f), static_cast<f32>(1.633123935319537e16)},
      {"asin .5", ASinDeg(0.5f), 30.0f},
      {"acos .5", ACosDeg(0.5f), 60.0f},
      {"asin 1.5", ASinDeg(1.5f), 90.0f},
      {"asin -2", ASinDeg(-2.0f), -90.0f},
      {"asin 1", ASinDeg(1.0f), 90.0f},
      {"acos 1", ACosDeg(1.0f), 0.0f},
      {"acos -1", ACosDeg(-1.0f), 180.0f},
      {"acos 7", ACosDeg(7.0f), 0.0f},
      {"atan2 1,0", ATan2Deg(1.0f, 0.0f), 90.0f},
      {"atan2 0,-1", ATan2Deg(0.0f, -1.0f), 180.0f},
      {"atan2 -1,-1", ATan2Deg(-1.0f, -1.0f), -135.0f},
      {"atan2 0,0", ATan2Deg(0.0f, 0.0f), 0.0f},
      {"pow 2,10", PowF(2.0f, 10.0f), 1024.0f},
      {"pow 0,-1", PowF(0.0f, -1.0f), kInf},
      {"pow 10,100", PowF(10.0f, 100.0f), kInf},
      {"sqrt 2", SqrtF(2.0f), 1.41421354f},
  };
  for (const auto& row : rows) EXPECT_EQ(row.expected, row.got) << row.what;
  EXPECT_TRUE(std::isnan(PowF(-8.0f, 1.0f / 3.0f)));
  EXPECT_TRUE(std::isnan(ASinDeg(kNaN)));
  EXPECT_TRUE(std::isnan(ACosDeg(kNaN)));
  EXPECT_TRUE(std::isnan(SqrtF(-1.0f)));
}

TEST(Maths, IntegerRemainderAndAbsolute) {
  const struct {
    i32 a, b, mod;
  } mods[] = {{7, 3, 1},   {-7, 3, -1}, {7, -3, 1},          {5, 0, 0},         {INT32_MIN, -1, 0},
              {-7, -1, 0}, {123, 10, 3}, {INT32_MIN, 10, -8}, {INT32_MAX, INT32_MIN, INT32_MAX}};
  for (const auto& row : mods) EXPECT_EQ(row.mod, IntMod(row.a, row.b)) << row.a << " % " << row.b;

  const struct {
    i32 x, abs;
  } abs[] = {{-5, 5}, {5, 5}, {0, 0}, {INT32_MIN, INT32_MIN}, {-INT32_MAX, INT32_MAX}};
  for (const auto& row : abs) EXPECT_EQ(row.abs, IntAbs(row.x)) << row.x;
}

TEST(Maths, FloatRemainderAndAbsolute) {
  EXPECT_EQ(1.5f, FloatMod(7.5f, 2.0f));
  EXPECT_EQ(-1.5f, FloatMod(-7.5f, 2.0f));
  for (f32 zero : {0.0f, -0.0f}) {
    const f32 r = FloatMod(3.0f, zero);
    EXPECT_EQ(0.0f, r);
    EXPECT_FALSE(std::signbit(r));
  }
  EXPECT_EQ(2.5f, AbsF(-2.5f));
  EXPECT_EQ(2.5f, AbsF(2.5f));
  EXPECT_TRUE(std::signbit(AbsF(-0.0f)));  // -0 does not compare below 0
  EXPECT_TRUE(std::signbit(AbsF(-kNaN)));
  EXPECT_EQ(kInf, AbsF(-kInf));
}

TEST(Maths, BoxesOverlap) {
  const struct {
    i32 box[8];
    i32 overlap;
  } rows[] = {
      {{0, 0, 10, 10, 10, 0, 10, 10}, 0},
      {{0, 0, 10, 10, 9, 9, 5, 5}, 1},
      {{5, 5, 0, 0, 5, 5, 1, 1}, 1},
      {{5, 5, -1, -1, 5, 5, 1, 1}, 1},
      {{10, 0, -5, 1, 6, 0, 1, 1}, 1},  // columns 6 to 10
      {{10, 0, -5, 1, 5, 0, 1, 1}, 0},
      {{0, 0, 10, 10, 0, 10, 10, 10}, 0},
      {{0, 0, 10, 10, 3, -5, 1, 6}, 1},
      // Near the ends of the i32 range the far edge is computed without overflowing.
      {{INT32_MAX, 0, INT32_MAX, 1, 0, 0, 1, 1}, 0},
      {{INT32_MIN, 0, INT32_MIN, 1, INT32_MAX, 0, 1, 1}, 0},
      {{INT32_MAX, 0, 2, 1, INT32_MAX, 0, 1, 1}, 1},
  };
  for (const auto& row : rows) {
    const i32* b = row.box;
    EXPECT_EQ(row.overlap, BoxesOverlap(b[0], b[1], b[2], b[3], b[4], b[5], b[6], b[7]))
        << b[0] << "," << b[1] << "," << b[2] << "," << b[3] << " vs " << b[4] << "," << b[5] << "," << b[6]
        << "," << b[7];
  }
}

}  // namespace
