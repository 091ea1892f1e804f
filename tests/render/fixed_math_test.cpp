// The fixed-point routines: the documented values, the wrapped small reciprocals, and sweeps
// against exact maths with error bounds (a wrong seed, shift or table entry shows up there).
#include "render/fixed_math.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <tuple>

namespace {

TEST(FixedMath, ReciprocalsGiveTheDocumentedValuesAndWrapBelowFour) {
  for (auto [v, r] : {std::pair{0, INT_MAX}, {0x20000, 0x8000}, {0x10000, 0x10000},
                      {-0x10000, -0x10000}, {0x7FFFFFFF, 2}, {INT_MIN, -2}, {7, 419430400},
                      {1, 0}, {2, INT_MIN}, {3, 1342177280}, {-2, INT_MIN}, {-3, -1342177280}}) {
    EXPECT_EQ(r, FixedReciprocal(v)) << v;
  }
  EXPECT_EQ(1 << 28, FixedReciprocal824(16));
  EXPECT_EQ(INT_MAX, FixedReciprocal824(0));
  EXPECT_EQ(-(1 << 28), FixedReciprocal824(-16));
}

TEST(FixedMath, ReciprocalsStayCloseToTheExactQuotient) {
  for (i32 i = 0; i < 8; ++i) {  // the seeds; Newton's steps would hide a small error in them
    EXPECT_EQ(262144 / (8 + i), kReciprocalSeeds[i]) << i;
    EXPECT_EQ(static_cast<i32>(65536 / std::sqrt(2 + i / 4.0)), kRecipSqrtSeeds[i]) << i;
  }
  for (i64 v = 8; v <= INT_MAX; v = v * 17 / 16 + 1) {
    for (i32 sign : {1, -1}) {
      const f64 exact = 4294967296.0 / static_cast<f64>(v) * sign;
      const i32 x = static_cast<i32>(v) * sign;
      EXPECT_NEAR(exact, FixedReciprocal(x), std::abs(exact) * 2e-4 + 1) << x;
      EXPECT_NEAR(exact, FixedReciprocal824(x), std::abs(exact) * 2e-4 + 1) << x;
    }
  }
}

TEST(FixedMath, FloorDivisionRoundsTowardsMinusInfinity) {
  for (auto [n, d, q, r] : {std::tuple{-7, 2, -4, 1}, {-4, 2, -2, 0}, {7, 2, 3, 1}, {0, 5, 0, 0},
                            {INT_MIN, 3, -715827883, 1}, {INT_MAX, 1, INT_MAX, 0},
                            {-1, INT_MAX, -1, INT_MAX - 1}, {5, 0, 0, 5},
                            {INT_MIN, -1, INT_MIN, 0}}) {  // the one quotient past the i32 range
    i32 quotient = 99, remainder = 99;
    FloorDivMod(n, d, &quotient, &remainder);
    EXPECT_EQ(std::pair(q, r), std::pair(quotient, remainder)) << n << " / " << d;
  }
}

TEST(FixedMath, SineTableFollowsItsFormulaAndTheLookupMirrorsIt) {
  for (i32 k = 0; k < 1023; ++k) {
    ASSERT_EQ(std::floor(65535.0 * std::sin(k * M_PI / 2046.0)), kQuarterSineWave[k]) << k;
  }
  EXPECT_EQ(65534, kQuarterSineWave[1023]);
  for (auto [angle, sine, cosine] :
       {std::tuple{0, 0, 65534}, {1000, 905, 65528}, {-1000, -1006, 65527}, {102943, 65534, 0}}) {
    EXPECT_EQ(sine, FixedSin(angle)) << angle;
    EXPECT_EQ(cosine, FixedCos(angle)) << angle;
  }
  // The truncated turn scale drifts a little with every turn above zero.
  for (i32 a = -3 * kFixedTwoPi; a < kFixedTwoPi; a += 977) {
    const f64 radians = a / 65536.0;
    ASSERT_NEAR(65536 * std::sin(radians), FixedSin(a), 140) << a;
    ASSERT_NEAR(65536 * std::cos(radians), FixedCos(a), 140) << a;
  }
}

TEST(FixedMath, SquareRootsConvergeOverTheirRange) {
  EXPECT_EQ(0x10000, FixedRecipSqrt(0x10000));
  EXPECT_EQ(INT_MAX, FixedRecipSqrt(0));
  EXPECT_EQ(0x10000, FixedSqrt(0x10000));
  // Below 8 raw the seed is not looked up; Heron's six steps converge between about 0.001 and 1024.
  for (i64 x = 8; x <= INT_MAX; x = x * 9 / 8 + 1) {
    const f64 value = static_cast<f64>(x) / 65536.0;
    const f64 recip = 65536.0 / std::sqrt(value), root = 65536.0 * std::sqrt(value);
    EXPECT_NEAR(recip, FixedRecipSqrt(static_cast<i32>(x)), recip * 6e-4 + 3) << x;
    if (x >= 64 && x < (1 << 26)) {
      EXPECT_NEAR(root, FixedSqrt(static_cast<i32>(x)), root * 6e-4 + 2) << x;
    }
  }
  FixedRecipSqrt(-5), FixedSqrt(INT_MAX);  // defined, if meaningless
}

}  // namespace
