// The triangle drawers: coverage and fill rule, clipping and the row filter, the perspective path
// and its span helpers.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <numeric>
#include <random>
#include <vector>

#include "render/raster/triangle_setup.h"
#include "tests/render/raster_target.h"

namespace {

constexpr u32 kFlat = 0, kColourDepth = 5;

// Pixel (x, y) in 28.4.
ClipVertex P(i32 x, i32 y, std::initializer_list<i32> varyings = {}, i32 z = 0) {
  return V(x * 16, y * 16, varyings, z);
}

// Rows of '#' (drawn) and '.' (the sentinel).
std::string Rows(RasterTarget& t) {
  std::string out = "\n";
  for (i32 y = 0; y < t.h; ++y) {
    for (i32 x = 0; x < t.w; ++x) out += t.At(x, y) == kColourSentinel ? '.' : '#';
    out += '\n';
  }
  return out;
}

TEST(Triangles, SamplesAtIntegerPointsWithTopLeftEdgesInside) {
  RasterTarget t(11, 11);
  t.Select(kFlat);
  t.Triangle(P(0, 0), P(0, 10), P(10, 10));
  t.Triangle(P(0, 10), P(0, 0), P(10, 10));  // the other winding draws nothing
  std::string expected = "\n";
  for (i32 y = 0; y < 11; ++y) expected += std::string(y < 10 ? y : 0, '#') + std::string(y < 10 ? 11 - y : 11, '.') + "\n";
  EXPECT_EQ(expected, Rows(t));  // 45 pixels: the diagonal and row 10 are outside
  // Doubled area 16 around the sample point of pixel (2, 2) draws it; 15 draws nothing.
  for (auto [b, c, drawn] : {std::tuple{V(31, 35), V(35, 31), true}, {V(31, 34), V(36, 31), false}}) {
    RasterTarget small(4, 4);
    small.Select(kFlat);
    small.Triangle(V(31, 31), b, c);
    EXPECT_EQ(drawn ? "\n....\n....\n..#.\n....\n" : "\n....\n....\n....\n....\n", Rows(small));
  }
  // A flat top at y = 80 (28.4) starts on row 5, at y = 83 on row 6.
  for (auto [top, row] : {std::pair{80, 5}, {83, 6}}) {
    RasterTarget flatTop(4, 10);
    flatTop.Select(kFlat);
    flatTop.Triangle(V(0, top), V(0, 160), V(64, top));
    EXPECT_TRUE(flatTop.At(0, row) != kColourSentinel && flatTop.At(0, row - 1) == kColourSentinel);
  }
}

// How many times each pixel is drawn by the triangles, each drawn into a target of its own.
std::vector<i32> Coverage(const std::vector<std::array<ClipVertex, 3>>& triangles) {
  std::vector<i32> count(32 * 24, 0);
  for (const auto& [a, b, c] : triangles) {
    RasterTarget t;
    t.Select(kFlat);
    t.Triangle(a, b, c);
    for (size_t i = 0; i < count.size(); ++i) count[i] += t.colour[i] != kColourSentinel;
  }
  return count;
}

TEST(Triangles, TrianglesSharingEdgesCoverEachPixelOnce) {
  // A 20 x 15 rectangle split along its diagonal: 300 pixels.
  auto count = Coverage({{P(2, 2), P(2, 17), P(22, 17)}, {P(2, 2), P(22, 17), P(22, 2)}});
  EXPECT_EQ(300, std::count(count.begin(), count.end(), 1));
  EXPECT_EQ(300, std::accumulate(count.begin(), count.end(), 0));
  // A mesh over the rectangle (1, 1)-(29, 21) with its inner points moved by up to 3 pixels.
  std::mt19937 random(15);
  std::uniform_int_distribution<i32> jitter(-48, 48);
  ClipVertex grid[5][5];
  for (i32 j = 0; j < 5; ++j) {
    for (i32 i = 0; i < 5; ++i) {
      grid[j][i] = V(16 + i * 7 * 16, 16 + j * 5 * 16);
      if (i % 4 != 0) grid[j][i].x += jitter(random);
      if (j % 4 != 0) grid[j][i].y += jitter(random) / 2;
    }
  }
  std::vector<std::array<ClipVertex, 3>> mesh;
  for (i32 j = 0; j < 4; ++j) {
    for (i32 i = 0; i < 4; ++i) {
      mesh.push_back({grid[j][i], grid[j + 1][i], grid[j + 1][i + 1]});
      mesh.push_back({grid[j][i], grid[j + 1][i + 1], grid[j][i + 1]});
    }
  }
  count = Coverage(mesh);
  for (i32 y = 0; y < 24; ++y) {
    for (i32 x = 0; x < 32; ++x) {
      EXPECT_EQ(x >= 1 && x < 29 && y >= 1 && y < 21 ? 1 : 0, count[y * 32 + x]) << x << "," << y;
    }
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
  for (i32 y = 0; y < 24; ++y) {
    for (i32 x = 0; x < 32; ++x) {
      const i32 i = y * 32 + x;
      const bool in = x >= 5 && x < 22 && y >= 3 && y < 17 && y % 2 == 0;
      EXPECT_EQ(in ? full.colour[i] : kColourSentinel, cut.colour[i]) << x << "," << y;
      EXPECT_EQ(in ? full.depth[i] : kDepthSentinel, cut.depth[i]) << x << "," << y;
    }
  }
  noDepth.Select(kColourDepth - 1);
  noDepth.Triangle(kBig[0], kBig[1], kBig[2]);
  EXPECT_EQ(noDepth.Hash(std::vector<i16>(32 * 24, kDepthSentinel)), noDepth.Hash(noDepth.depth));
}

TEST(Triangles, GradientsStepAValueThatGrowsByOneAPixel) {
  // Depth x + 2y (16.16) at the corners: every pixel stores x + 2y, or one less where the
  // rounding of the area's reciprocal leaves the value a few units short.
  RasterTarget t;
  t.Select(1);
  t.Triangle(P(0, 0, {}, 0), P(0, 30, {}, 60 * kOne), P(40, 0, {}, 40 * kOne));
  for (i32 y = 0; y < 24; ++y) {
    for (i32 x = 0; x < 32 && 3 * x + 4 * y < 120; ++x) {
      const i32 error = x + 2 * y - t.depth[y * 32 + x];
      EXPECT_TRUE(error == 0 || error == 1) << x << "," << y;
    }
  }
}

TEST(Perspective, EqualWMatchesTheAffinePathAndSmallTrianglesStayAffine) {
  RasterTarget affine, perspective, small;
  for (RasterTarget* t : {&affine, &perspective, &small}) t->Select(kColourDepth);
  affine.Triangle(kBig[0], kBig[1], kBig[2]);
  perspective.ctx->SetPerspectivePath(1, 0);
  perspective.Triangle(kBig[0], kBig[1], kBig[2]);
  small.ctx->SetPerspectivePath(1, 0x7FFFFFFF);  // above the area: affine
  small.Triangle(kBig[0], kBig[1], kBig[2]);
  EXPECT_EQ(affine.colour, small.colour);
  for (size_t i = 0; i < affine.colour.size(); ++i) {
    const i32 a = affine.colour[i], p = perspective.colour[i];
    for (i32 shift : {0, 5, 11}) EXPECT_NEAR((a >> shift) & 31, (p >> shift) & 31, 1) << i;
    EXPECT_NEAR(affine.depth[i], perspective.depth[i], 1) << i;
  }
}

// The grey of a light value in the light configuration.
u16 Grey(i32 l) { return static_cast<u16>(((l * 255 >> 11) << 11) + ((l * 255 >> 10) << 5) + (l * 255 >> 11)); }

TEST(Perspective, SpansStepInBlocksOfSixteenAndATail) {
  TriangleGradients g{};
  g.dx[2] = kOne;  // light x q grows by 1.0 a pixel
  for (auto [start, end, dq] : {std::tuple{0, 15, 0}, {0, 16, 0}, {-3, 17, 0}, {0, 17, -kOne / 64}}) {
    RasterTarget t(20, 1);
    t.Select(2);
    g.dx[0] = dq;
    TriangleEdge left{}, right{};
    left.x = start;
    left.values[0] = kOne;
    left.gradients = &g;
    right.x = end;
    const TriangleEdge leftBefore = left, rightBefore = right;
    t.ctx->rasterizer.DrawShadedSpan<2>(&left, &right, 0, 19);
    EXPECT_EQ(0, std::memcmp(&left, &leftBefore, sizeof left) | std::memcmp(&right, &rightBefore, sizeof right));
    for (i32 x = 0; x < 20; ++x) {
      // With q constant the light is linear; with w growing, pixel 15 is one step short of the
      // exact 21.3 that the tail's pixel 16 gets.
      // A tail's step is scaled by the reciprocal of its length, which rounds 1/15 low.
      const u16 expected = x >= std::min(end, 19) ? kColourSentinel
                           : dq == 0             ? Grey(x - start - (end == 15 && x > 0))
                           : x == 15             ? Grey(19)
                           : x == 16             ? Grey(21)
                                                 : t.At(x, 0);
      EXPECT_EQ(expected, t.At(x, 0)) << start << " " << end << " " << x;
    }
  }
}

}  // namespace
