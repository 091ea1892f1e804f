// The triangle drawers. After the shared set-up (triangle_setup.h) a triangle takes one of two
// roads: the affine path interpolates depth and varyings linearly in screen space and fills each
// row here; the perspective path, taken when the rasterizer's perspective switch is on and the
// doubled area reaches minPerspectiveArea, interpolates 1/w and the varyings times 1/w and draws
// each row exactly as the configuration's span helper does (perspective_row.h, which the helpers of
// span_drawer.cpp wrap), inline rather than through a call that gathers the context every row.
// Either way the rows are filled as runs (pixel_run.h).
#include "render/raster/perspective_row.h"
#include "render/raster/pixel_run.h"
#include "render/raster/triangle_setup.h"

namespace {

// A vertex's interpolant slots on the affine path: slot 0 its depth, slot k + 1 varying k.
template <u32 Slots>
STAKKO_ALWAYS_INLINE void AffineSlotValues(const ClipVertex* v, i32* out) {
  ForEachSlot<Slots>([&](auto s) {
    if constexpr (s == 0) {
      out[0] = v->z;
    } else {
      out[s] = v->varyings[s - 1];
    }
  });
}

// On the perspective path: slot 0 q = 1/w, slot 1 the depth, slot k + 2 varying k times q.
template <u32 Slots>
STAKKO_ALWAYS_INLINE void PerspectiveSlotValues(const ClipVertex* v, i32 q, i32* out) {
  ForEachSlot<Slots>([&](auto s) {
    if constexpr (s == 0) {
      out[0] = q;
    } else if constexpr (s == 1) {
      out[1] = v->z;
    } else {
      out[s] = Wrap32((i64{v->varyings[s - 2]} * q) >> 16);
    }
  });
}

// One row of the affine path: from the left edge's x (moved to the clip rectangle's left edge,
// the values stepped along) up to the right edge's x or the clip rectangle's right edge.
template <class S>
STAKKO_ALWAYS_INLINE void FillAffineRow(const PixelSource& src, const TriangleEdge& left,
                                        const TriangleEdge& right, i32 clipX0, i32 clipX1,
                                        RunFiller<S>& filler) {
  constexpr u32 kSlots = S::kAffineSlots;
  const i32* dx = left.gradients->dx;
  i32 xStart = left.x;
  const i32 xEnd = std::min(right.x, clipX1);
  i32 v[kEdgeSlots] = {};
  ForEachSlot<kSlots>([&](auto s) { v[s] = left.values[s]; });
  if (xStart < clipX0) {
    const i32 hidden = SubWrap(clipX0, xStart);
    ForEachSlot<kSlots>([&](auto s) { v[s] = AddWrap(v[s], MulWrap(hidden, dx[s])); });
    xStart = clipX0;
  }
  if (xStart >= xEnd) return;
  u16* colour = src.ColourRow(left.y) + xStart;
  if constexpr (kSlots == 0) {
    std::fill(colour, colour + (xEnd - xStart), u16{0xFFFF});
  } else {
    i16* depth = S::kDepth ? src.DepthRow(left.y) + xStart : nullptr;
    filler.Fill(colour, depth, xEnd - xStart, v[0], v + 1);
  }
}

// Sets the triangle up for the slots, each vertex's slot values from slotValues.
template <u32 Slots, class SlotValues>
STAKKO_ALWAYS_INLINE void SetUp(TriangleSetup<Slots>& t, const ClipVertex* a, const ClipVertex* b,
                                const ClipVertex* c, const TriangleShape& shape,
                                SlotValues slotValues) {
  i32 slots[3][kEdgeSlots];
  slotValues(a, slots[0]);
  slotValues(b, slots[1]);
  slotValues(c, slots[2]);
  t.SetUp(a, b, c, shape, slots[0], slots[1], slots[2]);
}

// The two paths are functions of their own: each is one large loop nest, and the register
// allocator serves each better alone than both in one function.
template <class S>
[[gnu::noinline, gnu::flatten]] void DrawPerspectiveTriangle(
    const swr::RasterizerSubdivAffine& r, const PixelSource& src, const ClipVertex* a,
    const ClipVertex* b, const ClipVertex* c, const TriangleShape& shape) {
  constexpr u32 kSlots = S::kPerspectiveSlots;
  i32 qa = 0, qb = 0, qc = 0;
  if constexpr ((kSlots & 1u) != 0) {
    FixedReciprocalPair(a->w, b->w, &qa, &qb);
    qc = FixedReciprocal(c->w);
  }
  TriangleSetup<kSlots> t;
  SetUp(t, a, b, c, shape, [&](const ClipVertex* v, i32* out) {
    PerspectiveSlotValues<kSlots>(v, v == a ? qa : v == b ? qb : qc, out);
  });
  RunFiller<S> filler(src);
  if constexpr (S::kDepth) filler.SetDepthStep(t.gradients.dx[1]);
  WalkRows(t, r, [&](const TriangleEdge& left, const TriangleEdge& right) {
    DrawPerspectiveRow<S>(src, left, right, r.clipX0, r.clipX1, filler);
  });
}

template <class S>
[[gnu::noinline, gnu::flatten]] void DrawAffineTriangle(const swr::RasterizerSubdivAffine& r,
                                                        const PixelSource& src, const ClipVertex* a,
                                                        const ClipVertex* b, const ClipVertex* c,
                                                        const TriangleShape& shape) {
  constexpr u32 kSlots = S::kAffineSlots;
  TriangleSetup<kSlots> t;
  SetUp(t, a, b, c, shape, [](const ClipVertex* v, i32* out) { AffineSlotValues<kSlots>(v, out); });
  RunFiller<S> filler(src);
  if constexpr (S::kDepth) filler.SetDepthStep(t.gradients.dx[0]);
  if constexpr (S::kVaryings > 0) filler.SetVaryingSteps(t.gradients.dx + 1);
  WalkRows(t, r, [&](const TriangleEdge& left, const TriangleEdge& right) {
    FillAffineRow<S>(src, left, right, r.clipX0, r.clipX1, filler);
  });
}

}  // namespace

namespace swr {

template <u32 Configuration>
void RasterizerSubdivAffine::DrawShadedTriangle(const ClipVertex* a, const ClipVertex* b,
                                                const ClipVertex* c) {
  using S = Shader<Configuration>;
  TriangleShape shape;
  if (!shape.Test(a, b, c, *this)) return;
  PixelSource src;
  if (!src.Load<S>(*context)) return;
  if (perspective != 0 && shape.area >= minPerspectiveArea) {
    DrawPerspectiveTriangle<S>(*this, src, a, b, c, shape);
  } else {
    DrawAffineTriangle<S>(*this, src, a, b, c, shape);
  }
}

#define STAKKO_SHADED_TRIANGLE(C)                              \
  template void RasterizerSubdivAffine::DrawShadedTriangle<C>( \
      const ClipVertex*, const ClipVertex*, const ClipVertex*);
STAKKO_FOR_EACH_CONFIGURATION(STAKKO_SHADED_TRIANGLE)
#undef STAKKO_SHADED_TRIANGLE

}  // namespace swr
