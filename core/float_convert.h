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

// The same for unsigned targets: negatives and NaN give 0, large values saturate.
inline u32 TruncToU32(f64 v) {
  if (std::isnan(v) || v <= 0.0) return 0;
  if (v >= 4294967295.0) return UINT32_MAX;
  return static_cast<u32>(v);
}

// Wrapping narrowing for fields that the runtime stores in fewer bits than an i32.
inline u16 TruncToU16Wrap(f64 v) { return static_cast<u16>(static_cast<u32>(TruncToI32(v))); }
inline u8 TruncToU8Wrap(f64 v) { return static_cast<u8>(static_cast<u32>(TruncToI32(v))); }
