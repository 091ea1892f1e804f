// The maths commands (see maths.h).
#include "core/maths.h"

#include <algorithm>
#include <cmath>

namespace {

f64 Wide(f32 v) { return static_cast<f64>(v); }
f32 Narrow(f64 v) { return static_cast<f32>(v); }

// The cells one rectangle covers on one axis, both ends included. Computed in 64 bits: p + s
// leaves the i32 range for rectangles near its ends.
struct CellRange {
  i64 low;
  i64 high;
};

CellRange CoveredCells(i32 p, i32 s) {
  const i64 start = p;
  const i64 far = s > 0 ? start + s - 1 : s < 0 ? start + s + 1 : start;
  return {std::min(start, far), std::max(start, far)};
}

bool AxisOverlaps(i32 p1, i32 s1, i32 p2, i32 s2) {
  const CellRange a = CoveredCells(p1, s1);
  const CellRange b = CoveredCells(p2, s2);
  return std::max(a.low, b.low) <= std::min(a.high, b.high);
}

}  // namespace

f32 SinDeg(f32 angle) { return Narrow(std::sin(Wide(angle) * DegToRad)); }
f32 CosDeg(f32 angle) { return Narrow(std::cos(Wide(angle) * DegToRad)); }
f32 TanDeg(f32 angle) { return Narrow(std::tan(Wide(angle) * DegToRad)); }

f32 ASinDeg(f32 x) {
  if (x >= 1.0f) return 90.0f;
  if (x <= -1.0f) return -90.0f;
  return Narrow(std::asin(Wide(x)) * RadToDeg);
}

f32 ACosDeg(f32 x) {
  if (x >= 1.0f) return 0.0f;
  if (x <= -1.0f) return 180.0f;
  return Narrow(std::acos(Wide(x)) * RadToDeg);
}

f32 ATan2Deg(f32 y, f32 x) { return Narrow(std::atan2(Wide(y), Wide(x)) * RadToDeg); }

f32 PowF(f32 base, f32 exponent) { return Narrow(std::pow(Wide(base), Wide(exponent))); }

f32 SqrtF(f32 x) { return std::sqrt(x); }

i32 IntMod(i32 a, i32 b) {
  // Any remainder by -1 is 0; computing the most negative i32 % -1 traps on x86.
  if (b == 0 || b == -1) return 0;
  return a % b;
}

f32 FloatMod(f32 a, f32 b) {
  if (b == 0.0f) return 0.0f;
  return Narrow(std::fmod(Wide(a), Wide(b)));
}

f32 AbsF(f32 x) { return x < 0.0f ? -x : x; }

i32 IntAbs(i32 x) {
  if (x >= 0) return x;
  return static_cast<i32>(0u - static_cast<u32>(x));
}

i32 BoxesOverlap(i32 x1, i32 y1, i32 w1, i32 h1, i32 x2, i32 y2, i32 w2, i32 h2) {
  if (!AxisOverlaps(x1, w1, x2, w2)) return 0;
  return AxisOverlaps(y1, h1, y2, h2) ? 1 : 0;
}
