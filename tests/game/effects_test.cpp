// Particles: ranges and order of the random draws, motion per frame, and removal in place with
// the one-pass delay for the particle that moves up.
#include "game/effects.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "core/random.h"
#include "game/game_globals.h"
#include "tests/game/game_fixture.h"

using namespace game;

namespace {

TEST_F(GameTest, SpawnedSpeedsAndLivesCoverTheirRanges) {
  const struct {
    f32 speedMin, speedMax;
    i32 lifeMin, lifeMax;
    std::set<f32> speeds;
    std::set<i32> lives;  // end time - now
  } cases[] = {
      {4, 8, 2000, 2003, {4, 5, 6, 7, 8}, {2000, 2001, 2002, 2003}},
      {4, 4, 500, 500, {4}, {500}},
      {8, 4, 900, 100, {8}, {900}},                  // maximum below minimum: the minimum
      {4.5f, 6.2f, 10, 11, {4.5f, 5.5f}, {10, 11}},  // speed range: the whole part of 1.7
  };
  now = 1000;
  for (const auto& c : cases) {
    effects.Redim(0);
    SpawnEffect(100, 3, 1, 2, c.speedMin, c.speedMax, c.lifeMin, c.lifeMax, 0, 0, 0, 0);
    std::set<f32> speeds;
    std::set<i32> lives;
    for (i32 i = 0; i < effects.dim[0]; ++i) {
      speeds.insert(effects.At(i).speed);
      lives.insert(effects.At(i).endTime - now);
    }
    EXPECT_EQ(c.speeds, speeds) << c.speedMin;
    EXPECT_EQ(c.lives, lives) << c.lifeMin;
  }
  SpawnEffect(0, 3, 1, 2, 1, 1, 1, 1, 0, 0, 0, 0);
  EXPECT_EQ(100, effects.dim[0]);
}

TEST_F(GameTest, EachParticleDrawsSpeedLifeSpreadAndSideInThatOrder) {
  IsaacState copy = isaacState;
  now = 500;
  SpawnEffect(20, 6, 110, 223, 4, 8, 2000, 4000, 20, 50, 1.0f, 0.2f);
  for (i32 k = 0; k < 20; ++k) {
    const i32 speed = RandomBelow(&copy, 4), life = RandomBelow(&copy, 2000);
    const i32 spread = RandomBelow(&copy, 50), side = RandomBelow(&copy, 2) - 1;
    const i32 angle = (side * spread + 20 + 360) % 360;  // wrapped once below 0
    const EffectParticle& p = effects.At(k);
    EXPECT_EQ(std::make_tuple(4.0f + speed, 2500 + life, angle, 6, 110.0f, 223.0f, 1.0f, 0.2f),
              std::make_tuple(p.speed, p.endTime, p.angle, p.sprite, p.x, p.y, p.fall, p.gravity));
  }
  effects.Redim(0);
  for (i32 angle : {-10, 370, 360}) SpawnEffect(1, 0, 0, 0, 1, 1, 1, 1, angle, 0, 0, 0);
  EXPECT_EQ(std::make_tuple(350, 10, 360),
            std::make_tuple(effects.At(0).angle, effects.At(1).angle, effects.At(2).angle));
}

// Sprites 1..4 as single pixels of their own colours.
const std::vector<std::pair<i32, u32>> kMarkers = {
    {1, 0x0000F8}, {2, 0x00FC00}, {3, 0xF80000}, {4, 0xF8FCF8}};

void MakeMarkers() {
  for (const auto& [sprite, colour] : kMarkers) MakeMarkerSprite(sprite, colour);
}

// Draws the particles once on a cleared picture; what was drawn where.
std::vector<Sprite> DrawPass() {
  ClearScreen();
  DrawEffects();
  return DrawnMarkers(kMarkers);
}

// Each sprite starts in a column of its own, so the markers never cover one another.
EffectParticle Particle(i32 sprite, i32 angle, i32 endTime, f32 speed = 1, f32 fall = 0,
                        f32 gravity = 0) {
  return EffectParticle{sprite, 80.0f + 20.0f * sprite, 100, speed, angle, endTime, fall, gravity};
}

TEST_F(GameTest, ParticlesMoveAlongTheirAngleAndFall) {
  for (const EffectParticle& p : {Particle(1, 0, 10, 4), Particle(2, 90, 10, 4),
                                  Particle(3, 180, 10, 4), Particle(4, 0, 10, 0, 1.0f, 0.5f)})
    effects.Append(p);
  MakeMarkers();
  EXPECT_EQ((std::vector<Sprite>{{1, 100, 96}, {2, 124, 100}, {3, 140, 104}, {4, 160, 101}}),
            DrawPass());
  EXPECT_EQ((std::vector<Sprite>{{1, 100, 92}, {2, 128, 100}, {3, 140, 108}, {4, 160, 102}}),
            DrawPass());
  EXPECT_EQ(102.5f, effects.At(3).y);
}

TEST_F(GameTest, ExpiredParticlesAreRemovedInPlace) {
  now = 100;
  // The second and third have expired (now is not below their end time).
  for (const EffectParticle& p :
       {Particle(1, 0, 200), Particle(2, 0, 100), Particle(3, 0, 50), Particle(4, 0, 200)})
    effects.Append(p);
  // Pass 1: 2 goes, 3 moves into its place unseen. Pass 2: 3 goes, 4 moves up unseen.
  const std::vector<std::vector<Sprite>> passes = {
      {{1, 100, 99}, {4, 160, 99}}, {{1, 100, 98}}, {{1, 100, 97}, {4, 160, 98}}};
  MakeMarkers();
  for (const auto& drawn : passes) EXPECT_EQ(drawn, DrawPass());
  EXPECT_EQ(2, effects.dim[0]);
}

}  // namespace
