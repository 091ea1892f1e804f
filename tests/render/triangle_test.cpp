// The triangle drawers: coverage and fill rule, clipping and the row filter, the perspective path
// and its span helpers.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <tuple>

#include "render/raster/triangle_setup.h"
#include "tests/render/raster_target.h"

namespace {

constexpr u32 kFlat = 0, kColourDepth = 5;

// Pixel (x, y) in 28.4.
ClipVertex P(i32 x, i32 y) { return V(x * 16, y * 16); }

TEST(Triangles, SamplesAtIntegerPointsWithTopAndLeftEdgesInside) {
  // A 10 x 10 square split along its diagonal: each pixel is drawn by one half, the diagonal by
  // the grey half (light 128) whose left edge it is.
  RasterTarget t(11, 11);
  t.Select(2);
  t.Triangle(V(0, 0, {128 * kOne}), V(160, 160, {128 * kOne}), V(160, 0, {128 * kOne}));
  t.Select(kFlat);
  t.Triangle(P(0, 0), P(0, 10), P(10, 10));
  t.Triangle(P(0, 10), P(0, 0), P(10, 10));  // the other winding draws nothing
  std::string expected;
  for (i32 y = 0; y < 10; ++y) {
    expected += "\n" + std::string(y, 'f') + std::string(10 - y, '7') + ".";
  }
  EXPECT_EQ(expected + "\n" + std::string(11, '.'), t.Picture());
  // Doubled area 16 around the sample point of pixel (2, 2) draws it; 15 draws nothing; a flat top
  // at y = 80 (28.4) starts on row 5, at y = 83 on row 6; a left edge 1/272 of a pixel right of
  // pixel 1 on row 1 leaves that pixel out (its error term reaches the denominator exactly); a
  // triangle whose right-most vertex lies in column 0 draws that column, one whose lowest vertex
  // lies in row 0 that row.
  // First pixel drawn (-1 for none) and the count.
  for (auto [a, b, c, drawn, count] : {std::tuple{V(31, 31), V(31, 35), V(35, 31), 2 * 4 + 2, 1},
                                       {V(31, 31), V(31, 34), V(36, 31), -1, 0},
                                       {V(0, 80), V(0, 112), V(64, 80), 5 * 4, 4 + 2},
                                       {V(0, 83), V(0, 112), V(64, 83), 6 * 4, 3},
                                       {V(1, 0), V(17, 17), V(160, 17), 1 * 4 + 2, 2},
                                       {V(-64, 16), V(-64, 48), V(15, 32), 2 * 4, 1},
                                       {V(16, -64), V(-64, 8), V(96, 8), 0, 4}}) {
    RasterTarget small(4, 7);
    small.Select(kFlat);
    small.Triangle(a, b, c);
    const auto first = std::find(small.colour.begin(), small.colour.end(), 0xFFFF);
    EXPECT_EQ(drawn, first == small.colour.end() ? -1 : first - small.colour.begin());
    EXPECT_EQ(count, std::count(small.colour.begin(), small.colour.end(), 0xFFFF));
  }
}

// A colour triangle with depth reaching past every edge of a 32 x 24 target.
const ClipVertex kBig[3] = {V(-160, -96, {0, kOne, kOne / 3}, 10 * kOne),
                            V(-64, 960, {kOne, 0, 0}, 200 * kOne),
                            V(1120, 160, {kOne / 2, kOne / 2, kOne}, -50 * kOne)};

TEST(Triangles, ClipAndRowFilterSkipPixelsWithoutChangingTheOthers) {
  RasterTarget full, cut;
  full.Select(kColourDepth);
  full.Triangle(kBig[0], kBig[1], kBig[2]);
  cut.Select(kColourDepth);
  cut.ctx->SetViewport(5, 3, 17, 14);
  cut.ctx->SetRowFilter(0, 1);  // even rows
  cut.Triangle(kBig[0], kBig[1], kBig[2]);
  for (i32 i = 0; i < 32 * 24; ++i) {
    const i32 x = i % 32, y = i / 32;
    const bool in = x >= 5 && x < 22 && y >= 3 && y < 17 && y % 2 == 0;
    EXPECT_EQ(in ? full.colour[i] : kColourSentinel, cut.colour[i]) << x << "," << y;
    EXPECT_EQ(in ? full.depth[i] : kDepthSentinel, cut.depth[i]) << x << "," << y;
  }
}

TEST(Triangles, FarVerticesAndExtremeValuesWrapWithoutLeavingTheClipRectangle) {
  // Vertices 16 million pixels out, whose edge set-up and area wrap (the area left is 60); and a
  // sliver 1/16 of a pixel wide whose colours differ by 2^31, whose gradient products wrap. Each
  // keeps to the clip rectangle and covers what the same triangle in plain colours covers.
  constexpr i32 kFar = (1 << 28) + 5, kHalf = 1 << 30;
  for (auto [a, b, c] :
       {std::tuple{V(-kFar, -kFar + 2, {kOne, 0, 0}), V(-kFar, kFar - 2, {0, kOne, 0}),
                   V(kFar, 7, {0, 0, kOne})},
        {V(80, 48, {kHalf, kHalf, 0}), V(80, 368, {-kHalf, -kHalf, kOne}),
         V(81, 208, {-kHalf, kHalf, 0})}}) {
    RasterTarget t, plain;
    for (RasterTarget* target : {&t, &plain}) {
      target->Select(4);  // colour
      target->ctx->SetViewport(4, 3, 20, 14);
    }
    t.Triangle(a, b, c);
    for (ClipVertex* v : {&a, &b, &c}) std::fill_n(v->varyings, 3, kOne);
    plain.Triangle(a, b, c);
    for (i32 i = 0; i < 32 * 24; ++i) {
      const i32 x = i % 32, y = i / 32;
      const bool in = x >= 4 && x < 24 && y >= 3 && y < 17;
      EXPECT_TRUE(in || t.colour[i] == kColourSentinel) << x << "," << y << t.Picture();
      EXPECT_EQ(plain.colour[i] == kColourSentinel, t.colour[i] == kColourSentinel)
          << x << "," << y;
    }
  }
}

// The grey of a light value in the light configuration.
u16 Grey(i32 l) {
  return static_cast<u16>(((l * 255 >> 11) << 11) + ((l * 255 >> 10) << 5) + (l * 255 >> 11));
}

TEST(Perspective, SpansStepInBlocksOfSixteenAndATail) {
  TriangleGradients g{};
  g.dx[2] = kOne;  // light x q grows by 1.0 a pixel
  for (auto [start, end, dq] :
       {std::tuple{0, 15, 0}, {0, 16, 0}, {-3, 17, 0}, {0, 17, -kOne / 64}}) {
    RasterTarget t(20, 1);
    t.Select(2);
    g.dx[0] = dq;
    TriangleEdge left{}, right{};
    left.x = start, left.values[0] = kOne, left.gradients = &g;
    right.x = end;
    t.ctx->rasterizer.DrawShadedSpan<2>(&left, &right, 0, 19);
    for (i32 x = 0; x < 20; ++x) {
      // With q constant the light is linear (the 15-pixel tail's reciprocal rounds low); with w
      // growing, pixel 15 is one step short of the exact 21.3 that the tail's pixel 16 gets.
      const u16 expected = x >= std::min(end, 19) ? kColourSentinel
                           : dq == 0              ? Grey(x - start - (end == 15 && x > 0))
                           : x == 15              ? Grey(19)
                           : x == 16              ? Grey(21)
                                                  : t.At(x, 0);
      EXPECT_EQ(expected, t.At(x, 0)) << start << " " << end << " " << x;
    }
  }
}

}  // namespace
