// The triangle drawers. After the shared set-up (triangle_setup.h) a triangle takes one of two
// roads: the affine path interpolates depth and varyings linearly in screen space and fills each
// row here; the perspective path, taken when the rasterizer's perspective switch is on and the
// doubled area reaches minPerspectiveArea, interpolates 1/w and the varyings times 1/w and hands
// each row to the configuration's span helper (span_drawer.cpp).
#include <cstring>

#include "render/raster/pixel_rules.h"
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
STAKKO_ALWAYS_INLINE void PerspectiveSlotValues(const ClipVertex* v, i32* out) {
  const i32 q = (Slots & 1u) != 0 ? FixedReciprocal(v->w) : 0;
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

// The pixels of an untextured row without depth test eight at a time (two lanes of four), from
// xStart while eight remain; the running values v end at the first pixel left, which is returned.
template <class S>
STAKKO_ALWAYS_INLINE i32 FillUntexturedLanes(u16* colour, i32 xStart, i32 xEnd, i32* v,
                                             const i32* dx) {
  using Pixels = u16 __attribute__((vector_size(4 * kLanes)));
  constexpr UnsignedLanes kIota = {0, 1, 2, 3};
  constexpr i32 kSlots = S::kVaryingBits << 1;
  UnsignedLanes lanes[kEdgeSlots], half[kEdgeSlots], whole[kEdgeSlots];
  ForEachSlot<kSlots>([&](auto s) {
    lanes[s] = static_cast<u32>(v[s]) + kIota * static_cast<u32>(dx[s]);
    half[s] = UnsignedLanes{} + static_cast<u32>(MulWrap(kLanes, dx[s]));
    whole[s] = half[s] + half[s];
  });
  for (; xEnd - xStart >= 2 * kLanes; xStart += 2 * kLanes) {
    Lanes low[kEdgeSlots], high[kEdgeSlots];
    ForEachSlot<kSlots>([&](auto s) {
      low[s] = (Lanes)lanes[s];
      high[s] = (Lanes)(lanes[s] + half[s]);
      lanes[s] += whole[s];
    });
    // The low 16 bits of each lane's pixel, in order.
    const Pixels pixels = __builtin_shufflevector(
        (Pixels)pixel_detail::Untextured<S, Lanes>(low + 1),
        (Pixels)pixel_detail::Untextured<S, Lanes>(high + 1), 0, 2, 4, 6, 8, 10, 12, 14);
    std::memcpy(colour + xStart, &pixels, sizeof pixels);
  }
  ForEachSlot<kSlots>([&](auto s) { v[s] = static_cast<i32>(lanes[s][0]); });
  return xStart;
}

// One row of the affine path: from the left edge's x (moved to the clip rectangle's left edge,
// the values stepped along) up to the right edge's x or the clip rectangle's right edge.
template <class S>
STAKKO_ALWAYS_INLINE void FillAffineRow(const PixelSource& src, const TriangleEdge& left,
                                        const TriangleEdge& right, i32 clipX0, i32 clipX1) {
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
  u16* colour = src.ColourRow(left.y);
  if constexpr (kSlots == 0) {
    std::fill(colour + xStart, colour + xEnd, u16{0xFFFF});
    return;
  } else if constexpr (!S::kTexture && !S::kDepth) {
    xStart = FillUntexturedLanes<S>(colour, xStart, xEnd, v, dx);
  }
  if constexpr (kSlots != 0) {
    // Pointers at the span's end and a negative offset counting up to it, and the rule's inputs
    // in locals, so that the loop keeps everything in registers.
    const PixelSource local = src;
    u16* colourEnd = colour + xEnd;
    i16* depthEnd = nullptr;
    if constexpr (S::kDepth) depthEnd = src.DepthRow(left.y) + xEnd;
    i32 step[kEdgeSlots] = {};
    ForEachSlot<kSlots>([&](auto s) { step[s] = dx[s]; });
    for (std::ptrdiff_t i = xStart - xEnd; i < 0; ++i) {
      ShadePixel<S>(local, colourEnd + i, S::kDepth ? depthEnd + i : nullptr, v[0], v + 1);
      ForEachSlot<kSlots>([&](auto s) { v[s] = AddWrap(v[s], step[s]); });
    }
  }
}

// Sets the triangle up for the slots, each vertex's slot values from slotValues, and walks its rows
// into drawRow.
template <u32 Slots, class SlotValues, class DrawRow>
STAKKO_ALWAYS_INLINE void SetUpAndWalk(const swr::RasterizerTemplateShaderBase& r,
                                       const ClipVertex* a, const ClipVertex* b,
                                       const ClipVertex* c, const TriangleShape& shape,
                                       SlotValues slotValues, DrawRow drawRow) {
  i32 slots[3][kEdgeSlots];
  slotValues(a, slots[0]);
  slotValues(b, slots[1]);
  slotValues(c, slots[2]);
  TriangleSetup<Slots> t;
  t.SetUp(a, b, c, shape, slots[0], slots[1], slots[2]);
  WalkRows(t, r, drawRow);
}

}  // namespace

namespace swr {

template <u32 Configuration>
[[gnu::flatten]] void RasterizerSubdivAffine::DrawShadedTriangle(const ClipVertex* a,
                                                                 const ClipVertex* b,
                                                                 const ClipVertex* c) {
  using S = Shader<Configuration>;
  TriangleShape shape;
  if (!shape.Test(a, b, c, *this)) return;
  PixelSource src;
  if (!src.Load<S>(*context)) return;
  if (perspective != 0 && shape.area >= minPerspectiveArea) {
    constexpr u32 kSlots = S::kPerspectiveSlots;
    SetUpAndWalk<kSlots>(
        *this, a, b, c, shape,
        [](const ClipVertex* v, i32* out) { PerspectiveSlotValues<kSlots>(v, out); },
        [&](const TriangleEdge& left, const TriangleEdge& right) {
          DrawShadedSpan<Configuration>(&left, &right, clipX0, clipX1);
        });
    return;
  }
  constexpr u32 kSlots = S::kAffineSlots;
  SetUpAndWalk<kSlots>(
      *this, a, b, c, shape,
      [](const ClipVertex* v, i32* out) { AffineSlotValues<kSlots>(v, out); },
      [&](const TriangleEdge& left, const TriangleEdge& right) {
        FillAffineRow<S>(src, left, right, clipX0, clipX1);
      });
}

#define STAKKO_SHADED_TRIANGLE(C)                              \
  template void RasterizerSubdivAffine::DrawShadedTriangle<C>( \
      const ClipVertex*, const ClipVertex*, const ClipVertex*);
STAKKO_FOR_EACH_CONFIGURATION(STAKKO_SHADED_TRIANGLE)
#undef STAKKO_SHADED_TRIANGLE

}  // namespace swr
