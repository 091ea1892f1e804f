// Spawning, moving and drawing the particles of the global effect list.
#include "game/effects.h"

#include "core/float_convert.h"
#include "core/maths.h"
#include "core/random.h"
#include "game/game_globals.h"
#include "game/timers.h"
#include "media/graphics_commands.h"

namespace game {

namespace {

// Angles stay within 0..360 after one correction; 360 itself is kept.
i32 WrapAngle(i32 angle) {
  if (angle < 0) return angle + 360;
  if (angle > 360) return angle - 360;
  return angle;
}

}  // namespace

void SpawnEffect(i32 count, i32 sprite, f32 x, f32 y, f32 speedMin, f32 speedMax, i32 lifeMin,
                 i32 lifeMax, i32 angle, i32 spread, f32 fall, f32 gravity) {
  if (count < 1) return;
  const i32 speedRange = TruncToI32(speedMax - speedMin);
  const i32 lifeRange = TruncToI32(static_cast<f64>(lifeMax) - lifeMin);
  for (i32 k = 1; k <= count; ++k) {
    EffectParticle particle;
    particle.sprite = sprite;
    particle.x = x;
    particle.y = y;
    particle.speed = speedMin + static_cast<f32>(RandomBelow(speedRange));
    particle.endTime = ClockAfter(lifeMin, ClockAfter(RandomBelow(lifeRange), now));
    const i32 r = RandomBelow(spread);
    const i32 side = RandomBelow(2) - 1;
    particle.angle = WrapAngle(TruncToI32(static_cast<f64>(side) * r + angle));
    particle.fall = fall;
    particle.gravity = gravity;
    effects.Append(particle);
  }
}

void DrawEffects() {
  for (i32 i = 0; i < effects.dim[0]; ++i) {
    EffectParticle& p = effects.At(i);
    if (now < p.endTime) {
      const f32 heading = static_cast<f32>(p.angle - 90);
      effectStepY = SinDeg(heading) * p.speed + p.fall;
      effectStepX = CosDeg(heading) * p.speed;
      p.fall = p.fall + p.gravity;
      p.x = p.x + effectStepX;
      p.y = p.y + effectStepY;
      DrawSpriteCommand(p.sprite, TruncToI32(p.x), TruncToI32(p.y));
    } else {
      effects.RemoveAt(i);
    }
  }
}

}  // namespace game
