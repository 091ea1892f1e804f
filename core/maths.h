// The maths commands: trigonometry in degrees, power, square root, remainders, absolute values
// and the rectangle overlap test. Float commands widen their f32 arguments, compute in f64 with
// the fixed conversion constants and narrow the result, so results are the same on every build.
// No command fails: division by zero answers 0, and the integer commands never trap.
#pragma once

#include "core/types.h"

// The f64 values nearest to pi/180 and 180/pi, fixed rather than computed.
constexpr f64 DegToRad = 0.017453292519943295;
constexpr f64 RadToDeg = 57.29577951308232;

f32 SinDeg(f32 angle);
f32 CosDeg(f32 angle);
f32 TanDeg(f32 angle);
f32 ASinDeg(f32 x);  // 90 at x >= 1, -90 at x <= -1
f32 ACosDeg(f32 x);  // 0 at x >= 1, 180 at x <= -1
f32 ATan2Deg(f32 y, f32 x);
f32 PowF(f32 base, f32 exponent);
f32 SqrtF(f32 x);

i32 IntMod(i32 a, i32 b);  // truncating remainder; 0 when b is 0
f32 FloatMod(f32 a, f32 b);  // fmod; +0 when b is 0 or -0
f32 AbsF(f32 x);             // sign flipped only when x < 0: -0 and NaN pass unchanged
i32 IntAbs(i32 x);           // wraps: the most negative i32 stays itself

// 1 when the rectangles (x, y, width, height; a negative size extends toward smaller
// coordinates) share at least one unit cell, else 0.
i32 BoxesOverlap(i32 x1, i32 y1, i32 w1, i32 h1, i32 x2, i32 y2, i32 w2, i32 h2);
