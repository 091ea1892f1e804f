// The renderer's fixed-point routines: reciprocals (the only division in the per-vertex and
// per-pixel paths), floor division for edge stepping, table sine and cosine, and the reciprocal
// square root and square root. All are exact integer algorithms: the drawers' edge stepping, the
// clipper's interpolation and every gradient depend on their exact values, so none of them may be
// replaced by a hardware division or the maths library.
#pragma once

#include <array>
#include <bit>

#include "render/fixed_point.h"

// One turn in 16.16 radians, and the scale from 16.16 radians to 1/65536 of a turn (truncated).
constexpr i32 kFixedTwoPi = 0x6487E;
constexpr i32 kRadiansToTurnSteps = 0x28BE;

// floor(262144 / (8 + i)): the first estimate of 2^32 / a by the three bits below a's leading one.
inline constexpr u16 kReciprocalSeeds[8] = {0x8000, 0x71C7, 0x6666, 0x5D17,
                                            0x5555, 0x4EC4, 0x4924, 0x4444};
// floor(65536 / sqrt(2 + i / 4)).
inline constexpr u16 kRecipSqrtSeeds[8] = {0xB504, 0xAAAA, 0xA1E8, 0x9A5F,
                                           0x93CD, 0x8E00, 0x88D6, 0x8432};
extern const u16 kQuarterSineWave[1024];

namespace fixed_detail {

// Leading zero bits of a 32-bit value, 0..31 (zero counts as 31, as a halving search gives it).
constexpr i32 LeadingZeros(u32 a) { return a == 0 ? 31 : std::countl_zero(a); }

// The table estimate of 2^32 / a. For magnitudes below 4 the shift leaves the 32-bit range and the
// estimate wraps (1 gives 0, 2 and 3 give INT_MIN); the wrap is part of the defined results.
constexpr i32 ReciprocalSeedOf(i32 leadingZeros, i32 index) {
  const i64 seed = i64{kReciprocalSeeds[index]} * 4;
  return leadingZeros > 16 ? Wrap32(seed << (leadingZeros - 16))
                           : static_cast<i32>(seed >> (16 - leadingZeros));
}
// Every estimate by the leading-zero count n and the three bits below the leading one (which
// count as 0 when n > 28): the drawers take several reciprocals per row, and one look-up is
// shorter than picking the seed and shifting it.
inline constexpr auto kReciprocalEstimates = [] {
  std::array<i32, 32 * 8> table{};
  for (i32 n = 0; n < 32; ++n) {
    for (i32 i = 0; i < 8; ++i) table[n * 8 + i] = ReciprocalSeedOf(n, n > 28 ? 0 : i);
  }
  return table;
}();
constexpr i32 ReciprocalSeed(u32 a) {
  const i32 n = LeadingZeros(a);
  return kReciprocalEstimates[(n << 3) | ((a << n) >> 28 & 7)];
}

// Two Newton steps of the 16.16 reciprocal on a = |v| (2^31 for INT_MIN), sign applied after.
constexpr i32 ReciprocalSteps(i32 v) {
  const u32 a = v < 0 ? 0u - static_cast<u32>(v) : static_cast<u32>(v);
  i32 r = ReciprocalSeed(a);
  for (i32 step = 0; step < 2; ++step) {
    const i32 e = SubWrap(0x20000, Wrap32((i64{a} * r) >> 16));
    r = Wrap32((i64{r} * e) >> 16);
  }
  return v < 0 ? NegWrap(r) : r;
}

}  // namespace fixed_detail

// 1/v in 16.16; 0x7FFFFFFF for 0. Exact for powers of two from 4 up. Magnitudes 1 to 3 have no
// 16.16 reciprocal and give the wrapped values 0, INT_MIN and 1342177280 (negated for negative v).
constexpr i32 FixedReciprocal(i32 v) {
  return v == 0 ? 0x7FFFFFFF : fixed_detail::ReciprocalSteps(v);
}

// The same reciprocal with an 8.24 error term in its Newton steps: the triangle drawers' reciprocal
// of the doubled area (D = 16 gives exactly 2^28).
constexpr i32 FixedReciprocal824(i32 v) {
  if (v == 0) return 0x7FFFFFFF;
  const u32 a = v < 0 ? 0u - static_cast<u32>(v) : static_cast<u32>(v);
  i32 r = fixed_detail::ReciprocalSeed(a);
  for (i32 step = 0; step < 2; ++step) {
    const i32 e = SubWrap(0x2000000, Wrap32((i64{a} * r) >> 8));
    r = Wrap32((i64{r} * e) >> 24);
  }
  return v < 0 ? NegWrap(r) : r;
}

// floor(n / d) and n - quotient x d (0 <= remainder < d) for d > 0; callers pass a positive d.
// Other divisors give the floor quotient of the same definition, and 0 gives (0, n).
constexpr void FloorDivMod(i32 n, i32 d, i32* quotient, i32* remainder) {
  if (d == 0) {
    *quotient = 0;
    *remainder = n;
    return;
  }
  // 32-bit division (every triangle edge takes two), except for the one quotient beyond the
  // i32 range, INT_MIN / -1.
  if (d == -1) {
    *quotient = NegWrap(n);
    *remainder = 0;
    return;
  }
  i32 q = n / d;
  i32 r = n % d;
  if (r != 0 && ((r < 0) != (d < 0))) {
    q -= 1;
    r += d;
  }
  *quotient = q;
  *remainder = r;
}

// Sine and cosine of a 16.16 angle in radians, by table, magnitude at most 65534. A negative angle
// is raised by whole (truncated) turns first, so FixedSin(-a) is not always -FixedSin(a).
i32 FixedSin(i32 angle);
i32 FixedCos(i32 angle);

// 1/sqrt(x) in 16.16 for x > 0; 0x7FFFFFFF for 0. A negative x gives a defined but meaningless
// value.
i32 FixedRecipSqrt(i32 x);

// sqrt(x) in 16.16 for x >= 0 by six Heron steps; above about 32767.0 it has not converged.
i32 FixedSqrt(i32 x);
