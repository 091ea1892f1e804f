// FixedReciprocal of two values at once, for the perspective rows, which need the reciprocal at
// both ends of each row. With SSE2 the two Newton iterations run side by side in the two 64-bit
// lanes of one register: from 4 up every operand of their products is non-negative (checked for
// all such values), so the unsigned 32 x 32-bit multiply gives exactly the bits of the signed
// products. Other values, and other machines, take FixedReciprocal itself.
#pragma once

#include "render/fixed_math.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

inline void FixedReciprocalPair(i32 v0, i32 v1, i32* r0, i32* r1) {
#ifdef __SSE2__
  if (v0 >= 4 && v1 >= 4) {
    auto pair = [](i32 low, i32 high) {
      return _mm_unpacklo_epi64(_mm_cvtsi32_si128(low), _mm_cvtsi32_si128(high));
    };
    const __m128i a = pair(v0, v1);
    __m128i r = pair(fixed_detail::ReciprocalSeed(static_cast<u32>(v0)),
                     fixed_detail::ReciprocalSeed(static_cast<u32>(v1)));
    const __m128i two = _mm_set1_epi32(0x20000);
    for (i32 step = 0; step < 2; ++step) {
      const __m128i e = _mm_sub_epi32(two, _mm_srli_epi64(_mm_mul_epu32(a, r), 16));
      r = _mm_srli_epi64(_mm_mul_epu32(r, e), 16);
    }
    *r0 = _mm_cvtsi128_si32(r);
    *r1 = _mm_cvtsi128_si32(_mm_unpackhi_epi64(r, r));
    return;
  }
#endif
  *r0 = FixedReciprocal(v0);
  *r1 = FixedReciprocal(v1);
}
