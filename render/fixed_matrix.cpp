// Matrix identity, product and the look-at view matrix in 16.16.
#include "render/fixed_matrix.h"

#include <algorithm>

#include "render/fixed_math.h"
#include "render/fixed_point.h"

namespace {

// Scales v to unit length with the table reciprocal square root of its squared length. The
// squared length >> 16 must be a positive i32: a vector of about 181.0 or longer would wrap it,
// so it is shifted down (all three components together) until it fits. Vectors short enough keep
// exactly their unshifted result.
void Normalise(i32 v[3]) {
  i32 shift = 0;
  auto squared = [&v](i32 s) {
    u64 sum = 0;
    for (i32 k = 0; k < 3; ++k) {
      const i64 c = v[k] >> s;
      sum += static_cast<u64>(c * c);
    }
    return sum >> 16;
  };
  while (squared(shift) > static_cast<u64>(INT32_MAX)) ++shift;
  const i32 r = FixedRecipSqrt(static_cast<i32>(squared(shift)));
  for (i32 k = 0; k < 3; ++k) v[k] = FixMul(v[k] >> shift, r);
}

// (a x b) >> 16 per component, each pair of products differenced in 64 bits.
void Cross(const i32 a[3], const i32 b[3], i32 out[3]) {
  for (i32 k = 0; k < 3; ++k) {
    const i32 i = (k + 1) % 3, j = (k + 2) % 3;
    out[k] = Wrap32(SubWrap64(i64{a[i]} * b[j], i64{a[j]} * b[i]) >> 16);
  }
}

}  // namespace

i32* IdentityMatrix(i32* m) {
  for (i32 i = 0; i < 16; ++i) m[i] = i % 5 == 0 ? kFixedOne : 0;
  return m;
}

void MultiplyMatrix(const i32* a, const i32* b, i32* out) {
  i32 product[16];
  for (i32 row = 0; row < 4; ++row) {
    for (i32 col = 0; col < 4; ++col) product[row * 4 + col] = FixDot4(a + row * 4, 1, b + col, 4);
  }
  std::copy(product, product + 16, out);
}

void LookAtFixed(i32* out, const i32 eye[3], const i32 target[3], const i32 up[3]) {
  i32 f[3], s[3], u[3];
  for (i32 k = 0; k < 3; ++k) f[k] = SubWrap(target[k], eye[k]);
  Normalise(f);
  Cross(f, up, s);
  Normalise(s);
  Cross(s, f, u);
  // clang-format off
  const i32 rotation[16] = {s[0], s[1], s[2], 0,
                            u[0], u[1], u[2], 0,
                            NegWrap(f[0]), NegWrap(f[1]), NegWrap(f[2]), 0,
                            0, 0, 0, kFixedOne};
  // clang-format on
  i32 translation[16];
  IdentityMatrix(translation);
  for (i32 k = 0; k < 3; ++k) translation[k * 4 + 3] = NegWrap(eye[k]);
  MultiplyMatrix(rotation, translation, out);
}
