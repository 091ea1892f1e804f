// Colours of the asset generator: 8-bit R, G, B values with the few mixing helpers the drawings
// need. Everything the generator paints is built from these, so every picture shares one palette
// logic (light from the top left, dark towards the bottom right).
#pragma once

#include <algorithm>

#include "core/float_convert.h"
#include "core/types.h"

struct Rgb {
  u8 r = 0;
  u8 g = 0;
  u8 b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline u8 ClampChannel(f32 v) { return static_cast<u8>(std::clamp(TruncToI32(v + 0.5f), 0, 255)); }

// a * (1 - t) + b * t, channel by channel; t outside 0..1 is clamped.
inline Rgb Mix(Rgb a, Rgb b, f32 t) {
  t = std::clamp(t, 0.0f, 1.0f);
  return {ClampChannel(a.r + (b.r - a.r) * t), ClampChannel(a.g + (b.g - a.g) * t),
          ClampChannel(a.b + (b.b - a.b) * t)};
}

// Towards white (amount > 0) or towards black (amount < 0), amount in -1..1.
inline Rgb Shade(Rgb c, f32 amount) {
  return amount >= 0.0f ? Mix(c, Rgb{255, 255, 255}, amount) : Mix(c, Rgb{0, 0, 0}, -amount);
}

// The game loads every picture with black as its transparent colour, and the 16-bit screen
// (5 bits red, 6 green, 5 blue) turns any colour below 8 / 4 / 8 into that black. An opaque
// pixel therefore has to keep at least one channel above those limits.
inline bool SurvivesAsOpaque(Rgb c) { return c.r >= 8 || c.g >= 4 || c.b >= 8; }

// The nearest colour that stays opaque: a too-dark colour keeps its hue but gets enough blue
// (or the channel it already leans to) to clear the limit.
inline Rgb KeepOpaque(Rgb c) {
  if (SurvivesAsOpaque(c)) return c;
  if (c.r >= c.b && c.r > c.g * 2) return {8, c.g, c.b};
  if (c.g * 2 > c.b) return {c.r, 4, c.b};
  return {c.r, c.g, 8};
}
