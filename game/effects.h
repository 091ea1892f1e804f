// Particle effects: sprites that fly out from a cleared row (and the rising bonus sprite). Each
// particle moves every frame by its speed along its angle plus a growing fall, and is removed once
// the game's clock reaches its end time.
#pragma once

#include "core/types.h"

namespace game {

// Appends `count` particles at (x, y). Per particle, four draws from the runtime's random
// sequence in this order: speed (speedMin + 0..the whole part of speedMax - speedMin), life
// (lifeMin + 0..lifeMax - lifeMin ms from now), spread (0..spread degrees) and its side (-1, 0 or
// 1 times the spread, added to angle). A range below 0 gives its minimum.
void SpawnEffect(i32 count, i32 sprite, f32 x, f32 y, f32 speedMin, f32 speedMax, i32 lifeMin,
                 i32 lifeMax, i32 angle, i32 spread, f32 fall, f32 gravity);
// Moves and draws every live particle in the caller's blend mode, removes expired ones in place;
// the particle that moves into a removed one's place waits for the next pass.
void DrawEffects();

}  // namespace game
