// Surfaces: building from pictures, files and the target, drawing plainly, blended and stretched
// with exact clipping, the background copy, rotation, editing, and pixel collision.
#include "media/surface.h"

#include <gtest/gtest.h>

#include <limits>

#include "media/bmp_image.h"
#include "media/png_image.h"
#include "tests/media/media_test_util.h"
#include "tests/support/test_support.h"

namespace {

constexpr f32 kNaN = std::numeric_limits<f32>::quiet_NaN();

std::vector<u8> Flags(const Surface& s) { return {s.rowHasKey, s.rowHasKey + s.height}; }

TEST(SurfaceBuild, AlphaBelowFiveIsKeyAndRectanglesAreClamped) {
  OwnedRgbaImage picture;
  MakePicture(picture.image, 3, 2, 255, 128, 64, 255);
  Surface s;
  s.FromRgba(picture.image, 0x008000FF, nullptr);
  EXPECT_EQ(0xFC08, s.pixels[0]);
  EXPECT_EQ(0xFFFF, s.colourKey);  // no key pixel
  SetPicturePixel(picture.image, 1, 1, 1, 2, 3, 4);
  SetPicturePixel(picture.image, 0, 0, LetterRed('A'), 0, 0, 5);
  s.FromRgba(picture.image, 0x008000FF, nullptr);
  EXPECT_EQ((Rows{"A??", "?.?"}), SurfaceRows(s));
  EXPECT_EQ(0xF810, s.colourKey);
  EXPECT_EQ((std::vector<u8>{0, 1}), Flags(s));
  for (auto [rect, w, h] : {std::tuple{SourceRect{1, 10, 1, 10}, 2, 1}, {{-2, 0, -5, 0}, 1, 1},
                            {{2, 1, 0, 0}, 0, 0}, {{0, 0, 3, 4}, 0, 0}}) {
    s.FromRgba(picture.image, 0x008000FF, &rect);
    EXPECT_EQ(w, s.width) << rect.left << ".." << rect.right;
    EXPECT_EQ(h, s.height) << rect.top << ".." << rect.bottom;
  }
}

TEST(SurfaceBuild, GrabCopiesAndKeyFillsWhatLiesOutsideTheViewport) {
  struct Case {
    i32 vx, vy, vw, vh, x0, y0, x1, y1;
    u32 key;
    Rows rows;
    std::vector<u8> flags;
  };
  const Case cases[] = {
      {0, 0, 6, 4, 1, 1, 4, 3, 0x8000FF, {"HIJ", "NOP"}, {0, 0}},
      {0, 0, 6, 4, 4, 1, 1, 3, 0x8000FF, {"KL.", "QR."}, {1, 1}},  // from the first corner
      {0, 0, 6, 4, -1, -1, 1, 1, 0x8000FF, {"..", ".A"}, {1, 1}},
      {0, 0, 6, 4, 10, 10, 13, 12, 0x8000FF, {"...", "..."}, {1, 1}},  // wholly outside
      {0, 0, 6, 4, 1, 1, 4, 3, LetterRed('I'), {"H.J", "NOP"}, {1, 0}},
      {1, 1, 4, 2, 3, 1, 5, 3, 0x8000FF, {"Q.", ".."}, {1, 1}},
  };
  for (const Case& c : cases) {
    FreshTarget(6, 4);
    PaintTarget({"ABCDEF", "GHIJKL", "MNOPQR", "STUVWX"});
    SetViewport(c.vx, c.vy, c.vw, c.vh);
    Surface s;
    s.Grab(c.x0, c.y0, c.x1, c.y1, c.key);
    EXPECT_EQ(c.rows, SurfaceRows(s)) << c.x0 << "," << c.y0;
    EXPECT_EQ(c.flags, Flags(s)) << c.x0 << "," << c.y0;
    EXPECT_EQ(s.hasKey ? ColourToPixel(c.key) : 0xFFFF, s.colourKey);
  }
  Surface s;
  s.Grab(2, 2, 2, 3, 0);
  EXPECT_EQ(nullptr, s.pixels);
  testing::internal::CaptureStdout();
  s.Grab(0, 0, 100000, 100000, 0);
  EXPECT_EQ("Out of memory\n", testing::internal::GetCapturedStdout());
  EXPECT_EQ(nullptr, s.pixels);
}

TEST(SurfaceDraw, ClipsOnEverySideAndAgainstTheViewport) {
  struct Case {
    i32 vx, vy, vw, vh, x, y, left, top, right, bottom;
    Rows target;
  };
  const Case cases[] = {
      {0, 0, 6, 3, -1, 0, 0, 0, 3, 2, {"BC....", "EF....", "......"}},
      {0, 0, 6, 3, 5, 2, 0, 0, 3, 2, {"......", "......", ".....A"}},
      {0, 0, 6, 3, 1, -1, 0, 0, 3, 2, {".DEF..", "......", "......"}},
      {1, 1, 3, 2, 1, 1, 0, 0, 3, 2, {"......", "......", "..AB.."}},
      {0, 0, 6, 3, 0, 0, 1, 0, 10, 10, {"BC....", "EF....", "......"}},
      {0, 0, 6, 3, 2, 0, -1, 0, 2, 2, {"...AB.", "...DE.", "......"}},  // window before the surface
      {0, 0, 6, 3, -1, -1, -1, -1, 3, 2, {"ABC...", "DEF...", "......"}},
  };
  Surface s;
  SurfaceFromRows(s, {"ABC", "DEF"});
  for (const Case& c : cases) {
    FreshTarget(6, 3);
    SetViewport(c.vx, c.vy, c.vw, c.vh);
    s.Draw(c.x, c.y, c.left, c.top, c.right, c.bottom);
    EXPECT_EQ(c.target, TargetRows()) << c.x << "," << c.y << " from " << c.left << "," << c.top;
  }
}

TEST(SurfaceDraw, KeyPixelsAreSkippedPlainOrBlendedWhileTheSurfaceHasAKey) {
  Surface s;
  SurfaceFromRows(s, {"A.B", "CDE"});
  RenderTarget& rt = FreshTarget(3, 2);
  std::fill_n(rt.colourBuffer, 6, u16{0x0010});
  s.Draw(0, 0, 0, 0, 3, 2);
  EXPECT_EQ((Rows{"A.B", "CDE"}), TargetRows(0x0010));
  rt.SetBlend(-64);
  s.Draw(0, 0, 0, 0, 3, 1);
  EXPECT_EQ(BlendAlpha(LetterPixel('A'), LetterPixel('A'), 64), PixelAt(0, 0));
  EXPECT_EQ(0x0010, PixelAt(1, 0));
  s.rowHasKey[0] = 0;  // a row flagged clear draws its key-coloured pixels
  s.Draw(0, 0, 0, 0, 3, 1);
  EXPECT_EQ(BlendAlpha(0xF810, 0x0010, 64), PixelAt(1, 0));

  FreshTarget(3, 1).colourBuffer[1] = kDefaultColourKey;
  Surface whole;
  whole.GrabWhole();  // no key: its key-coloured pixel is drawn
  GetRenderTarget().ClearColour();
  whole.Draw(0, 0, 0, 0, 3, 1);
  EXPECT_EQ(kDefaultColourKey, PixelAt(1, 0));
}

TEST(SurfaceDraw, StretchSamplesWithSixteenSixteenSteps) {
  struct Case {
    Rows source;
    i32 vy, x0, y0, x1, y1;
    Rows target;
  };
  const Rows two = {"AB", "CD"};
  const Case cases[] = {
      {two, 0, 4, 4, 0, 0, {"AABB..", "AABB..", "CCDD..", "CCDD.."}},
      {{"ABCD", "EFGH", "IJKL", "MNOP"}, 0, 1, 1, 3, 3, {"......", ".AC...", ".IK...", "......"}},
      {two, 0, 1, 1, 1, 4, {"......", "......", "......", "......"}},
      {two, 0, -2, -2, 2, 2, {"DD....", "DD....", "......", "......"}},
      {two, 1, 4, 0, 8, 4, {"......", "....AA", "....AA", "....CC"}},
      {{"A.", "CD"}, 0, 0, 0, 4, 2, {"AA....", "CCDD..", "......", "......"}},
  };
  for (const Case& c : cases) {
    Surface s;
    SurfaceFromRows(s, c.source);
    FreshTarget(6, 4);
    SetViewport(0, c.vy, 6, 4 - c.vy);
    s.DrawStretched(c.x0, c.y0, c.x1, c.y1);
    EXPECT_EQ(c.target, TargetRows()) << c.x0 << "," << c.y0 << " - " << c.x1 << "," << c.y1;
  }
  OwnedRgbaImage white;  // no key pixels, so its key reads 0xFFFF: white must still be drawn
  MakePicture(white.image, 1, 1, 255, 255, 255, 255);
  Surface w;
  w.FromRgba(white.image, 0x8000FF, nullptr);
  FreshTarget(2, 1);
  w.DrawStretched(0, 0, 2, 1);
  EXPECT_EQ(0xFFFF, PixelAt(1, 0));
}

TEST(SurfaceDraw, BackgroundOfTheTargetSizeIgnoresViewportAndBlend) {
  Surface s;
  SurfaceFromRows(s, {"A.C", "DEF"});
  FreshTarget(3, 2).SetBlend(-50);
  SetViewport(1, 1, 1, 1);
  DrawBackground(s);
  EXPECT_EQ((Rows{"A?C", "DEF"}), TargetRows());  // key pixels copied too
  FreshTarget(3, 3);
  SetViewport(0, 1, 3, 2);
  DrawBackground(s);  // any other size: drawn at the viewport origin
  EXPECT_EQ((Rows{"...", "A.C", "DEF"}), TargetRows());
}

TEST(SurfaceRotate, TurnsAboutTheCentreInAKeyColouredSquare) {
  OwnedRgbaImage picture;
  MakePicture(picture.image, 10, 6, 0, 0, 0, 255);
  SetPicturePixel(picture.image, 0, 0, LetterRed('A'), 0, 0, 255);
  SetPicturePixel(picture.image, 9, 5, LetterRed('B'), 0, 0, 255);
  Surface s, r;
  s.FromRgba(picture.image, 0x8000FF, nullptr);
  // Where the corners land in the 14 x 14 square (10 * 142 / 100).
  struct Case {
    f32 angle;
    i32 ax, ay, bx, by;
  };
  for (const Case& c : {Case{0, 2, 4, 11, 9}, {360, 2, 4, 11, 9}, {kNaN, 2, 4, 11, 9},
                        {90, 4, 12, 9, 3}, {-270, 4, 12, 9, 3}, {180, 12, 10, 3, 5},
                        {270, 10, 2, 5, 11}}) {
    s.Rotate(c.angle, r);
    ASSERT_EQ(14, r.width);
    EXPECT_EQ('A', PixelLetter(r.pixels[c.ay * 14 + c.ax])) << c.angle;
    EXPECT_EQ('B', PixelLetter(r.pixels[c.by * 14 + c.bx])) << c.angle;
    EXPECT_EQ(r.colourKey, r.pixels[0]);
    EXPECT_EQ(1, r.hasKey);
  }
  s.Rotate(1e30f, r);  // simply finishes
  Surface big, empty;
  big.Grab(0, 0, 200, 200, 0);
  u16* buffer = big.pixels;
  s.Rotate(30.0f, big);
  EXPECT_EQ(14, big.height);
  EXPECT_EQ(buffer, big.pixels);  // large enough: reused
  empty.Rotate(10.0f, big);
  EXPECT_EQ(nullptr, big.pixels);
  s.Rotate(0.0f, s);  // into itself
  EXPECT_EQ(14, s.width);
  EXPECT_EQ('B', PixelLetter(s.pixels[9 * 14 + 11]));
}

TEST(SurfaceEdit, TransposeAssignCrossSaveAndLoad) {
  Surface s, t;
  SurfaceFromRows(s, {"A.B", "CDE"}, 0x00FF00FF);
  t.Assign(s);
  EXPECT_EQ(ColourToPixel(0x00FF00FF), t.colourKey);
  EXPECT_EQ(SurfaceRows(s), SurfaceRows(t));
  EXPECT_EQ(Flags(s), Flags(t));
  t.Transpose();
  EXPECT_EQ((Rows{"AC", ".D", "BE"}), SurfaceRows(t));
  EXPECT_EQ((std::vector<u8>{0, 1, 0}), Flags(t));

  ScopedTempDir dir;
  ASSERT_EQ(1, s.SaveBmp(dir.File("s.bmp").c_str()));
  OwnedRgbaImage back;
  ASSERT_EQ(1, LoadBmpImage(back.image, dir.File("s.bmp").c_str(), kNoColourKey));
  EXPECT_EQ((Rows{"080000ff f800f8ff 100000ff ", "180000ff 200000ff 280000ff "}),
            RgbaRows(back.image));
  EXPECT_EQ(0, Surface().SaveBmp(dir.File("e.bmp").c_str()));
  const u8 bgra[8] = {0xFF, 0, 0xFF, 0, 0x10, 0x20, 0x30, 0xFF};  // clear, then a colour
  ASSERT_EQ(1, SavePng(dir.File("p.png").c_str(), bgra, 2, 1));
  s.Load(dir.File("p.png").c_str(), 0, nullptr);
  EXPECT_EQ((Rows{".?"}), SurfaceRows(s));
  EXPECT_EQ(RgbToPixel(0x30, 0x20, 0x10), s.pixels[1]);
  s.Load(dir.File("absent.png").c_str(), 0, nullptr);
  EXPECT_EQ(nullptr, s.pixels);

  s.MakeCrossImage();
  ASSERT_EQ(14, s.width);
  for (auto [x, y, pixel] : {std::tuple{3, 3, 0x001F}, {4, 4, 0xFFFF}, {9, 4, 0xFFFF},
                             {4, 9, 0xFFFF}, {5, 4, 0x001F}, {10, 10, 0x001F}})
    EXPECT_EQ(pixel, s.pixels[y * 14 + x]) << x << "," << y;
}

TEST(SurfaceCollision, WholeSurfacesAtPositions) {
  struct Case {
    Rows a;
    i32 ax;
    Rows b;
    i32 bx, by, hit;
  };
  const Case cases[] = {
      {{"AA", "AA"}, 0, {"BB", "BB"}, 2, 0, 1},  // key-less rectangles that only touch
      {{"AA", "AA"}, 0, {"BB", "BB"}, 3, 0, 0},
      {{"A.", "AA"}, 0, {"BB", "BB"}, 2, 0, 0},  // touching, a has holes
      {{"AA", "AA"}, 0, {".B", ".."}, 1, 0, 0},  // b's hole over a
      {{"AA", "AA"}, 0, {".B", ".."}, 0, 0, 1},
      {{"A.", ".."}, 0, {".B", ".."}, 0, 0, 0},
      {{"A.", ".."}, 0, {".B", ".."}, -1, 0, 1},
      {{"A."}, -2000000000, {".B"}, 2000000000, 0, 0},
  };
  for (const Case& c : cases) {
    Surface a, b;
    SurfaceFromRows(a, c.a);
    SurfaceFromRows(b, c.b);
    EXPECT_EQ(c.hit, SurfacesCollideAt(a, c.ax, 0, b, c.bx, c.by))
        << c.a[0] << " " << c.b[0] << " " << c.bx;
  }
  Surface a, b, empty;
  SurfaceFromRows(a, {"AA"});
  SurfaceFromRows(b, {"B...", "...B"});
  EXPECT_EQ(0, SurfacesCollideAt(a, 0, 0, empty, 0, 0));  // empty surfaces never collide
  EXPECT_EQ(0, SurfacesCollideAt(empty, 0, 0, a, 0, 0));
  EXPECT_EQ(1, SurfacesCollide(b, 0, 0, b, 0, 0, 0, 4, 0, 2));  // only within the rectangle
  EXPECT_EQ(0, SurfacesCollide(b, 0, 0, b, 0, 0, 1, 3, 0, 2));
}

TEST(SurfaceCollision, FramesOfASheetIncludingOutOfRange) {
  struct Case {
    i32 frameX, frameY, ax, hit;
  };
  const Case cases[] = {
      {0, 0, 0, 1},  {2, 0, 0, 0},  {4, 0, 0, 0},  {4, 0, -1, 1},  // solid, empty, one pixel
      {10, 0, 0, 0}, {-2, 0, 0, 0}, {-2000000000, -2000000000, 0, 0},
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
}

}  // namespace
