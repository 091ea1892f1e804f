// Rotating a surface into a square that holds it at any angle, with integer 16.16 sine and
// cosine from a polynomial approximation (no trigonometric call per pixel or per call).
#include <algorithm>
#include <cmath>

#include "core/float_convert.h"
#include "media/surface.h"

namespace {

// The angle in [0, 360); NaN and infinities count as 0.
f32 NormaliseDegrees(f32 angle) {
  if (!std::isfinite(angle)) return 0.0f;
  f32 s = std::fmod(angle, 360.0f);
  if (s < 0.0f) s += 360.0f;
  return s < 360.0f ? s : 0.0f;
}

// sin(angle) in 16.16 from a parabola refined once.
i32 FastSine16(f32 angle) {
  f32 s = NormaliseDegrees(angle);
  if (s > 180.0f) s = 180.0f - s;
  f32 x = s / 57.296f;
  f32 y = 1.2732446f * x - 0.40528795f * x * std::fabs(x);
  y = y + 0.225f * (y * std::fabs(y) - y);
  return TruncToI32(y * 65536.0f);
}

}  // namespace

void Surface::Rotate(f32 angleDegrees, Surface& destination) const {
  if (&destination == this) {
    Surface rotated;
    Rotate(angleDegrees, rotated);
    destination.Assign(rotated);
    return;
  }
  const i32 side = pixels != nullptr ? std::max(width, height) * 142 / 100 : 0;
  if (destination.width < side || destination.height < side || side == 0) {
    destination.Clear();
    if (side != 0) destination.Allocate(side, side);
  }
  if (destination.pixels == nullptr) return;
  // A larger destination is reused as it is; only its leading side x side pixels are used.
  destination.width = destination.height = side;
  destination.colourKey = colourKey;
  destination.hasKey = 0;

  const f32 angle = NormaliseDegrees(angleDegrees);
  const i64 sine = FastSine16(angle), cosine = FastSine16(angle + 90.0f);
  const i64 half = side >> 1, halfW = width / 2, halfH = height / 2;
  u16* out = destination.pixels;
  for (i64 j = 0; j < side; ++j) {
    const i64 dy = j - half;
    u8 rowKey = 0;
    for (i64 i = 0; i < side; ++i, ++out) {
      const i64 dx = i - half;
      const i64 sx = ((dx * cosine) >> 16) - ((dy * sine) >> 16) + halfW;
      const i64 sy = ((dx * sine) >> 16) + ((dy * cosine) >> 16) + halfH;
      const bool inside = sx >= 0 && sx < width && sy >= 0 && sy < height;
      *out = inside ? pixels[sy * width + sx] : colourKey;
      rowKey |= *out == colourKey ? 1 : 0;
    }
    destination.rowHasKey[j] = rowKey;
    destination.hasKey |= rowKey;
  }
}
