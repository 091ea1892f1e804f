// The set-up and row walk every triangle drawer shares, on both of its paths: the records, the
// bounding-box and area tests, the exact sort by row, the screen gradients of the interpolated
// values, the three edges with their quotient-and-remainder steppers, and the walk down the rows
// that hands each drawn row to the path's row drawer.
//
// Coverage: pixel (x, y) is drawn when the point (16x, 16y) in 28.4, the pixel's integer
// coordinate, lies inside the triangle; points on the top and left edges count as inside, those on
// the bottom and right edges as outside, so triangles sharing an edge cover each pixel once.
//
// All set-up and stepping arithmetic is 32-bit and wraps; only the gradient products are 64-bit.
// Edge stepping is exact for coordinates anywhere inside any real render target, and merely
// meaningless (never unsafe: rows and spans are cut to the clip rectangle) beyond.
#pragma once

#include <algorithm>

#include "render/clip_vertex.h"
#include "render/fixed_math.h"
#include "render/raster/shader_traits.h"
#include "render/rasterizer.h"

// Change of each interpolant slot per pixel to the right and per pixel down, 16.16.
struct TriangleGradients {
  i32 dx[kEdgeSlots];
  i32 dy[kEdgeSlots];
};

// One edge of a triangle, stepped a row at a time from its upper to its lower vertex.
struct TriangleEdge {
  i32 x;                   // the ceiling of the edge's exact column on row y: first pixel of a left
                           // edge's span, first pixel after a right edge's
  i32 xStep;               // floor of the column change per row
  i32 errorStep;           // the remainder that goes with xStep, 0 <= errorStep < denominator
  i32 denominator;         // 16 x the edge's height in 28.4 units
  i32 errorTerm;           // the accumulated remainder, 0 <= errorTerm < denominator
  i32 y;                   // the current row
  i32 height;              // rows left
  i32 values[kEdgeSlots];  // each used slot's value at pixel (x, y)
  i32 steps[kEdgeSlots];   // each used slot's change when x advances by xStep
  const TriangleGradients* gradients;
};

namespace triangle_detail {

// The triangle's vertices from the top row down, and whether the middle one lies left of the
// long (top to bottom) edge. Ties go exactly as written, so every triangle of positive area
// gets the right side.
struct RowOrder {
  const ClipVertex* top;
  const ClipVertex* middle;
  const ClipVertex* bottom;
  bool middleLeft;
};

inline RowOrder SortByRow(const ClipVertex* a, const ClipVertex* b, const ClipVertex* c) {
  if (a->y < b->y) {
    if (a->y < c->y) return b->y < c->y ? RowOrder{a, b, c, true} : RowOrder{a, c, b, false};
    return {c, a, b, true};
  }
  if (b->y < c->y) return c->y <= a->y ? RowOrder{b, c, a, true} : RowOrder{b, a, c, false};
  return {c, b, a, false};
}

// ((p1 x q1 - p2 x q2) x negInv) >> 28 on 64-bit products, the low 64 bits kept (as unsigned, so
// the specified wrap is defined), the low 32 bits returned.
inline i32 Gradient(i32 p1, i32 q1, i32 p2, i32 q2, i32 negInv) {
  const u64 cross = static_cast<u64>(i64{p1} * q1) - static_cast<u64>(i64{p2} * q2);
  return Wrap32(static_cast<i64>(cross * static_cast<u64>(i64{negInv})) >> 28);
}

}  // namespace triangle_detail

// The first tests of every triangle: the bounding box against the clip rectangle, then the doubled
// signed area A = dy31 x dx12 - dy12 x dx31 (28.4 units squared, 32-bit). False when the triangle
// draws nothing: outside the clip rectangle, of the other winding, degenerate or with A below 16.
struct TriangleShape {
  i32 dx12, dy12, dx31, dy31;
  i32 area;

  bool Test(const ClipVertex* a, const ClipVertex* b, const ClipVertex* c,
            const swr::RasterizerTemplateShaderBase& r) {
    const i32 minX = std::min({a->x, b->x, c->x}), maxX = std::max({a->x, b->x, c->x});
    const i32 minY = std::min({a->y, b->y, c->y}), maxY = std::max({a->y, b->y, c->y});
    if ((minX >> 4) >= r.clipX1 || (minY >> 4) >= r.clipY1 || (maxX >> 4) < r.clipX0 ||
        (maxY >> 4) < r.clipY0) {
      return false;
    }
    dx12 = SubWrap(a->x, b->x);
    dy12 = SubWrap(a->y, b->y);
    dx31 = SubWrap(c->x, a->x);
    dy31 = SubWrap(c->y, a->y);
    area = SubWrap(MulWrap(dy31, dx12), MulWrap(dy12, dx31));
    return area >= 16;
  }
};

// A triangle's set-up for the interpolant slots in Slots: their gradients, the sort, and the edges
// top to middle, top to bottom and middle to bottom.
template <u32 Slots>
struct TriangleSetup {
  TriangleGradients gradients;
  TriangleEdge edges[3];
  bool middleLeft;

  // Gradients from the slot values at a, b and c in the order passed (the sorted order would
  // round differently), and the edges, each starting from its upper vertex's values.
  void SetUp(const ClipVertex* a, const ClipVertex* b, const ClipVertex* c,
             const TriangleShape& shape, const i32* slotsA, const i32* slotsB, const i32* slotsC) {
    if constexpr (Slots != 0) {
      const i32 negInv = NegWrap(FixedReciprocal824(shape.area));
      ForEachSlot<Slots>([&](auto s) {
        const i32 d12 = SubWrap(slotsA[s], slotsB[s]), d31 = SubWrap(slotsC[s], slotsA[s]);
        gradients.dx[s] = triangle_detail::Gradient(shape.dy12, d31, shape.dy31, d12, negInv);
        gradients.dy[s] = triangle_detail::Gradient(shape.dx31, d12, shape.dx12, d31, negInv);
      });
    }
    const triangle_detail::RowOrder order = triangle_detail::SortByRow(a, b, c);
    middleLeft = order.middleLeft;
    auto slotsOf = [&](const ClipVertex* v) { return v == a ? slotsA : v == b ? slotsB : slotsC; };
    // The walk reads values only on the left: the short edges when the middle vertex is left,
    // else the long one. The right side's are left unset.
    const i32* top = slotsOf(order.top);
    SetUpEdge(edges[0], order.top, order.middle, middleLeft ? top : nullptr);
    SetUpEdge(edges[1], order.top, order.bottom, middleLeft ? nullptr : top);
    SetUpEdge(edges[2], order.middle, order.bottom, middleLeft ? slotsOf(order.middle) : nullptr);
  }

 private:
  // The edge from s down to e, with its values from s's slot values when startValues is given.
  STAKKO_ALWAYS_INLINE void SetUpEdge(TriangleEdge& edge, const ClipVertex* s, const ClipVertex* e,
                                      const i32* startValues) {
    const i32 firstRow = AddWrap(s->y, 15) >> 4;
    edge.y = firstRow;
    edge.height = SubWrap(AddWrap(e->y, 15) >> 4, firstRow);
    edge.gradients = &gradients;
    if (edge.height == 0) {
      // Never stepped: the rows of the other two edges add up to none. Defined all the same, for
      // coordinates so wild that their row counts wrap.
      edge.x = edge.xStep = edge.errorStep = edge.errorTerm = 0;
      edge.denominator = 1;
      ForEachSlot<Slots>([&](auto k) { edge.values[k] = edge.steps[k] = 0; });
      return;
    }
    const i32 ex = SubWrap(e->x, s->x), ey = SubWrap(e->y, s->y);
    const i32 den = MulWrap(16, ey);
    edge.denominator = den;
    const i32 py = SubWrap(MulWrap(16, firstRow), s->y);
    const i32 numerator = AddWrap(AddWrap(MulWrap(ex, py), MulWrap(s->x, ey)), SubWrap(den, 1));
    FloorDivMod(numerator, den, &edge.x, &edge.errorTerm);
    FloorDivMod(MulWrap(16, ex), den, &edge.xStep, &edge.errorStep);
    if (startValues == nullptr) return;
    const i32 px = SubWrap(MulWrap(16, edge.x), s->x);
    ForEachSlot<Slots>([&](auto k) {
      edge.values[k] = AddWrap(AddWrap(startValues[k], MulWrap(gradients.dx[k], px) >> 4),
                               MulWrap(gradients.dy[k], py) >> 4);
      edge.steps[k] = AddWrap(MulWrap(gradients.dx[k], edge.xStep), gradients.dy[k]);
    });
  }
};

// One row down: x by its step and a carry from the error term; with values, the slots in Slots
// by their steps plus one dx at each carry.
template <u32 Slots>
STAKKO_ALWAYS_INLINE void AdvanceEdge(TriangleEdge& e) {
  e.x = AddWrap(e.x, e.xStep);
  ForEachSlot<Slots>([&](auto s) { e.values[s] = AddWrap(e.values[s], e.steps[s]); });
  e.errorTerm = AddWrap(e.errorTerm, e.errorStep);
  if (e.errorTerm >= e.denominator) {
    e.x = AddWrap(e.x, 1);
    ForEachSlot<Slots>([&](auto s) { e.values[s] = AddWrap(e.values[s], e.gradients->dx[s]); });
    e.errorTerm = SubWrap(e.errorTerm, e.denominator);
  }
  e.y = AddWrap(e.y, 1);
  e.height = SubWrap(e.height, 1);
}

// k rows down at once, exactly as k single steps (every sum modulo 2^32). The closed form holds
// while the error term cannot wrap, which is so for any edge inside a real target; otherwise the
// rows are stepped one by one.
template <u32 Slots>
void AdvanceEdgeRows(TriangleEdge& e, i32 k) {
  const bool exact = e.denominator > 0 && e.denominator <= (1 << 30) && e.errorStep >= 0 &&
                     e.errorStep < e.denominator && e.errorTerm >= 0 && e.errorTerm < e.denominator;
  if (!exact) {
    for (i32 i = 0; i < k; ++i) AdvanceEdge<Slots>(e);
    return;
  }
  const i64 error = e.errorTerm + i64{k} * e.errorStep;
  const i32 carries = static_cast<i32>(error / e.denominator);  // at most k
  e.errorTerm = static_cast<i32>(error % e.denominator);
  e.x = AddWrap(AddWrap(e.x, MulWrap(k, e.xStep)), carries);
  ForEachSlot<Slots>([&](auto s) {
    e.values[s] =
        AddWrap(e.values[s], AddWrap(MulWrap(k, e.steps[s]), MulWrap(carries, e.gradients->dx[s])));
  });
  e.y = AddWrap(e.y, k);
  e.height = SubWrap(e.height, k);
}

// Walks the rows of both phases (top to middle, then middle to bottom, the long edge carrying on
// through both) and calls drawRow(left, right) for every row inside the clip rectangle's rows
// that the interlace filter lets through. The left edge is stepped with the values in Slots, the
// right edge without. Rows above the clip rectangle are jumped over, and the walk ends at its
// bottom: neither changes a pixel.
template <u32 Slots, class DrawRow>
STAKKO_ALWAYS_INLINE void WalkRows(TriangleSetup<Slots>& t,
                                   const swr::RasterizerTemplateShaderBase& r, DrawRow&& drawRow) {
  TriangleEdge* longEdge = &t.edges[1];
  for (TriangleEdge* shortEdge : {&t.edges[0], &t.edges[2]}) {
    TriangleEdge& left = t.middleLeft ? *shortEdge : *longEdge;
    TriangleEdge& right = t.middleLeft ? *longEdge : *shortEdge;
    i32 rows = shortEdge->height;
    if (rows <= 0) continue;
    if (left.y < r.clipY0) {
      const i32 skip = static_cast<i32>(std::min<i64>(i64{r.clipY0} - left.y, rows));
      AdvanceEdgeRows<Slots>(left, skip);
      AdvanceEdgeRows<0>(right, skip);
      rows -= skip;
    }
    for (; rows > 0; --rows) {
      const i32 y = left.y;
      if (y >= r.clipY1) return;
      if ((AddWrap(y, r.rowPhase) & r.rowMask) == 0) drawRow(left, right);
      AdvanceEdge<Slots>(left);
      AdvanceEdge<0>(right);
    }
  }
}
