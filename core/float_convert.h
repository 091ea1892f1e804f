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
