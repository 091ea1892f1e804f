// The renderer's number formats and the integer arithmetic everything below the float interface
// is written in.
//
// Formats (signed 32-bit two's complement): 16.16 for matrices, clip-space coordinates, depth,
// varyings and angles (1.0 = 0x10000); 28.4 for screen x and y (one pixel = 16); 8.24 for the
// clipper's interpolation parameter (1.0 = 0x1000000).
//
// The drawing and transform arithmetic is defined to wrap modulo 2^32 (and sums of 64-bit products
// modulo 2^64), and every pixel depends on those exact bit patterns. Signed overflow is undefined
// in C++, so the wrapping steps go through unsigned arithmetic here instead of relying on the
// compiler; right shifts of signed values are arithmetic (C++20).
#pragma once

#include "core/float_convert.h"
#include "core/types.h"

constexpr i32 kFixedOne = 0x10000;
constexpr i32 kFixedHalf = 0x8000;

// The low 32 bits of a 64-bit value.
constexpr i32 Wrap32(i64 v) { return static_cast<i32>(static_cast<u32>(static_cast<u64>(v))); }

constexpr i32 AddWrap(i32 a, i32 b) {
  return static_cast<i32>(static_cast<u32>(a) + static_cast<u32>(b));
}
constexpr i32 SubWrap(i32 a, i32 b) {
  return static_cast<i32>(static_cast<u32>(a) - static_cast<u32>(b));
}
constexpr i32 NegWrap(i32 a) { return SubWrap(0, a); }
// The low 32 bits of a 32 x 32-bit product.
constexpr i32 MulWrap(i32 a, i32 b) {
  return static_cast<i32>(static_cast<u32>(a) * static_cast<u32>(b));
}
// a << n (0 <= n < 32) keeping the low 32 bits.
constexpr i32 ShlWrap(i32 a, i32 n) { return static_cast<i32>(static_cast<u32>(a) << n); }

// Sums of 64-bit products wrap modulo 2^64 (four full-range products can exceed the i64 range).
constexpr i64 AddWrap64(i64 a, i64 b) {
  return static_cast<i64>(static_cast<u64>(a) + static_cast<u64>(b));
}
constexpr i64 SubWrap64(i64 a, i64 b) {
  return static_cast<i64>(static_cast<u64>(a) - static_cast<u64>(b));
}

// The fixed multiply: the signed 64-bit product shifted right by 16, low 32 bits kept, so it
// truncates towards minus infinity and wraps on overflow.
constexpr i32 FixMul(i32 a, i32 b) { return Wrap32((i64{a} * b) >> 16); }

// Dot product of two 4-vectors of 16.16 values: products summed in 64 bits, shifted once.
constexpr i32 FixDot4(const i32* a, i32 aStride, const i32* b, i32 bStride) {
  i64 sum = 0;
  for (i32 k = 0; k < 4; ++k) sum = AddWrap64(sum, i64{a[k * aStride]} * b[k * bStride]);
  return Wrap32(sum >> 16);
}

// A float at the renderer's interface as 16.16: f x 65536 in single precision, truncated toward
// zero. Values beyond the i32 range saturate and NaN gives 0, so no program value can reach an
// undefined conversion.
inline i32 FloatToFixed(f32 f) { return TruncToI32(static_cast<f64>(f * 65536.0f)); }
