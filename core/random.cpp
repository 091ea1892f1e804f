// ISAAC generation and the runtime's seeding variant of its initialisation.
#include "core/random.h"

#include <cstring>

namespace {

constexpr u32 kGoldenRatio = 0x9E3779B9u;

// ISAAC's mix of eight working words (shifts 11, 2, 8, 16, 10, 4, 8, 9).
void Mix(u32 h[8]) {
  h[0] ^= h[1] << 11; h[3] += h[0]; h[1] += h[2];
  h[1] ^= h[2] >> 2;  h[4] += h[1]; h[2] += h[3];
  h[2] ^= h[3] << 8;  h[5] += h[2]; h[3] += h[4];
  h[3] ^= h[4] >> 16; h[6] += h[3]; h[4] += h[5];
  h[4] ^= h[5] << 10; h[7] += h[4]; h[5] += h[6];
  h[5] ^= h[6] >> 4;  h[0] += h[5]; h[6] += h[7];
  h[6] ^= h[7] << 8;  h[1] += h[6]; h[7] += h[0];
  h[7] ^= h[0] >> 9;  h[2] += h[7]; h[0] += h[1];
}

// Adds eight words of `source` to h, mixes, and stores h into the same eight words of memory.
void MixBlock(u32 h[8], const u32* source, u32* target) {
  for (int n = 0; n < 8; ++n) h[n] += source[n];
  Mix(h);
  std::memcpy(target, h, 8 * sizeof(u32));
}

// One generation pass: advances c, rewrites memory, fills all 256 result words.
void GenerationPass(IsaacState* s) {
  u32 a = s->a;
  u32 b = s->b + (++s->c);
  u32* m = s->memory;
  for (int i = 0; i < 256; ++i) {
    const u32 x = m[i];
    switch (i & 3) {
      case 0: a ^= a << 13; break;
      case 1: a ^= a >> 6; break;
      case 2: a ^= a << 2; break;
      default: a ^= a >> 16; break;
    }
    a += m[(i + 128) & 255];
    const u32 y = m[(x >> 2) & 255] + a + b;
    m[i] = y;
    b = m[(y >> 10) & 255] + x;
    s->results[i] = b;
  }
  s->a = a;
  s->b = b;
}

}  // namespace

void IsaacSeed(IsaacState* state, u32 seed) {
  state->a = state->b = state->c = 0;
  u32 h[8];
  for (u32& word : h) word = kGoldenRatio;
  for (int n = 0; n < 32; ++n) {
    h[0] += seed;
    Mix(h);
  }
  for (int n = 0; n < 4; ++n) Mix(h);
  // The result block of the last draw (zero before any) is folded into the memory first.
  for (int k = 0; k < 256; k += 8) MixBlock(h, state->results + k, state->memory + k);
  for (int k = 0; k < 256; k += 8) MixBlock(h, state->memory + k, state->memory + k);
  GenerationPass(state);
}

u32 IsaacNext(IsaacState* state) {
  GenerationPass(state);
  return state->results[0];
}

i32 RandomBelow(IsaacState* state, i32 n) {
  if (n <= 0) return 0;
  // n + 1 is at most 2^31 and fits unsigned; the remainder is at most n.
  const u32 range = static_cast<u32>(n) + 1u;
  return static_cast<i32>(IsaacNext(state) % range);
}

void IsaacSeed(u32 seed) { IsaacSeed(&isaacState, seed); }
u32 IsaacNext() { return IsaacNext(&isaacState); }
i32 RandomBelow(i32 n) { return RandomBelow(&isaacState, n); }
void SeedRandom(i32 seed) { IsaacSeed(&isaacState, static_cast<u32>(seed)); }
