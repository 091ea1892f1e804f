// The ISAAC generator, its seeding variant and RandomBelow.
#include "core/random.h"

#include <memory>
#include <set>

#include <gtest/gtest.h>

namespace {

// A generator in the all-zero state the program starts with.
std::unique_ptr<IsaacState> Seeded(u32 seed) {
  auto s = std::make_unique<IsaacState>(IsaacState{});
  IsaacSeed(s.get(), seed);
  return s;
}

TEST(Random, KnownSequenceAfterSeeding) {
  auto s = Seeded(12345);
  for (u32 expected : {3348444910u, 4056185149u, 3233608359u}) EXPECT_EQ(expected, IsaacNext(s.get()));
  IsaacSeed(s.get(), 12345);  // a re-seed folds in the result block of the last draw
  EXPECT_EQ(1998294108u, IsaacNext(s.get()));
  auto t = Seeded(12345);
  for (i32 expected : {6, 2, 2}) EXPECT_EQ(expected, RandomBelow(t.get(), 6));
}

TEST(Random, RandomBelowRange) {
  auto s = Seeded(1);
  const u32 passes = s->c;
  for (i32 n : {0, -5, INT32_MIN}) EXPECT_EQ(0, RandomBelow(s.get(), n));
  EXPECT_EQ(passes, s->c);  // the generator did not move
  std::set<i32> seen;
  for (int n = 0; n < 500; ++n) seen.insert(RandomBelow(s.get(), 6));
  EXPECT_EQ((std::set<i32>{0, 1, 2, 3, 4, 5, 6}), seen);
  for (int n = 0; n < 100; ++n) ASSERT_GE(RandomBelow(s.get(), INT32_MAX), 0);
}

TEST(Random, CommandsUseTheGlobalGeneratorAndTakeTheSeedBits) {
  const IsaacState saved = isaacState;
  isaacState = IsaacState{};
  SeedRandom(-1);
  EXPECT_EQ(IsaacNext(Seeded(0xFFFFFFFFu).get()), IsaacNext());
  isaacState = saved;
}

}  // namespace
