// Float-to-integer conversion for every place where the runtime "truncates toward zero".
// A plain cast of NaN or an out-of-range float is undefined behaviour in C++, and programs pass
// arbitrary floats to the commands, so every such conversion goes through these helpers.
#pragma once

#include <cmath>

#include "core/types.h"

// Truncates toward zero; values beyond the i32 range saturate; NaN gives 0.
inline i32 TruncToI32(f64 v) {
  if (std::isnan(v)) return 0;
  if (v >= 2147483647.0) return INT32_MAX;
  if (v <= -2147483648.0) return INT32_MIN;
  return static_cast<i32>(v);
}

// Truncates toward zero through 64 bits and keeps the low 32 bits (wrapping modulo 2^32), as the
// handheld's and the desktop's conversions do for colours: -1 gives 0xFFFFFFFF, 4294967296 gives
// 0. NaN and values beyond the 64-bit range give 0.
inline u32 TruncWrapToU32(f64 v) {
  if (!(v > -9223372036854775808.0 && v < 9223372036854775808.0)) return 0;
  return static_cast<u32>(static_cast<u64>(static_cast<i64>(v)));
}
