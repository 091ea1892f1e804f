// The line drawers: an exact digital differential analyser from the first endpoint (not drawn) to
// the second (drawn, with exactly its depth and varyings). The major axis advances a pixel a step;
// the minor coordinate, the depth and every varying advance by the floor quotient of their change
// over the major length, plus a carry from an error term that starts at 0, so each pixel's minor
// coordinate is the floor of its exact position. Pixels outside the clip rectangle or on filtered
// rows are skipped one by one while the stepping goes on.
#include <cstdlib>

#include "render/fixed_math.h"
#include "render/raster/pixel_rules.h"

namespace {

// A value stepped m times from its start to its end: quotient, remainder and error term.
struct LineStepper {
  i32 value = 0;
  i32 quotient = 0;
  i32 remainder = 0;
  i32 error = 0;

  void Start(i32 from, i32 to, i32 m) {
    value = from;
    FloorDivMod(SubWrap(to, from), m, &quotient, &remainder);
  }
  void Step(i32 m) {
    error += remainder;
    value = AddWrap(value, quotient);
    if (error >= m) {
      value = AddWrap(value, 1);
      error -= m;
    }
  }
};

}  // namespace

namespace swr {

template <u32 Configuration>
void RasterizerTemplateShaderBase::DrawShadedLine(const ClipVertex* a, const ClipVertex* b) {
  using S = Shader<Configuration>;
  const i32 x0 = a->x >> 4, y0 = a->y >> 4, x1 = b->x >> 4, y1 = b->y >> 4;
  // Whole pixels of 28.4 values differ by less than 2^28, so neither difference overflows.
  const i32 dx = x1 - x0, dy = y1 - y0;
  if (dx == 0 && dy == 0) return;
  PixelSource src;
  if (!src.Load<S>(*context)) return;
  const bool xMajor = std::abs(dx) > std::abs(dy);
  const i32 m = xMajor ? std::abs(dx) : std::abs(dy);
  i32 x = x0, y = y0;
  i32& major = xMajor ? x : y;
  const i32 majorStep = (xMajor ? dx : dy) > 0 ? 1 : -1;
  LineStepper minor;
  minor.Start(xMajor ? y0 : x0, xMajor ? y1 : x1, m);
  // Slot 0 the depth, slot k + 1 varying k, as on the triangles' affine path.
  LineStepper values[kEdgeSlots - 1];
  ForEachSlot<S::kAffineSlots>([&](auto s) {
    if constexpr (s == 0) {
      values[0].Start(a->z, b->z, m);
    } else {
      values[s].Start(a->varyings[s - 1], b->varyings[s - 1], m);
    }
  });
  for (i32 n = 0; n < m; ++n) {
    major += majorStep;
    minor.Step(m);
    (xMajor ? y : x) = minor.value;
    i32 current[kEdgeSlots - 1] = {};
    ForEachSlot<S::kAffineSlots>([&](auto s) {
      values[s].Step(m);
      current[s] = values[s].value;
    });
    if ((AddWrap(y, rowPhase) & rowMask) != 0) continue;
    if (x < clipX0 || x >= clipX1 || y < clipY0 || y >= clipY1) continue;
    i16* depth = nullptr;
    if constexpr (S::kDepth) depth = src.DepthRow(y) + x;
    ShadePixel<S>(src, src.ColourRow(y) + x, depth, current[0], current + 1);
  }
}

#define STAKKO_SHADED_LINE(C) \
  template void RasterizerTemplateShaderBase::DrawShadedLine<C>(const ClipVertex*, const ClipVertex*);
STAKKO_FOR_EACH_CONFIGURATION(STAKKO_SHADED_LINE)
#undef STAKKO_SHADED_LINE

}  // namespace swr
