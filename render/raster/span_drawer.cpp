// The perspective span helpers: one row of a triangle on its perspective path, for callers that
// hand the rows over one by one (perspective_row.h holds the row's arithmetic; the triangle
// drawers use it directly).
#include "render/raster/perspective_row.h"

namespace swr {

template <u32 Configuration>
[[gnu::flatten]] void RasterizerSubdivAffine::DrawShadedSpan(const TriangleEdge* left,
                                                             const TriangleEdge* right,
                                                             i32 clipLeft, i32 clipRight) {
  using S = Shader<Configuration>;
  PixelSource src;
  if (!src.Load<S>(*context)) return;
  RunFiller<S> filler(src);
  if constexpr (S::kDepth) filler.SetDepthStep(left->gradients->dx[1]);
  DrawPerspectiveRow<S>(src, *left, *right, clipLeft, clipRight, filler);
}

#define STAKKO_SHADED_SPAN(C)                                                  \
  template void RasterizerSubdivAffine::DrawShadedSpan<C>(const TriangleEdge*, \
                                                          const TriangleEdge*, i32, i32);
STAKKO_FOR_EACH_CONFIGURATION(STAKKO_SHADED_SPAN)
#undef STAKKO_SHADED_SPAN

}  // namespace swr
