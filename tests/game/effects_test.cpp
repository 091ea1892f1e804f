// Particles: the ranges and order of the random draws, the motion per frame, and removal in
// place with the one-pass delay for the particle that moves up.
#include <set>
#include <vector>

#include <gtest/gtest.h>

#include "core/random.h"
#include "game/effects.h"
#include "game/game_globals.h"
#include "tests/game/game_fixture.h"

using namespace game;

namespace {

struct Spawn {
  f32 speedMin, speedMax;
  i32 lifeMin, lifeMax;
  std::set<f32> speeds;
  std::set<i32> lives;  // end time - now
};

TEST_F(GameTest, SpawnedSpeedsAndLivesCoverTheirRanges) {
  Spawn cases[] = {
      {4, 8, 2000, 2004, {4, 5, 6, 7, 8}, {2000, 2001, 2002, 2003, 2004}},
      {4, 4, 500, 500, {4}, {500}},
      {8, 4, 900, 100, {8}, {900}},            // maximum below minimum: the minimum
      {4.5f, 6.2f, 10, 11, {4.5f, 5.5f}, {10, 11}},  // the range is the whole part of 1.7
  };
  now = 1000;
  for (Spawn& c : cases) {
    effects.Redim(0);
    SpawnEffect(200, 3, 1, 2, c.speedMin, c.speedMax, c.lifeMin, c.lifeMax, 0, 0, 0, 0);
    ASSERT_EQ(200, effects.dim[0]);
    std::set<f32> speeds;
    std::set<i32> lives;
    for (i32 i = 0; i < effects.dim[0]; ++i) {
      speeds.insert(effects.At(i).speed);
      lives.insert(effects.At(i).endTime - now);
    }
    EXPECT_EQ(c.speeds, speeds) << c.speedMin << ".." << c.speedMax;
    EXPECT_EQ(c.lives, lives) << c.lifeMin << ".." << c.lifeMax;
  }
}

TEST_F(GameTest, SpawnDrawsSpeedLifeSpreadAndSideInThatOrder) {
  SeedRandom(77);
  IsaacState copy = isaacState;
  now = 500;
  SpawnEffect(3, 6, 110, 223, 4, 8, 2000, 4000, 0, 50, 1.0f, 0.2f);
  ASSERT_EQ(3, effects.dim[0]);
  for (i32 k = 0; k < 3; ++k) {
    const i32 speed = RandomBelow(&copy, 4);
    const i32 life = RandomBelow(&copy, 2000);
    const i32 spread = RandomBelow(&copy, 50);
    const i32 side = RandomBelow(&copy, 2) - 1;
    i32 angle = side * spread;
    if (angle < 0) angle += 360;
    const EffectParticle& p = effects.At(k);
    EXPECT_EQ(4.0f + static_cast<f32>(speed), p.speed) << k;
    EXPECT_EQ(2500 + life, p.endTime) << k;
    EXPECT_EQ(angle, p.angle) << k;
    EXPECT_EQ(6, p.sprite);
    EXPECT_EQ(110.0f, p.x);
    EXPECT_EQ(223.0f, p.y);
    EXPECT_EQ(1.0f, p.fall);
    EXPECT_EQ(0.2f, p.gravity);
  }
}

TEST_F(GameTest, SpawnAnglesWrapOnceAndCountsBelowOneSpawnNothing) {
  for (auto [angle, expected] : {std::pair{-10, 350}, {370, 10}, {360, 360}, {0, 0}, {-400, -40}}) {
    effects.Redim(0);
    SpawnEffect(1, 0, 0, 0, 1, 1, 1, 1, angle, 0, 0, 0);
    ASSERT_EQ(1, effects.dim[0]);
    EXPECT_EQ(expected, effects.At(0).angle) << angle;
  }
  effects.Redim(0);
  SpawnEffect(0, 0, 0, 0, 1, 1, 1, 1, 0, 0, 0, 0);
  SpawnEffect(-3, 0, 0, 0, 1, 1, 1, 1, 0, 0, 0, 0);
  EXPECT_EQ(0, effects.dim[0]);
}

EffectParticle Particle(i32 sprite, i32 angle, f32 speed, i32 endTime, f32 fall = 0, f32 gravity = 0) {
  EffectParticle p;
  p.sprite = sprite;
  p.x = 100;
  p.y = 100;
  p.angle = angle;
  p.speed = speed;
  p.endTime = endTime;
  p.fall = fall;
  p.gravity = gravity;
  return p;
}

TEST_F(GameTest, ParticlesMoveAlongTheirAngleAndFall) {
  now = 0;
  effects.Append(Particle(1, 0, 4, 10));       // up
  effects.Append(Particle(2, 90, 4, 10));      // right
  effects.Append(Particle(3, 180, 4, 10));     // down
  effects.Append(Particle(4, 0, 0, 10, 1.0f, 0.5f));  // falls 1, then 1.5
  DrawEffects();
  DrawEffects();
  const std::vector<SpriteDraw> expected = {{1, 100, 96}, {2, 104, 100}, {3, 100, 104}, {4, 100, 101},
                                            {1, 100, 92}, {2, 108, 100}, {3, 100, 108}, {4, 100, 102}};
  EXPECT_EQ(expected, runtime.sprites);
  EXPECT_EQ(2.5f, effects.At(3).y - 100.0f);
  EXPECT_EQ(2.0f, effects.At(3).fall);
}

TEST_F(GameTest, ExpiredParticlesAreRemovedInPlaceOnePerPassWhenAdjacent) {
  now = 100;
  effects.Append(Particle(1, 0, 1, 200));
  effects.Append(Particle(2, 0, 1, 100));  // expired: now is not below its end time
  effects.Append(Particle(3, 0, 1, 50));   // expired, moves into place 1 and waits a pass
  effects.Append(Particle(4, 0, 1, 200));
  DrawEffects();
  ASSERT_EQ(3, effects.dim[0]);
  EXPECT_EQ(3, effects.At(1).sprite);
  EXPECT_EQ((std::vector<SpriteDraw>{{1, 100, 99}, {4, 100, 99}}), runtime.sprites);
  runtime.sprites.clear();
  DrawEffects();  // the second expired one goes now, and the last one moves up unseen
  ASSERT_EQ(2, effects.dim[0]);
  EXPECT_EQ(4, effects.At(1).sprite);
  EXPECT_EQ(99.0f, effects.At(1).y);
  EXPECT_EQ((std::vector<SpriteDraw>{{1, 100, 98}}), runtime.sprites);
  runtime.sprites.clear();
  DrawEffects();
  EXPECT_EQ((std::vector<SpriteDraw>{{1, 100, 97}, {4, 100, 98}}), runtime.sprites);
}

}  // namespace
