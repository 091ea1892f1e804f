// The ISAAC generator, its seeding variant and RandomBelow.
#include "core/random.h"

#include <memory>
#include <set>

#include <gtest/gtest.h>

namespace {

// A generator in the all-zero state the program starts with.
std::unique_ptr<IsaacState> FreshState() { return std::make_unique<IsaacState>(IsaacState{}); }

TEST(Random, KnownSequenceAfterSeeding) {
  auto s = FreshState();
  IsaacSeed(s.get(), 12345);
  EXPECT_EQ(3348444910u, IsaacNext(s.get()));
  EXPECT_EQ(4056185149u, IsaacNext(s.get()));
  EXPECT_EQ(3233608359u, IsaacNext(s.get()));

  auto t = FreshState();
  IsaacSeed(t.get(), 12345);
  EXPECT_EQ(6, RandomBelow(t.get(), 6));
  EXPECT_EQ(2, RandomBelow(t.get(), 6));
  EXPECT_EQ(2, RandomBelow(t.get(), 6));
}

TEST(Random, ReseedingFoldsInTheLastDraw) {
  auto s = FreshState();
  IsaacSeed(s.get(), 12345);
  IsaacNext(s.get());
  IsaacSeed(s.get(), 12345);
  EXPECT_NE(3348444910u, IsaacNext(s.get()));

  // Two generators with the same last block seed alike.
  auto a = FreshState();
  auto b = FreshState();
  for (auto* g : {a.get(), b.get()}) {
    IsaacSeed(g, 99);
    IsaacNext(g);
    IsaacSeed(g, 12345);
  }
  EXPECT_EQ(IsaacNext(a.get()), IsaacNext(b.get()));
}

TEST(Random, RandomBelowRange) {
  auto s = FreshState();
  IsaacSeed(s.get(), 1);
  const IsaacState before = *s;
  EXPECT_EQ(0, RandomBelow(s.get(), 0));
  EXPECT_EQ(0, RandomBelow(s.get(), -5));
  EXPECT_EQ(0, RandomBelow(s.get(), INT32_MIN));
  EXPECT_EQ(before.c, s->c);  // not advanced
  EXPECT_EQ(before.results[0], s->results[0]);

  std::set<i32> seen;
  for (int n = 0; n < 500; ++n) {
    const i32 r = RandomBelow(s.get(), 6);
    ASSERT_GE(r, 0);
    ASSERT_LE(r, 6);
    seen.insert(r);
  }
  EXPECT_EQ(7u, seen.size());
  for (int n = 0; n < 100; ++n) {
    const i32 r = RandomBelow(s.get(), INT32_MAX);
    ASSERT_GE(r, 0);
  }
  for (int n = 0; n < 100; ++n) {
    const i32 r = RandomBelow(s.get(), 1) - 1;
    ASSERT_TRUE(r == -1 || r == 0);
  }
}

TEST(Random, CommandsUseTheGlobalGenerator) {
  const IsaacState saved = isaacState;
  isaacState = IsaacState{};
  SeedRandom(12345);
  EXPECT_EQ(3348444910u, IsaacNext());
  SeedRandom(-1);
  auto s = FreshState();
  IsaacSeed(s.get(), 12345);
  IsaacNext(s.get());
  IsaacSeed(s.get(), 0xFFFFFFFFu);  // the seed's bits are taken unchanged
  EXPECT_EQ(IsaacNext(s.get()), IsaacNext());
  isaacState = saved;
}

}  // namespace
