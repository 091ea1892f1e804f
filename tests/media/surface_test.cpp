// Surfaces: building from pictures and files, grabbing the target, drawing plainly, blended and
// stretched with exact clipping, the background copy, rotation, transposition and copying.
#include "media/surface.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

#include "media/bmp_image.h"
#include "tests/media/media_test_util.h"
#include "tests/support/test_support.h"

namespace {

std::vector<u8> Flags(const Surface& s) {
  return std::vector<u8>(s.rowHasKey, s.rowHasKey + s.height);
}

TEST(SurfaceBuild, AlphaDecidesKeyAndRowFlagsAndRectanglesAreClamped) {
  OwnedRgbaImage picture;
  MakePicture(picture.image, 3, 2, 255, 128, 64, 255);
  Surface s;
  s.FromRgba(picture.image, 0x008000FF, nullptr);
  EXPECT_EQ(0, s.hasKey);
  EXPECT_EQ(0xFFFF, s.colourKey);  // no key pixel
  EXPECT_EQ(0xFC08, s.pixels[0]);
  SetPicturePixel(picture.image, 1, 1, 1, 2, 3, 4);
  SetPicturePixel(picture.image, 0, 0, LetterRed('A'), 0, 0, 5);  // alpha 5 is opaque
  s.FromRgba(picture.image, 0x008000FF, nullptr);
  EXPECT_EQ((Rows{"A??", "?.?"}), SurfaceRows(s));
  EXPECT_EQ(0xF810, s.colourKey);
  EXPECT_EQ((std::vector<u8>{0, 1}), Flags(s));

  struct Case {
    SourceRect rect;
    i32 w, h;
  };
  for (const Case& c :
       {Case{{1, 10, 1, 10}, 2, 1}, Case{{-2, 0, -5, 0}, 1, 1}, Case{{2, 1, 0, 0}, 0, 0},
        Case{{5, 8, 0, 0}, 0, 0}, Case{{0, 0, 3, 4}, 0, 0}}) {
    s.FromRgba(picture.image, 0x008000FF, &c.rect);
    EXPECT_EQ(c.w, s.width) << c.rect.left << ".." << c.rect.right;
    EXPECT_EQ(c.h, s.height) << c.rect.top << ".." << c.rect.bottom;
    EXPECT_EQ(s.hasKey ? 0xF810 : 0xFFFF, s.colourKey);
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
      {0, 0, 6, 4, 2, 0, 14, 2, 0x8000FF, {"CDEF........", "IJKL........"}, {1, 1}},
      {0, 0, 6, 4, -1, -1, 1, 1, 0x8000FF, {"..", ".A"}, {1, 1}},
      {0, 0, 6, 4, 10, 10, 13, 12, 0x8000FF, {"...", "..."}, {1, 1}},  // wholly outside
      {0, 0, 6, 4, 1, 1, 4, 3, LetterRed('I'), {"H.J", "NOP"}, {1, 0}},
      {1, 1, 4, 2, 0, 0, 2, 1, 0x8000FF, {"HI"}, {0}},
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
      {0, 0, 6, 3, 0, 0, 0, 0, 3, 2, {"ABC...", "DEF...", "......"}},
      {0, 0, 6, 3, -1, 0, 0, 0, 3, 2, {"BC....", "EF....", "......"}},
      {0, 0, 6, 3, -5, 0, 0, 0, 3, 2, {"......", "......", "......"}},
      {0, 0, 6, 3, 5, 2, 0, 0, 3, 2, {"......", "......", ".....A"}},
      {0, 0, 6, 3, 6, 0, 0, 0, 3, 2, {"......", "......", "......"}},
      {0, 0, 6, 3, 1, -1, 0, 0, 3, 2, {".DEF..", "......", "......"}},
      {1, 1, 3, 2, 0, 0, 0, 0, 3, 2, {"......", ".ABC..", ".DEF.."}},
      {1, 1, 3, 2, 1, 1, 0, 0, 3, 2, {"......", "......", "..AB.."}},
      {0, 0, 6, 3, 0, 0, 1, 0, 10, 10, {"BC....", "EF....", "......"}},
      {0, 0, 6, 3, 2, 0, -1, 0, 2, 2, {"...AB.", "...DE.", "......"}},  // window before the surface
      {0, 0, 6, 3, 0, 1, 0, -1, 3, 2, {"......", "......", "ABC..."}},
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

TEST(SurfaceDraw, KeyPixelsAreSkippedOnlyInFlaggedRowsPlainOrBlended) {
  Surface s;
  SurfaceFromRows(s, {"A.B", "CDE"});
  RenderTarget& rt = FreshTarget(3, 2);
  std::fill_n(rt.colourBuffer, 6, u16{0x0010});
  s.Draw(0, 0, 0, 0, 3, 2);
  EXPECT_EQ((Rows{"A.B", "CDE"}), TargetRows(0x0010));
  rt.SetBlend(-128);
  s.Draw(0, 0, 0, 0, 3, 2);
  EXPECT_EQ(BlendAlpha(LetterPixel('A'), LetterPixel('A'), 128), PixelAt(0, 0));
  EXPECT_EQ(0x0010, PixelAt(1, 0));
  s.rowHasKey[0] = 0;  // a row flagged clear draws its key-coloured pixels
  s.Draw(0, 0, 0, 0, 3, 2);
  EXPECT_EQ(BlendAlpha(0xF810, 0x0010, 128), PixelAt(1, 0));

  FreshTarget(3, 1).colourBuffer[1] = kDefaultColourKey;
  Surface whole;
  whole.GrabWhole();  // no hasKey: its key-coloured pixel is drawn
  EXPECT_EQ(0, whole.hasKey);
  GetRenderTarget().ClearColour();
  whole.Draw(0, 0, 0, 0, 3, 1);
  EXPECT_EQ(kDefaultColourKey, PixelAt(1, 0));
}

TEST(SurfaceDraw, StretchSamplesWithSixteenSixteenSteps) {
  struct Case {
    Rows source;
    i32 x0, y0, x1, y1;
    Rows target;
  };
  const Rows two = {"AB", "CD"};
  const Case cases[] = {
      {two, 0, 0, 4, 4, {"AABB..", "AABB..", "CCDD..", "CCDD.."}},
      {two, 4, 4, 0, 0, {"AABB..", "AABB..", "CCDD..", "CCDD.."}},
      {{"ABCD", "EFGH", "IJKL", "MNOP"}, 1, 1, 3, 3, {"......", ".AC...", ".IK...", "......"}},
      {two, 1, 1, 1, 4, {"......", "......", "......", "......"}},
      {two, -2, -2, 2, 2, {"DD....", "DD....", "......", "......"}},
      {two, 4, 2, 8, 6, {"......", "......", "....AA", "....AA"}},
      {{"A.", "CD"}, 0, 0, 4, 2, {"AA....", "CCDD..", "......", "......"}},
  };
  for (const Case& c : cases) {
    Surface s;
    SurfaceFromRows(s, c.source);
    FreshTarget(6, 4);
    s.DrawStretched(c.x0, c.y0, c.x1, c.y1);
    EXPECT_EQ(c.target, TargetRows()) << c.x0 << "," << c.y0 << " - " << c.x1 << "," << c.y1;
  }
  OwnedRgbaImage white;  // no key pixels, so its key reads 0xFFFF: white must still be drawn
  MakePicture(white.image, 1, 1, 255, 255, 255, 255);
  Surface w;
  w.FromRgba(white.image, 0x8000FF, nullptr);
  FreshTarget(2, 1).SetBlend(255);
  w.DrawStretched(0, 0, 2, 1);
  EXPECT_EQ(BlendAdd(0xFFFF, 0, 255), PixelAt(1, 0));
}

TEST(SurfaceDraw, BackgroundOfTheTargetSizeIgnoresViewportAndBlend) {
  Surface s;
  SurfaceFromRows(s, {"A.C", "DEF"});
  FreshTarget(3, 2).SetBlend(-50);
  SetViewport(1, 1, 1, 1);
  DrawBackground(s);
  EXPECT_EQ((Rows{"A?C", "DEF"}), TargetRows());  // key pixels copied too
  FreshTarget(4, 3);
  SetViewport(1, 1, 3, 2);
  DrawBackground(s);
  EXPECT_EQ((Rows{"....", ".A.C", ".DEF"}), TargetRows());
}

// Destination pixel (i, j) of a rotation by a quarter turn, or by none.
u16 Expected(const Surface& s, i32 side, i32 i, i32 j, bool quarter) {
  const i32 dx = i - side / 2, dy = j - side / 2;
  const i32 sx = (quarter ? -dy : dx) + s.width / 2, sy = (quarter ? dx : dy) + s.height / 2;
  return sx >= 0 && sx < s.width && sy >= 0 && sy < s.height ? s.pixels[sy * s.width + sx]
                                                             : s.colourKey;
}

TEST(SurfaceRotate, ExactAtZeroAndQuarterTurnsInAKeyColouredSquare) {
  OwnedRgbaImage picture;
  MakePicture(picture.image, 10, 6, 0, 0, 0, 255);
  for (i32 i = 0; i < 60; ++i)
    SetPicturePixel(picture.image, i % 10, i / 10, u8(i * 4), u8(i), 8, 255);
  Surface s, r;
  s.FromRgba(picture.image, 0x8000FF, nullptr);
  for (f32 angle : {0.0f, 90.0f, 360.0f, -270.0f, std::numeric_limits<f32>::quiet_NaN(),
                    std::numeric_limits<f32>::infinity()}) {
    s.Rotate(angle, r);
    ASSERT_EQ(14, r.width);  // 10 * 142 / 100
    const bool quarter = angle == 90.0f || angle == -270.0f;
    for (i32 j = 0; j < 14; ++j)
      for (i32 i = 0; i < 14; ++i)
        ASSERT_EQ(Expected(s, 14, i, j, quarter), r.pixels[j * 14 + i]) << angle;
    EXPECT_EQ(1, r.hasKey);
  }
  // At 0 degrees the picture sits centred: the key margins are 2 columns and 4 rows wide.
  s.Rotate(0.0f, r);
  EXPECT_EQ((std::vector<u8>{1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}), Flags(r));
  EXPECT_EQ(s.pixels[0], r.pixels[4 * 14 + 2]);
  s.Rotate(1e30f, r);  // simply finishes
  EXPECT_EQ(14, r.width);
}

TEST(SurfaceRotate, SizesAndDestinationReuse) {
  OwnedRgbaImage picture;
  MakePicture(picture.image, 100, 50, 9, 9, 9, 255);
  Surface s, big, empty;
  s.FromRgba(picture.image, 0x8000FF, nullptr);
  big.Grab(0, 0, 200, 200, 0);
  u16* buffer = big.pixels;
  s.Rotate(30.0f, big);
  EXPECT_EQ(142, big.height);
  EXPECT_EQ(buffer, big.pixels);  // large enough: reused
  empty.Rotate(10.0f, big);
  EXPECT_EQ(nullptr, big.pixels);
  s.Rotate(0.0f, s);  // into itself
  EXPECT_EQ(142, s.width);
}

TEST(SurfaceEdit, TransposeAssignCrossAndSave) {
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

  s.MakeCrossImage();
  ASSERT_EQ(14, s.width);
  EXPECT_EQ(0, s.hasKey);
  for (auto [x, y, pixel] : {std::tuple{0, 0, 0x001F},
                             {3, 3, 0x001F},
                             {4, 4, 0xFFFF},
                             {9, 4, 0xFFFF},
                             {4, 9, 0xFFFF},
                             {9, 9, 0xFFFF},
                             {5, 4, 0x001F},
                             {10, 10, 0x001F}})
    EXPECT_EQ(pixel, s.pixels[y * 14 + x]) << x << "," << y;
}

TEST(SurfaceEdit, LoadAppliesTheKeyAndFullyClippedGrabsAreSafe) {
  ScopedTempDir dir;
  const u8 rows[8] = {0xFF, 0, 0xFF, 0x10, 0x20, 0x30, 0, 0};  // magenta, then a colour
  ASSERT_EQ(1, SaveBmp24(dir.File("p.bmp").c_str(), 2, 1, rows));
  Surface s;
  s.Load(dir.File("p.bmp").c_str(), 0x00FF00FF, nullptr);
  EXPECT_EQ(1, s.hasKey);
  EXPECT_EQ(ColourToPixel(0x00FF00FF), s.pixels[0]);
  EXPECT_EQ(RgbToPixel(0x30, 0x20, 0x10), s.pixels[1]);
  s.Load(dir.File("absent.png").c_str(), 0, nullptr);
  EXPECT_EQ(nullptr, s.pixels);

  FreshTarget(4, 4);
  s.Grab(50, 50, 53, 52, 0x8000FF);
  ASSERT_NE(nullptr, s.pixels);
  Surface r;
  s.Rotate(45.0f, r);
  EXPECT_EQ(0, SurfacesCollideAt(s, 0, 0, r, 0, 0));
  EXPECT_EQ(1, s.SaveBmp(dir.File("clipped.bmp").c_str()));
  s.Draw(0, 0, 0, 0, 3, 2);
  EXPECT_EQ((Rows{"....", "....", "....", "...."}), TargetRows());
}

}  // namespace
