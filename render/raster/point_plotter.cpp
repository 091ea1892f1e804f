// The point plotters: one pixel at the floor of the vertex's 28.4 position, inside the clip
// rectangle and on a row the interlace filter lets through, shaded with the vertex's own depth and
// varyings.
#include "render/raster/pixel_rules.h"

namespace swr {

template <u32 Configuration>
void RasterizerTemplateShaderBase::PlotPoint(const ClipVertex* a) {
  using S = Shader<Configuration>;
  const i32 x = a->x >> 4, y = a->y >> 4;
  if (x < clipX0 || x >= clipX1 || y < clipY0 || y >= clipY1) return;
  if ((AddWrap(y, rowPhase) & rowMask) != 0) return;
  PixelSource src;
  if (!src.Load<S>(*context)) return;
  i16* depth = nullptr;
  if constexpr (S::kDepth) depth = src.DepthRow(y) + x;
  ShadePixel<S>(src, src.ColourRow(y) + x, depth, a->z, a->varyings);
}

#define STAKKO_PLOT_POINT(C) \
  template void RasterizerTemplateShaderBase::PlotPoint<C>(const ClipVertex*);
STAKKO_FOR_EACH_CONFIGURATION(STAKKO_PLOT_POINT)
#undef STAKKO_PLOT_POINT

}  // namespace swr
