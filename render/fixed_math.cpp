// Table sine and cosine, the reciprocal square root (seed plus three Newton steps) and the Heron
// square root. The reciprocals and the floor division are inline in the header, for the hot paths.
#include "render/fixed_math.h"

namespace {

// s in 1/65536 of a turn; 4096 table steps a turn, of which only bits 0..11 matter.
i32 WaveLookup(i32 s) {
  const i32 i = s >> 4;
  const i32 t = kQuarterSineWave[(i & 0x400) == 0 ? (i & 0x3FF) : (~i & 0x3FF)];
  return (i & 0x800) != 0 ? -t : t;
}

// The angle in 1/65536 of a turn. "While a < 0, add a turn" is the non-negative remainder.
i32 TurnSteps(i32 angle) {
  if (angle < 0) {
    angle %= kFixedTwoPi;
    if (angle < 0) angle += kFixedTwoPi;
  }
  return FixMul(angle, kRadiansToTurnSteps);
}

}  // namespace

i32 FixedSin(i32 angle) { return WaveLookup(TurnSteps(angle)); }

i32 FixedCos(i32 angle) { return WaveLookup(AddWrap(TurnSteps(angle), 0x4000)); }

i32 FixedRecipSqrt(i32 x) {
  if (x == 0) return 0x7FFFFFFF;
  if (x == kFixedOne) return kFixedOne;
  const u32 bits = static_cast<u32>(x);
  const i32 n = fixed_detail::LeadingZeros(bits);
  const i32 i = n > 28 ? 0 : static_cast<i32>((bits >> (28 - n)) & 7);
  i32 y = kRecipSqrtSeeds[i] * 2;
  const i32 e = n - 16;
  if (e > 0) {
    y = ShlWrap(y, (e + 1) / 2);
  } else {
    y >>= (-e) / 2;
  }
  if (e % 2 != 0) y = FixMul(y, 0xB504);  // times 1/sqrt(2)
  for (i32 step = 0; step < 3; ++step) {
    const i32 u = FixMul(FixMul(x, y), y);
    y = FixMul(y >> 1, SubWrap(0x30000, u));
  }
  return y;
}

i32 FixedSqrt(i32 x) {
  i32 y = AddWrap(x, kFixedOne) >> 1;
  for (i32 step = 0; step < 6; ++step) {
    const i32 high = y >> 24;
    // A large y is scaled down by 256 on both sides, which keeps its reciprocal precise.
    const i32 q = (high == 0 || high == -1) ? FixMul(x, fixed_detail::ReciprocalSteps(y))
                                            : FixMul(x >> 8, fixed_detail::ReciprocalSteps(y >> 8));
    y = AddWrap(q, y) >> 1;
  }
  return y;
}
