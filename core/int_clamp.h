// Bringing a 64-bit intermediate back into the i32 range. Sums and products of values that
// programs pass in are formed in 64 bits where they could overflow; the result is then held at
// the ends of the i32 range instead of wrapping, so it still lies as far out as the true value.
#pragma once

#include <algorithm>
#include <cstdint>

#include "core/types.h"

inline i32 ClampToI32(i64 v) { return static_cast<i32>(std::clamp<i64>(v, INT32_MIN, INT32_MAX)); }
