// Pixel collision: solid rectangles, holes made by the key, touching edges, empty surfaces and
// frames of a sheet, including frames outside it.
#include <gtest/gtest.h>

#include "media/surface.h"
#include "tests/media/media_test_util.h"

namespace {

TEST(SurfaceCollision, WholeSurfacesAtPositions) {
  struct Case {
    Rows a;
    i32 ax, ay;
    Rows b;
    i32 bx, by;
    i32 hit;
  };
  const Case cases[] = {
      {{"AA", "AA"}, 0, 0, {"BB", "BB"}, 1, 1, 1},
      {{"AA", "AA"}, 0, 0, {"BB", "BB"}, 2, 0, 1},  // key-less rectangles that only touch
      {{"AA", "AA"}, 0, 0, {"BB", "BB"}, 3, 0, 0},
      {{"A.", "AA"}, 0, 0, {"BB", "BB"}, 2, 0, 0},  // touching, a has holes
      {{"AA", "AA"}, 0, 0, {"B.", "BB"}, 2, 0, 0},  // touching, b has holes
      {{"AA", "AA"}, 0, 0, {".B", ".."}, 1, 0, 0},  // b's hole over a
      {{"AA", "AA"}, 0, 0, {".B", ".."}, 0, 0, 1},
      {{"A.", ".."}, 0, 0, {".B", ".."}, 0, 0, 0},
      {{"A.", ".."}, 0, 0, {".B", ".."}, -1, 0, 1},
      {{".A", "AA"}, 5, 5, {"B"}, 5, 5, 0},
      {{"A."}, -2000000000, 0, {".B"}, 2000000000, 0, 0},
  };
  for (const Case& c : cases) {
    Surface a, b;
    SurfaceFromRows(a, c.a);
    SurfaceFromRows(b, c.b);
    EXPECT_EQ(c.hit, SurfacesCollideAt(a, c.ax, c.ay, b, c.bx, c.by))
        << c.a[0] << " " << c.b[0] << " " << c.bx;
  }
  Surface a, b, empty, other;
  SurfaceFromRows(a, {"A...", "...."});
  SurfaceFromRows(b, {"B...", "...B"});
  EXPECT_EQ(1, SurfacesCollide(a, 0, 0, b, 0, 0, 0, 4, 0, 2));
  EXPECT_EQ(0, SurfacesCollide(a, 0, 0, b, 0, 0, 1, 4, 0, 2));
  EXPECT_EQ(0, SurfacesCollideAt(empty, 0, 0, other, 0, 0));  // empty surfaces never collide
  EXPECT_EQ(0, SurfacesCollideAt(a, 0, 0, empty, 0, 0));
}

TEST(SurfaceCollision, FramesOfASheetIncludingOutOfRange) {
  struct Case {
    i32 frameX, frameY, ax, hit;
  };
  const Case cases[] = {
      {0, 0, 0, 1},  {2, 0, 0, 0}, {4, 0, 0, 0},  {4, 0, -1, 1},  // solid, empty, one pixel
      {10, 0, 0, 0}, {0, 2, 0, 0}, {-2, 0, 0, 0}, {-2000000000, -2000000000, 0, 0},
  };
  Surface sheet, target;
  SurfaceFromRows(sheet, {"AA...C", "AA...."});  // three 2 x 2 frames
  SurfaceFromRows(target, {"B.", "BB"});
  for (const Case& c : cases) {
    EXPECT_EQ(c.hit, SurfacesCollideFrames(sheet, c.ax, 0, c.frameX, c.frameY, 2, 2, target, 0, 0,
                                           0, 0, 2, 2))
        << c.frameX << "," << c.frameY;
    EXPECT_EQ(c.hit, SurfacesCollideFrames(target, 0, 0, 0, 0, 2, 2, sheet, c.ax, 0, c.frameX,
                                           c.frameY, 2, 2))
        << c.frameX << "," << c.frameY << " swapped";
  }
  Surface a, b;  // key-less surfaces are solid rectangles at their frames
  SurfaceFromRows(a, {"AA", "AA"});
  SurfaceFromRows(b, {"BB", "BB"});
  EXPECT_EQ(1, SurfacesCollideFrames(a, 0, 0, 8, 8, 2, 2, b, 1, 1, 0, 0, 2, 2));
}

}  // namespace
