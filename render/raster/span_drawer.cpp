// The perspective span helpers: one row of a triangle on its perspective path. The row is cut into
// blocks of 16 pixels; at both ends of a block each varying is divided back by the interpolated
// 1/w (two reciprocals a block) and stepped linearly between those exact values inside it. The
// depth stays linear in screen space. The remaining pixels form a tail, stepped the same way with
// the reciprocal of its length in place of a division.
#include "render/raster/pixel_rules.h"
#include "render/raster/triangle_setup.h"

namespace {

// The varyings of a block or tail of n pixels starting at the running slot values v: each
// varying's value at the first pixel and its step, given the step's scale (1/n in 16.16, or 0 for
// a full block, whose step is a truncating division by 16).
template <class S>
STAKKO_ALWAYS_INLINE void DivideByW(const i32* v, const i32* dx, i32 n, i32 reciprocalOfN,
                                    i32* first, i32* step) {
  const i32 w0 = FixedReciprocal(v[0]);
  const i32 w1 = FixedReciprocal(AddWrap(v[0], MulWrap(n, dx[0])));
  for (i32 k = 0; k < S::kVaryings; ++k) {
    const i32 a0 = Wrap32((i64{v[k + 2]} * w0) >> 16);
    const i32 a1 = Wrap32((i64{AddWrap(v[k + 2], MulWrap(n, dx[k + 2]))} * w1) >> 16);
    first[k] = a0;
    step[k] = reciprocalOfN == 0 ? SubWrap(a1, a0) / 16
                                 : Wrap32((i64{SubWrap(a1, a0)} * reciprocalOfN) >> 16);
  }
}

// n pixels from column x of the row, the varyings and depth stepped linearly.
template <class S>
STAKKO_ALWAYS_INLINE void FillLinear(const PixelSource& src, u16* colour, i16* depth, i32 x,
                                     i32 n, i32 z, i32 zStep, i32* varyings, const i32* step) {
  for (i32 i = 0; i < n; ++i, ++x) {
    ShadePixel<S>(src, colour + x, S::kDepth ? depth + x : nullptr, z, varyings);
    z = AddWrap(z, zStep);
    for (i32 k = 0; k < S::kVaryings; ++k) varyings[k] = AddWrap(varyings[k], step[k]);
  }
}

}  // namespace

namespace swr {

template <u32 Configuration>
void RasterizerSubdivAffine::DrawShadedSpan(const TriangleEdge* left, const TriangleEdge* right,
                                            i32 clipLeft, i32 clipRight) {
  using S = Shader<Configuration>;
  constexpr u32 kSlots = S::kPerspectiveSlots;
  PixelSource src;
  if (!src.Load<S>(*context)) return;
  const i32* dx = left->gradients->dx;
  i32 start = left->x;
  const i32 end = std::min(right->x, clipRight);
  i32 v[kEdgeSlots] = {};
  ForEachSlot<kSlots>([&](auto s) { v[s] = left->values[s]; });
  if (start < clipLeft) {
    const i32 hidden = SubWrap(clipLeft, start);
    ForEachSlot<kSlots>([&](auto s) { v[s] = AddWrap(v[s], MulWrap(hidden, dx[s])); });
    start = clipLeft;
  }
  if (start >= end) return;
  u16* colour = src.ColourRow(left->y);
  i16* depth = nullptr;
  if constexpr (S::kDepth) depth = src.DepthRow(left->y);
  i32 varyings[kMaxVaryings] = {}, step[kMaxVaryings] = {};
  for (; end - start >= 16; start += 16) {
    if constexpr (S::kVaryings > 0) DivideByW<S>(v, dx, 16, 0, varyings, step);
    FillLinear<S>(src, colour, depth, start, 16, v[1], dx[1], varyings, step);
    ForEachSlot<kSlots>([&](auto s) { v[s] = AddWrap(v[s], MulWrap(16, dx[s])); });
  }
  const i32 n = end - start;
  if (n <= 0) return;
  const i32 reciprocalOfN = FixedReciprocal(n << 16);
  if constexpr (S::kVaryings > 0) DivideByW<S>(v, dx, n, reciprocalOfN, varyings, step);
  const i32 zStep = S::kDepth ? Wrap32((i64{MulWrap(n, dx[1])} * reciprocalOfN) >> 16) : 0;
  FillLinear<S>(src, colour, depth, start, n, v[1], zStep, varyings, step);
}

#define STAKKO_SHADED_SPAN(C)                                                           \
  template void RasterizerSubdivAffine::DrawShadedSpan<C>(const TriangleEdge*, const TriangleEdge*, \
                                                          i32, i32);
STAKKO_FOR_EACH_CONFIGURATION(STAKKO_SHADED_SPAN)
#undef STAKKO_SHADED_SPAN

}  // namespace swr
