// One row of a triangle on its perspective path, shared by the span helpers (span_drawer.cpp)
// and the triangle drawers, which draw their rows with it directly. The row is cut into blocks of
// 16 pixels; at both ends of a block each varying is divided back by the interpolated 1/w and
// stepped linearly between those exact values inside it. The depth stays linear in screen space.
// The remaining pixels form a tail, stepped the same way with the reciprocal of its length in
// place of a division.
//
// A block's end is the next block's start: the same q and the same varying value times q, so the
// reciprocal and the divided values found there serve both, and a row of k blocks and a tail takes
// k + 2 reciprocals instead of 2k + 2.
#pragma once

#include <algorithm>
#include <array>

#include "render/fixed_math.h"
#include "render/raster/pixel_run.h"
#include "render/raster/reciprocal_pair.h"
#include "render/raster/triangle_setup.h"

namespace perspective_detail {

constexpr i32 kBlock = 16;

// 1/n in 16.16 for the tail lengths 1 to 15, the reciprocal the tail takes, looked up.
constexpr auto kTailReciprocals = [] {
  std::array<i32, kBlock> table{};
  for (i32 n = 1; n < kBlock; ++n) table[n] = FixedReciprocal(n << 16);
  return table;
}();

// The varyings divided by w at a point whose slot values are v (q in slot 0, varying k times q in
// slot k + 2), given w = 1/q there: bits 16 to 47 of each product.
template <class S>
STAKKO_ALWAYS_INLINE void DivideByW(const i32* v, i32 w, i32* divided) {
  ForEachSlot<S::kVaryingBits>([&](auto k) { divided[k] = Wrap32((i64{v[k + 2]} * w) >> 16); });
}

}  // namespace perspective_detail

// The row between the left edge's x and the right edge's x, cut to [clipLeft, clipRight), filled
// by the filler of the primitive, whose depth step is the triangle's dx of slot 1 (a tail sets
// its own and puts that back); the varyings' steps are set here.
template <class S>
STAKKO_ALWAYS_INLINE void DrawPerspectiveRow(const PixelSource& src, const TriangleEdge& left,
                                             const TriangleEdge& right, i32 clipLeft, i32 clipRight,
                                             RunFiller<S>& filler) {
  using namespace perspective_detail;
  constexpr u32 kSlots = S::kPerspectiveSlots;
  const i32* dx = left.gradients->dx;
  i32 start = left.x;
  const i32 end = std::min(right.x, clipRight);
  i32 v[kEdgeSlots] = {};
  ForEachSlot<kSlots>([&](auto s) { v[s] = left.values[s]; });
  if (start < clipLeft) {
    const i32 hidden = SubWrap(clipLeft, start);
    ForEachSlot<kSlots>([&](auto s) { v[s] = AddWrap(v[s], MulWrap(hidden, dx[s])); });
    start = clipLeft;
  }
  if (start >= end) return;
  u16* colour = src.ColourRow(left.y) + start;
  i16* depth = S::kDepth ? src.DepthRow(left.y) + start : nullptr;
  const i32 total = end - start;
  // The varyings at the block's first pixel, at the first pixel after it, and their step; and at
  // the first pixel after the row, the end of its last block or of its tail. Both ends of the row
  // are divided together (a tail of one pixel never takes a step, and then the row's end is not
  // needed).
  constexpr i32 kSize = S::kVaryings > 0 ? S::kVaryings : 1;
  i32 first[kSize], last[kSize], step[kSize] = {}, rowEnd[kSize];
  if (total == 1) {  // one pixel, with the values at its start: no end, no step
    if constexpr (S::kVaryings > 0) DivideByW<S>(v, FixedReciprocal(v[0]), first);
    ShadePixel<S>(src, colour, depth, v[1], first);
    return;
  }
  if constexpr (S::kVaryings > 0) {
    i32 ends[kEdgeSlots];  // q and the varyings (not the depth) at the row's end
    ForEachSlot<kSlots & ~2u>([&](auto s) { ends[s] = AddWrap(v[s], MulWrap(total, dx[s])); });
    i32 w0, w1;
    FixedReciprocalPair(v[0], total % kBlock != 1 ? ends[0] : v[0], &w0, &w1);
    DivideByW<S>(v, w0, first);
    DivideByW<S>(ends, w1, rowEnd);
  }
  i32 n = total;
  for (; n >= kBlock; n -= kBlock, colour += kBlock) {
    const i32 z = v[1];
    ForEachSlot<kSlots>([&](auto s) { v[s] = AddWrap(v[s], MulWrap(kBlock, dx[s])); });
    if constexpr (S::kVaryings > 0) {
      if (n == kBlock) {
        ForEachSlot<S::kVaryingBits>([&](auto k) { last[k] = rowEnd[k]; });
      } else {
        DivideByW<S>(v, FixedReciprocal(v[0]), last);
      }
      // A division by 16 that rounds toward zero, as the block's step is defined.
      ForEachSlot<S::kVaryingBits>([&](auto k) { step[k] = SubWrap(last[k], first[k]) / kBlock; });
      filler.SetVaryingSteps(step);
    }
    filler.Fill(colour, depth, kBlock, z, first);
    if constexpr (S::kDepth) depth += kBlock;
    ForEachSlot<S::kVaryingBits>([&](auto k) { first[k] = last[k]; });
  }
  if (n == 0) return;
  const i32 reciprocalOfN = kTailReciprocals[n];
  if (S::kVaryings > 0 && n > 1) {
    ForEachSlot<S::kVaryingBits>([&](auto k) {
      step[k] = Wrap32((i64{SubWrap(rowEnd[k], first[k])} * reciprocalOfN) >> 16);
    });
  }
  const i32 zStep = S::kDepth ? Wrap32((i64{MulWrap(n, dx[1])} * reciprocalOfN) >> 16) : 0;
  if (n < kGroup) {  // pixel by pixel, with the steps at hand
    FillPixels<S>(src, colour, depth, n, v[1], zStep, first, step);
    return;
  }
  if constexpr (S::kVaryings > 0) filler.SetVaryingSteps(step);
  if constexpr (S::kDepth) filler.SetDepthStep(zStep);
  filler.Fill(colour, depth, n, v[1], first);
  if constexpr (S::kDepth) filler.SetDepthStep(dx[1]);  // for the next row's blocks
}
