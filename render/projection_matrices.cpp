// The projection builders. Every quotient is a 64-bit division truncating towards zero of a
// widened, shifted numerator by a sign-extended 32-bit denominator, of which the low 32 bits are
// kept; sums and differences of the arguments are formed in 32 bits first.
#include "render/projection_matrices.h"

#include "render/fixed_math.h"
#include "render/fixed_matrix.h"

namespace {

// (num << 16) / den: the 16.16 quotient of two 16.16 values.
i32 Quotient16(i32 num, i32 den) { return Wrap32(i64{num} * 65536 / den); }
// (k << 32) / den for a bare integer k: k divided by a 16.16 value, as 16.16.
i32 Quotient32(i32 k, i32 den) { return Wrap32(i64{k} * (i64{1} << 32) / den); }

constexpr i32 kPiOver180 = 0x477;  // pi / 180 in 16.16, truncated

i32* Clear(i32* m) {
  for (i32 i = 0; i < 16; ++i) m[i] = 0;
  return m;
}

}  // namespace

i32* OrthoMatrix(i32* m, i32 left, i32 right, i32 bottom, i32 top, i32 zNear, i32 zFar) {
  const i32 width = SubWrap(right, left), height = SubWrap(top, bottom);
  const i32 depth = SubWrap(zFar, zNear);
  if (width == 0 || height == 0 || depth == 0) return IdentityMatrix(m);
  Clear(m);
  m[0] = Quotient32(2, width);
  m[3] = Quotient16(NegWrap(AddWrap(right, left)), width);
  m[5] = Quotient32(2, height);
  m[7] = Quotient16(NegWrap(AddWrap(top, bottom)), height);
  m[10] = Quotient32(-2, depth);
  m[11] = Quotient16(NegWrap(AddWrap(zFar, zNear)), depth);
  m[15] = kFixedOne;
  return m;
}

i32* FrustumMatrix(i32* m, i32 left, i32 right, i32 bottom, i32 top, i32 zNear, i32 zFar) {
  const i32 width = SubWrap(right, left), height = SubWrap(top, bottom);
  const i32 depth = SubWrap(zFar, zNear);
  if (width == 0 || height == 0 || depth == 0) return IdentityMatrix(m);
  Clear(m);
  const i32 twoNear = MulWrap(2, zNear);
  const i32 q = Wrap32((i64{MulWrap(2, zFar)} * zNear) >> 16);
  m[0] = Quotient16(twoNear, width);
  m[2] = Quotient16(AddWrap(right, left), width);
  m[5] = Quotient16(twoNear, height);
  m[6] = Quotient16(AddWrap(top, bottom), height);
  m[10] = Quotient16(NegWrap(AddWrap(zFar, zNear)), depth);
  m[11] = Quotient16(NegWrap(q), depth);
  m[14] = -kFixedOne;
  return m;
}

i32* PerspectiveMatrix(i32* m, i32 fovy, i32 aspect, i32 zNear, i32 zFar) {
  const i32 half = Quotient16(fovy, 0x20000);
  const i32 angle = FixMul(half, kPiOver180);
  const i32 s = FixedSin(angle);
  const i32 depth = SubWrap(zFar, zNear);
  if (depth == 0 || s == 0 || aspect == 0) return IdentityMatrix(m);
  const i32 cot = Quotient16(FixedCos(angle), s);
  const i32 q = Wrap32((i64{MulWrap(-2, zNear)} * zFar) >> 16);
  Clear(m);
  m[0] = Quotient16(cot, aspect);
  m[5] = cot;
  m[10] = Quotient16(NegWrap(AddWrap(zFar, zNear)), depth);
  m[11] = Quotient16(q, depth);
  m[14] = -kFixedOne;
  return m;
}
