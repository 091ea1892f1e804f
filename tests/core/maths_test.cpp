// The maths commands (exact degree functions, clamps, remainders at the integer extremes, the
// rectangle overlap test) and random numbers (ISAAC, its seeding variant, RandomBelow).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <set>

#include "core/maths.h"
#include "core/random.h"

namespace {

// A generator in the all-zero state the program starts with.
std::unique_ptr<IsaacState> Seeded(u32 seed) {
  auto s = std::make_unique<IsaacState>(IsaacState{});
  IsaacSeed(s.get(), seed);
  return s;
}

TEST(Maths, CommandsAndRandomNumbers) {
  const f32 nan = std::numeric_limits<f32>::quiet_NaN();
  const struct {
    f32 got, expected;
  } rows[] = {
      {SinDeg(30), 0.5f},  {CosDeg(90), 6.123234e-17f}, {TanDeg(90), 1.6331239e16f},
      {ASinDeg(0.5f), 30}, {ASinDeg(1.5f), 90},         {ASinDeg(-2), -90},
      {ACosDeg(0.5f), 60}, {ACosDeg(-1), 180},          {ATan2Deg(-1, -1), -135},
      {PowF(2, 10), 1024}, {FloatMod(-7.5f, 2), -1.5f}, {AbsF(-2.5f), 2.5f},
  };
  for (size_t n = 0; n < std::size(rows); ++n)
    EXPECT_EQ(rows[n].expected, rows[n].got) << "row " << n;
  for (f32 v : {PowF(-8, 1.0f / 3.0f), ASinDeg(nan), ACosDeg(nan), SqrtF(-1)})
    EXPECT_TRUE(std::isnan(v));
  EXPECT_FALSE(std::signbit(FloatMod(3, -0.0f)));  // division by zero answers +0
  EXPECT_TRUE(std::signbit(AbsF(-0.0f)));          // -0 does not compare below 0
  const struct {
    i32 a, b, mod;
  } mods[] = {
      {-7, 3, -1}, {7, -3, 1}, {5, 0, 0}, {INT32_MIN, -1, 0}, {INT32_MAX, INT32_MIN, INT32_MAX}};
  for (const auto& row : mods) EXPECT_EQ(row.mod, IntMod(row.a, row.b)) << row.a << " % " << row.b;
  EXPECT_EQ(INT32_MAX, IntAbs(-INT32_MAX));
  EXPECT_EQ(INT32_MIN, IntAbs(INT32_MIN));
  // Whether two boxes overlap.
  const struct {
    i32 box[8];
    i32 overlap;
  } boxes[] = {
      {{0, 0, 10, 10, 10, 0, 10, 10}, 0}, {{0, 0, 10, 10, 9, 9, 5, 5}, 1},
      {{5, 5, 0, 0, 5, 5, 1, 1}, 1}, {{10, 0, -5, 1, 6, 0, 1, 1}, 1},
      {{10, 0, -5, 1, 5, 0, 1, 1}, 0}, {{0, 0, 10, 10, 0, 10, 10, 10}, 0},
      // Near the ends of the i32 range the far edge is computed without overflowing.
      {{INT32_MAX, 0, INT32_MAX, 1, 0, 0, 1, 1}, 0},
      {{INT32_MIN, 0, INT32_MIN, 1, INT32_MAX, 0, 1, 1}, 0},
      {{INT32_MAX, 0, 2, 1, INT32_MAX, 0, 1, 1}, 1},
  };
  for (size_t n = 0; n < std::size(boxes); ++n) {
    const i32* b = boxes[n].box;
    EXPECT_EQ(boxes[n].overlap, BoxesOverlap(b[0], b[1], b[2], b[3], b[4], b[5], b[6], b[7]))
        << "row " << n;
  }
  // Random numbers: the known sequence after seeding and the range of RandomBelow.
  auto s = Seeded(12345);
  for (u32 expected : {3348444910u, 4056185149u, 3233608359u})
    EXPECT_EQ(expected, IsaacNext(s.get()));
  IsaacSeed(s.get(), 12345);  // a re-seed folds in the result block of the last draw
  EXPECT_EQ(1998294108u, IsaacNext(s.get()));
  auto t = Seeded(12345);
  for (i32 expected : {6, 2, 2}) EXPECT_EQ(expected, RandomBelow(t.get(), 6));
  const IsaacState saved = isaacState;  // the commands use the global generator and the seed's bits
  isaacState = IsaacState{};
  SeedRandom(-1);
  EXPECT_EQ(IsaacNext(Seeded(0xFFFFFFFFu).get()), IsaacNext());
  isaacState = saved;
  const u32 passes = t->c;
  for (i32 n : {0, -5, INT32_MIN}) EXPECT_EQ(0, RandomBelow(t.get(), n));
  EXPECT_EQ(passes, t->c);  // the generator did not move
  std::set<i32> seen;
  for (int n = 0; n < 500; ++n) seen.insert(RandomBelow(t.get(), 6));
  EXPECT_EQ((std::set<i32>{0, 1, 2, 3, 4, 5, 6}), seen);
  for (int n = 0; n < 100; ++n) ASSERT_GE(RandomBelow(t.get(), INT32_MAX), 0);
}

}  // namespace
