// Pixel collision between surfaces: solid rectangles, holes made by the key, touching edges,
// empty surfaces and frames of a sheet, including frames outside the sheet.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "media/surface.h"
#include "tests/media/media_test_util.h"

namespace {

using Picture = std::vector<std::string>;

struct AtCase {
  const char* name;
  Picture a;
  i32 ax, ay;
  Picture b;
  i32 bx, by;
  i32 hit;
};

TEST(SurfaceCollision, WholeSurfacesAtPositions) {
  const AtCase cases[] = {
      {"solid overlap", {"AA", "AA"}, 0, 0, {"BB", "BB"}, 1, 1, 1},
      {"solid touching edges", {"AA", "AA"}, 0, 0, {"BB", "BB"}, 2, 0, 1},
      {"solid apart", {"AA", "AA"}, 0, 0, {"BB", "BB"}, 3, 0, 0},
      {"touching, a has holes", {"A.", "AA"}, 0, 0, {"BB", "BB"}, 2, 0, 0},
      {"touching, b has holes", {"AA", "AA"}, 0, 0, {"B.", "BB"}, 2, 0, 0},
      {"b's hole over a", {"AA", "AA"}, 0, 0, {".B", ".."}, 1, 0, 0},
      {"b's solid pixel over a", {"AA", "AA"}, 0, 0, {".B", ".."}, 0, 0, 1},
      {"holes on both, no common solid", {"A.", ".."}, 0, 0, {".B", ".."}, 0, 0, 0},
      {"holes on both, solid pixels meet", {"A.", ".."}, 0, 0, {".B", ".."}, -1, 0, 1},
      {"a's hole over b's solid", {".A", "AA"}, 5, 5, {"B"}, 5, 5, 0},
      {"far apart with holes", {"A."}, -2000000000, 0, {".B"}, 2000000000, 0, 0},
  };
  for (const AtCase& c : cases) {
    Surface a, b;
    SurfaceFromText(a, c.a);
    SurfaceFromText(b, c.b);
    EXPECT_EQ(c.hit, SurfacesCollideAt(a, c.ax, c.ay, b, c.bx, c.by)) << c.name;
  }
}

TEST(SurfaceCollision, EmptySurfacesNeverCollide) {
  Surface empty, other, solid;
  SurfaceFromText(solid, {"AA"});
  EXPECT_EQ(0, SurfacesCollideAt(empty, 0, 0, other, 0, 0));
  EXPECT_EQ(0, SurfacesCollideAt(empty, 0, 0, solid, 0, 0));
  EXPECT_EQ(0, SurfacesCollideAt(solid, 0, 0, empty, 0, 0));
  EXPECT_EQ(0, SurfacesCollide(empty, 0, 0, other, 0, 0, -5, 5, -5, 5));
}

TEST(SurfaceCollision, ExplicitRectangleLimitsTheSearch) {
  Surface a, b;
  SurfaceFromText(a, {"A...", "...."});
  SurfaceFromText(b, {"B...", "...B"});
  EXPECT_EQ(1, SurfacesCollide(a, 0, 0, b, 0, 0, 0, 4, 0, 2));
  EXPECT_EQ(0, SurfacesCollide(a, 0, 0, b, 0, 0, 1, 4, 0, 2));
  EXPECT_EQ(0, SurfacesCollide(a, 0, 0, b, 0, 0, 0, 1, 1, 2));
}

// A 6 x 2 sheet of three 2 x 2 frames: frame 0 solid, frame 1 transparent, frame 2 one pixel.
const Picture kSheet = {"AA...C", "AA...."};

struct FrameCase {
  const char* name;
  i32 frameX, frameY;
  i32 ax, ay;
  i32 hit;
};

TEST(SurfaceCollision, FramesOfASheetIncludingOutOfRange) {
  const FrameCase cases[] = {
      {"frame 0 overlaps", 0, 0, 0, 0, 1},
      {"frame 1 is transparent", 2, 0, 0, 0, 0},
      {"frame 2's pixel lies right of b", 4, 0, 0, 0, 0},
      {"frame 2's pixel over b", 4, 0, -1, 0, 1},
      {"frame past the sheet", 10, 0, 0, 0, 0},
      {"frame below the sheet", 0, 2, 0, 0, 0},
      {"negative frame", -2, 0, 0, 0, 0},
      {"far negative frame", -2000000000, -2000000000, 0, 0, 0},
  };
  Surface sheet, target;
  SurfaceFromText(sheet, kSheet);
  SurfaceFromText(target, {"B.", "BB"});  // has a hole, so sheet pixels are really tested
  for (const FrameCase& c : cases) {
    EXPECT_EQ(c.hit, SurfacesCollideFrames(sheet, c.ax, c.ay, c.frameX, c.frameY, 2, 2, target, 0, 0,
                                           0, 0, 2, 2))
        << c.name;
    EXPECT_EQ(c.hit, SurfacesCollideFrames(target, 0, 0, 0, 0, 2, 2, sheet, c.ax, c.ay, c.frameX,
                                           c.frameY, 2, 2))
        << c.name << " (swapped)";
  }
}

TEST(SurfaceCollision, KeylessFramesAreSolidRectangles) {
  Surface a, b;
  SurfaceFromText(a, {"AA", "AA"});
  SurfaceFromText(b, {"BB", "BB"});
  EXPECT_EQ(1, SurfacesCollideFrames(a, 0, 0, 8, 8, 2, 2, b, 1, 1, 0, 0, 2, 2));
  EXPECT_EQ(0, SurfacesCollideFrames(a, 0, 0, 0, 0, 2, 2, b, 3, 0, 0, 0, 2, 2));
}

}  // namespace
