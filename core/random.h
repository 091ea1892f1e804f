// The runtime's random numbers: one ISAAC generator (32-bit, 256-word memory and result blocks),
// seeded by the start-up from the millisecond clock and re-seedable by programs.
//
// The state is a plain struct so tests can run fresh ones; the commands use the one global
// instance. Every draw runs a full generation pass and hands out only the first result word, and
// seeding folds the last result block in, so a re-seed after draws differs from the first seed.
#pragma once

#include "core/types.h"

struct IsaacState {
  u32 results[256];  // the result block of the last generation pass
  u32 memory[256];   // ISAAC's internal memory
  u32 a;             // accumulator
  u32 b;             // previous result
  u32 c;             // pass counter
};

// The runtime's generator; all zero at program start.
extern IsaacState isaacState;

void IsaacSeed(IsaacState* state, u32 seed);
u32 IsaacNext(IsaacState* state);
i32 RandomBelow(IsaacState* state, i32 n);

// The commands, on the global generator.
void IsaacSeed(u32 seed);
u32 IsaacNext();
// 0 when n <= 0 (the generator does not move), else a draw modulo n + 1: 0 to n inclusive.
i32 RandomBelow(i32 n);
void SeedRandom(i32 seed);  // IsaacSeed with the seed's 32 bits unchanged
