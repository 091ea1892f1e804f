// The triangle drawers: coverage and fill rule, clipping and the row filter, the perspective path
// and its span helpers.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <tuple>

#include "render/raster/triangle_setup.h"
#include "tests/render/raster_target.h"

namespace {

constexpr u32 kFlat = 0, kColourDepth = 5;

// Pixel (x, y) in 28.4.
ClipVertex P(i32 x, i32 y) { return V(x * 16, y * 16); }

TEST(Triangles, SamplesAtIntegerPointsWithTopAndLeftEdgesInside) {
  RasterTarget t(11, 11);
  t.Select(kFlat);
  t.Triangle(P(0, 0), P(0, 10), P(10, 10));
  t.Triangle(P(0, 10), P(0, 0), P(10, 10));  // the other winding draws nothing
  std::string expected;
  for (i32 y = 0; y < 11; ++y)
    expected += "\n" + std::string(y % 10, 'f') + std::string(11 - y % 10, '.');
  EXPECT_EQ(expected, t.Picture());  // 45 pixels: the diagonal and row 10 are outside
  // Doubled area 16 around the sample point of pixel (2, 2) draws it; 15 draws nothing; a flat top
  // at y = 80 (28.4) starts on row 5, at y = 83 on row 6.
  // First pixel drawn (-1 for none) and the count.
  for (auto [a, b, c, drawn, count] : {std::tuple{V(31, 31), V(31, 35), V(35, 31), 2 * 4 + 2, 1},
                                       {V(31, 31), V(31, 34), V(36, 31), -1, 0},
                                       {V(0, 80), V(0, 112), V(64, 80), 5 * 4, 4 + 2},
                                       {V(0, 83), V(0, 112), V(64, 83), 6 * 4, 3}}) {
    RasterTarget small(4, 7);
    small.Select(kFlat);
    small.Triangle(a, b, c);
    const auto first = std::find(small.colour.begin(), small.colour.end(), 0xFFFF);
    EXPECT_EQ(drawn, first == small.colour.end() ? -1 : first - small.colour.begin());
    EXPECT_EQ(count, std::count(small.colour.begin(), small.colour.end(), 0xFFFF));
  }
}

TEST(Triangles, TwoTrianglesSharingADiagonalCoverTheirRectangleOnce) {
  // A 20 x 15 rectangle split along its diagonal, each half drawn into a target of its own.
  std::vector<i32> count(32 * 24, 0);
  for (const auto& [a, b, c] : {std::array{P(2, 2), P(2, 17), P(22, 17)},
                                std::array{P(2, 2), P(22, 17), P(22, 2)}}) {
    RasterTarget t;
    t.Select(kFlat);
    t.Triangle(a, b, c);
    for (size_t i = 0; i < count.size(); ++i) count[i] += t.colour[i] != kColourSentinel;
  }
  for (i32 i = 0; i < 32 * 24; ++i) {
    EXPECT_EQ(i % 32 >= 2 && i % 32 < 22 && i / 32 >= 2 && i / 32 < 17 ? 1 : 0, count[i]) << i;
  }
}

// A colour triangle with depth reaching past every edge of a 32 x 24 target.
const ClipVertex kBig[3] = {V(-160, -96, {0, kOne, kOne / 3}, 10 * kOne),
                            V(-64, 960, {kOne, 0, 0}, 200 * kOne),
                            V(1120, 160, {kOne / 2, kOne / 2, kOne}, -50 * kOne)};

TEST(Triangles, ClipAndRowFilterSkipPixelsWithoutChangingTheOthers) {
  RasterTarget full, cut, noDepth;
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
  noDepth.Select(kColourDepth - 1);
  noDepth.Triangle(kBig[0], kBig[1], kBig[2]);
  EXPECT_EQ(std::vector<i16>(32 * 24, kDepthSentinel), noDepth.depth);
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
    const TriangleEdge leftBefore = left, rightBefore = right;
    t.ctx->rasterizer.DrawShadedSpan<2>(&left, &right, 0, 19);
    EXPECT_EQ(0, std::memcmp(&left, &leftBefore, sizeof left) |
                     std::memcmp(&right, &rightBefore, sizeof right));
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
