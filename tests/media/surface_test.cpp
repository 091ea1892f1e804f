// Surfaces: building from pictures and files, grabbing the target, drawing plainly, blended and
// stretched with exact clipping, the background copy, rotation, transposition and saving.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "media/bmp_image.h"
#include "media/png_image.h"
#include "media/surface.h"
#include "tests/media/media_test_util.h"
#include "tests/support/test_support.h"

namespace {

using Picture = std::vector<std::string>;

Picture SurfaceRows(const Surface& s) {
  Picture rows;
  for (i32 y = 0; y < s.height; ++y) {
    std::string row;
    for (i32 x = 0; x < s.width; ++x) {
      u16 p = s.pixels[y * s.width + x];
      char c = '?';
      for (char l = 'A'; l <= 'Z'; ++l)
        if (p == CharPixel(l)) c = l;
      if (p == s.colourKey && s.hasKey) c = '.';
      row += c;
    }
    rows.push_back(row);
  }
  return rows;
}

std::vector<u8> Flags(const Surface& s) { return std::vector<u8>(s.rowHasKey, s.rowHasKey + s.height); }

// Paints the target with letters, one row of text per target row.
void PaintTarget(const Picture& rows) {
  RenderTarget& rt = GetRenderTarget();
  for (i32 y = 0; y < rt.height; ++y)
    for (i32 x = 0; x < rt.width; ++x) rt.colourBuffer[y * rt.width + x] = CharPixel(rows[y][x]);
}

TEST(SurfaceFromRgba, AlphaDecidesTheKeyAndRowFlags) {
  OwnedRgbaImage picture;
  MakePicture(picture.image, 3, 2, 255, 128, 64, 255);
  Surface s;
  s.FromRgba(picture.image, 0x008000FF, nullptr);
  EXPECT_EQ(3, s.width);
  EXPECT_EQ(0, s.hasKey);
  EXPECT_EQ(0xFFFF, s.colourKey);
  EXPECT_EQ((std::vector<u8>{0, 0}), Flags(s));
  EXPECT_EQ(0xFC08, s.pixels[0]);

  SetPicturePixel(picture.image, 1, 1, 1, 2, 3, 4);
  SetPicturePixel(picture.image, 2, 0, 0, 0, 0, 5);
  s.FromRgba(picture.image, 0x008000FF, nullptr);
  EXPECT_EQ(1, s.hasKey);
  EXPECT_EQ(0xF810, s.colourKey);
  EXPECT_EQ(0xF810, s.pixels[4]);
  EXPECT_EQ(0x0000, s.pixels[2]);  // alpha 5 is opaque
  EXPECT_EQ((std::vector<u8>{0, 1}), Flags(s));
}

TEST(SurfaceFromRgba, RectanglesAreClampedToThePicture) {
  struct Case { SourceRect rect; i32 w, h; u16 first; };
  OwnedRgbaImage picture;
  MakePicture(picture.image, 3, 2, 0, 0, 0, 255);
  SetPicturePixel(picture.image, 1, 1, LetterRed('B'), 0, 0, 255);
  SetPicturePixel(picture.image, 0, 0, LetterRed('A'), 0, 0, 255);
  const Case cases[] = {
      {{1, 10, 1, 10}, 2, 1, CharPixel('B')},
      {{-2, 0, -5, 0}, 1, 1, CharPixel('A')},
      {{0, 2, 0, 1}, 3, 2, CharPixel('A')},
      {{2, 1, 0, 0}, 0, 0, 0},   // left past right
      {{5, 8, 0, 0}, 0, 0, 0},   // wholly to the right
      {{0, 0, 3, 4}, 0, 0, 0},   // wholly below
  };
  for (const Case& c : cases) {
    Surface s;
    s.FromRgba(picture.image, 0x008000FF, &c.rect);
    EXPECT_EQ(c.w, s.width) << c.rect.left << "," << c.rect.right;
    EXPECT_EQ(c.h, s.height);
    if (c.w > 0) {
      EXPECT_EQ(c.first, s.pixels[0]);
    } else {
      EXPECT_EQ(nullptr, s.pixels);
      EXPECT_EQ(0xFFFF, s.colourKey);
    }
  }
  Surface none;
  none.FromRgba(static_cast<const RgbaImage*>(nullptr), 0, nullptr);
  EXPECT_EQ(nullptr, none.pixels);
}

const Picture kTargetLetters = {"ABCDEF", "GHIJKL", "MNOPQR", "STUVWX"};

TEST(SurfaceGrab, CopiesAndKeyFillsWhatLiesOutsideTheViewport) {
  struct Case {
    const char* name;
    i32 vx, vy, vw, vh;
    i32 x0, y0, x1, y1;
    u32 key;
    Picture rows;
    std::vector<u8> flags;
  };
  const u32 letterI = LetterRed('I');  // the colour whose pixel is 'I'
  const Case cases[] = {
      {"inside", 0, 0, 6, 4, 1, 1, 4, 3, 0x8000FF, {"HIJ", "NOP"}, {0, 0}},
      {"reversed corners start at the first", 0, 0, 6, 4, 4, 1, 1, 3, 0x8000FF, {"KL.", "QR."}, {1, 1}},
      {"10 past the right edge", 0, 0, 6, 4, 2, 0, 14, 2, 0x8000FF,
       {"CDEF........", "IJKL........"}, {1, 1}},
      {"above and left", 0, 0, 6, 4, -1, -1, 1, 1, 0x8000FF, {"..", ".A"}, {1, 1}},
      {"wholly outside", 0, 0, 6, 4, 10, 10, 13, 12, 0x8000FF, {"...", "..."}, {1, 1}},
      {"key colour inside", 0, 0, 6, 4, 1, 1, 4, 3, letterI, {"H.J", "NOP"}, {1, 0}},
      {"relative to the viewport", 1, 1, 4, 2, 0, 0, 2, 1, 0x8000FF, {"HI"}, {0}},
      {"clipped by the viewport", 1, 1, 4, 2, 3, 1, 5, 3, 0x8000FF, {"Q.", ".."}, {1, 1}},
  };
  for (const Case& c : cases) {
    FreshTarget(6, 4);
    PaintTarget(kTargetLetters);
    SetViewport(c.vx, c.vy, c.vw, c.vh);
    Surface s;
    s.Grab(c.x0, c.y0, c.x1, c.y1, c.key);
    EXPECT_EQ(c.rows, SurfaceRows(s)) << c.name;
    EXPECT_EQ(c.flags, Flags(s)) << c.name;
    bool anyFlag = false;
    for (u8 f : c.flags) anyFlag |= f != 0;
    EXPECT_EQ(anyFlag ? 1 : 0, s.hasKey) << c.name;
    EXPECT_EQ(anyFlag ? ColourToPixel(c.key) : 0xFFFF, s.colourKey) << c.name;
  }
}

TEST(SurfaceGrab, DegenerateAndHugeRectanglesGiveEmptySurfaces) {
  FreshTarget(6, 4);
  Surface s;
  s.Grab(2, 2, 2, 3, 0);
  EXPECT_EQ(0, s.width);
  EXPECT_EQ(nullptr, s.pixels);
  testing::internal::CaptureStdout();
  s.Grab(0, 0, 100000, 100000, 0);
  EXPECT_EQ("Out of memory\n", testing::internal::GetCapturedStdout());
  EXPECT_EQ(0, s.width);
  EXPECT_EQ(nullptr, s.pixels);
}

TEST(SurfaceGrab, WholeTargetKeepsKeyColouredPixelsDrawable) {
  FreshTarget(3, 1);
  GetRenderTarget().colourBuffer[1] = kDefaultColourKey;
  Surface s;
  s.GrabWhole();
  EXPECT_EQ(0, s.hasKey);
  EXPECT_EQ((std::vector<u8>{0}), Flags(s));
  GetRenderTarget().ClearColour();
  s.Draw(0, 0, 0, 0, 3, 1);
  EXPECT_EQ(kDefaultColourKey, PixelAt(1, 0));
}

struct DrawCase {
  const char* name;
  i32 vx, vy, vw, vh;
  i32 x, y, srcLeft, srcTop, srcRight, srcBottom;
  Picture target;
};

TEST(SurfaceDraw, ClipsOnEverySideAndAgainstTheViewport) {
  const DrawCase cases[] = {
      {"origin", 0, 0, 6, 4, 0, 0, 0, 0, 3, 2, {"ABC...", "DEF...", "......", "......"}},
      {"left", 0, 0, 6, 4, -1, 0, 0, 0, 3, 2, {"BC....", "EF....", "......", "......"}},
      {"x -5 skips five columns", 0, 0, 6, 4, -5, 0, 0, 0, 3, 2, {"......", "......", "......", "......"}},
      {"right and bottom", 0, 0, 6, 4, 5, 3, 0, 0, 3, 2, {"......", "......", "......", ".....A"}},
      {"past the right", 0, 0, 6, 4, 6, 0, 0, 0, 3, 2, {"......", "......", "......", "......"}},
      {"top", 0, 0, 6, 4, 1, -1, 0, 0, 3, 2, {".DEF..", "......", "......", "......"}},
      {"viewport origin", 1, 1, 3, 2, 0, 0, 0, 0, 3, 2, {"......", ".ABC..", ".DEF..", "......"}},
      {"viewport edges", 1, 1, 3, 2, 1, 1, 0, 0, 3, 2, {"......", "......", "..AB..", "......"}},
      {"source window", 0, 0, 6, 4, 0, 0, 1, 0, 3, 2, {"BC....", "EF....", "......", "......"}},
      {"window past the surface", 0, 0, 6, 4, 0, 0, 0, 0, 10, 10, {"ABC...", "DEF...", "......", "......"}},
      {"window before the surface", 0, 0, 6, 4, 2, 0, -1, 0, 2, 2, {"...AB.", "...DE.", "......", "......"}},
      {"window above the surface", 0, 0, 6, 4, 0, 1, 0, -1, 3, 2, {"......", "......", "ABC...", "DEF..."}},
      {"negative everything", 0, 0, 6, 4, -1, -1, -1, -1, 3, 2, {"ABC...", "DEF...", "......", "......"}},
  };
  Surface s;
  SurfaceFromText(s, {"ABC", "DEF"});
  for (const DrawCase& c : cases) {
    FreshTarget(6, 4);
    SetViewport(c.vx, c.vy, c.vw, c.vh);
    s.Draw(c.x, c.y, c.srcLeft, c.srcTop, c.srcRight, c.srcBottom);
    EXPECT_EQ(c.target, TargetLetters(0)) << c.name;
  }
}

TEST(SurfaceDraw, KeyPixelsAreSkippedOnlyInFlaggedRows) {
  Surface s;
  SurfaceFromText(s, {"A.B", "CDE"});
  FreshTarget(4, 2);
  FillTarget(0x0001);
  s.Draw(0, 0, 0, 0, 3, 2);
  EXPECT_EQ((Picture{"A.B.", "CDE."}), TargetLetters(0x0001));

  // A key-coloured pixel in a row flagged clear is drawn.
  s.rowHasKey[0] = 0;
  FillTarget(0x0001);
  s.Draw(0, 0, 0, 0, 3, 2);
  EXPECT_EQ(s.colourKey, PixelAt(1, 0));
}

TEST(SurfaceDraw, BlendedDrawingUsesThePlotRuleAndSkipsKeyPixels) {
  Surface s;
  SurfaceFromText(s, {"A.", "BB"});
  RenderTarget& rt = FreshTarget(2, 2);
  FillTarget(0x0010);
  rt.SetBlend(-128);
  s.Draw(0, 0, 0, 0, 2, 2);
  EXPECT_EQ(BlendAlpha(CharPixel('A'), 0x0010, 128), PixelAt(0, 0));
  EXPECT_EQ(0x0010, PixelAt(1, 0));
  EXPECT_EQ(BlendAlpha(CharPixel('B'), 0x0010, 128), PixelAt(1, 1));
  rt.SetBlend(200);
  FillTarget(0x0010);
  s.Draw(0, 0, 0, 0, 2, 2);
  EXPECT_EQ(BlendAdd(CharPixel('A'), 0x0010, 200), PixelAt(0, 0));
  EXPECT_EQ(0x0010, PixelAt(1, 0));
}

TEST(SurfaceDrawStretched, SamplesWithSixteenSixteenSteps) {
  struct Case { const char* name; Picture source; i32 x0, y0, x1, y1; Picture target; };
  const Case cases[] = {
      {"double", {"AB", "CD"}, 0, 0, 4, 4, {"AABB....", "AABB....", "CCDD....", "CCDD....", "........"}},
      {"corners reversed", {"AB", "CD"}, 4, 4, 0, 0, {"AABB....", "AABB....", "CCDD....", "CCDD....", "........"}},
      {"half", {"ABCD", "EFGH", "IJKL", "MNOP"}, 1, 1, 3, 3, {"........", ".AC.....", ".IK.....", "........", "........"}},
      {"zero width", {"AB", "CD"}, 1, 1, 1, 4, {"........", "........", "........", "........", "........"}},
      {"zero height", {"AB", "CD"}, 1, 1, 4, 1, {"........", "........", "........", "........", "........"}},
      {"clipped left and top", {"AB", "CD"}, -2, -2, 2, 2, {"DD......", "DD......", "........", "........", "........"}},
      {"clipped right", {"AB", "CD"}, 6, 0, 10, 2, {"......AA", "......CC", "........", "........", "........"}},
      {"clipped bottom", {"AB", "CD"}, 0, 3, 2, 7, {"........", "........", "........", "AB......", "AB......"}},
      {"transparent pixels", {"A.", "CD"}, 0, 0, 4, 2, {"AA......", "CCDD....", "........", "........", "........"}},
  };
  for (const Case& c : cases) {
    Surface s;
    SurfaceFromText(s, c.source);
    FreshTarget(8, 5);
    s.DrawStretched(c.x0, c.y0, c.x1, c.y1);
    EXPECT_EQ(c.target, TargetLetters(0)) << c.name;
  }
}

TEST(SurfaceDrawStretched, KeylessWhiteSurvivesABlend) {
  OwnedRgbaImage picture;
  MakePicture(picture.image, 1, 1, 255, 255, 255, 255);
  Surface white;
  white.FromRgba(picture.image, 0x8000FF, nullptr);
  ASSERT_EQ(0xFFFF, white.colourKey);  // no key pixels: the key reads as white
  RenderTarget& rt = FreshTarget(2, 1);
  rt.SetBlend(255);
  white.DrawStretched(0, 0, 2, 1);
  EXPECT_EQ(BlendAdd(0xFFFF, 0, 255), PixelAt(0, 0));
  EXPECT_EQ(BlendAdd(0xFFFF, 0, 255), PixelAt(1, 0));
}

TEST(SurfaceBackground, ExactSizeIgnoresViewportAndBlend) {
  Surface s;
  SurfaceFromText(s, {"A.C", "DEF"});
  RenderTarget& rt = FreshTarget(3, 2);
  SetViewport(1, 1, 1, 1);
  rt.SetBlend(-50);
  DrawBackground(s);
  EXPECT_EQ(CharPixel('A'), PixelAt(0, 0));
  EXPECT_EQ(s.colourKey, PixelAt(1, 0));  // copied as a block, key pixels too
  EXPECT_EQ(CharPixel('F'), PixelAt(2, 1));

  FreshTarget(4, 3);
  SetViewport(1, 1, 3, 2);
  DrawBackground(s);  // another size: drawn at the viewport origin
  EXPECT_EQ((Picture{"....", ".A.C", ".DEF"}), TargetLetters(0));
}

TEST(SurfaceRotate, ZeroDegreesCentresTheSourceWithKeyMargins) {
  Surface s;
  std::vector<std::string> rows(6, "ABCDEFGHIJ");
  SurfaceFromText(s, rows);
  Surface r;
  s.Rotate(0.0f, r);
  ASSERT_EQ(14, r.width);  // 10 * 142 / 100
  ASSERT_EQ(14, r.height);
  EXPECT_EQ(s.colourKey, r.colourKey);
  for (i32 j = 0; j < 14; ++j) {
    for (i32 i = 0; i < 14; ++i) {
      bool inside = i >= 2 && i < 12 && j >= 4 && j < 10;
      u16 expected = inside ? s.pixels[(j - 4) * 10 + (i - 2)] : s.colourKey;
      ASSERT_EQ(expected, r.pixels[j * 14 + i]) << i << "," << j;
    }
    EXPECT_EQ(1, r.rowHasKey[j]);  // every row has a margin
  }
  EXPECT_EQ(1, r.hasKey);
}

TEST(SurfaceRotate, QuarterTurnMovesEveryPixel) {
  OwnedRgbaImage picture;
  MakePicture(picture.image, 7, 4, 0, 0, 0, 255);
  for (i32 y = 0; y < 4; ++y)
    for (i32 x = 0; x < 7; ++x) SetPicturePixel(picture.image, x, y, static_cast<u8>(x * 32), static_cast<u8>(y * 64), 8, 255);
  Surface s;
  s.FromRgba(picture.image, 0x8000FF, nullptr);
  Surface r;
  s.Rotate(90.0f, r);
  const i32 side = 7 * 142 / 100, half = side / 2;
  ASSERT_EQ(side, r.width);
  for (i32 j = 0; j < side; ++j) {
    for (i32 i = 0; i < side; ++i) {
      i32 sx = 7 / 2 - (j - half), sy = 4 / 2 + (i - half);
      bool inside = sx >= 0 && sx < 7 && sy >= 0 && sy < 4;
      ASSERT_EQ(inside ? s.pixels[sy * 7 + sx] : s.colourKey, r.pixels[j * side + i]) << i << "," << j;
    }
  }
}

TEST(SurfaceRotate, AnglesOutsideTheCircleAndNonNumbersFinish) {
  Surface s;
  SurfaceFromText(s, {"AB", "CD", "EF"});
  Surface zero, other;
  s.Rotate(0.0f, zero);
  const f32 same[] = {360.0f, -360.0f, 720.0f, std::numeric_limits<f32>::quiet_NaN(),
                      std::numeric_limits<f32>::infinity(), -std::numeric_limits<f32>::infinity()};
  for (f32 angle : same) {
    s.Rotate(angle, other);
    ASSERT_EQ(zero.width, other.width);
    EXPECT_EQ(0, std::memcmp(zero.pixels, other.pixels, sizeof(u16) * zero.width * zero.height)) << angle;
  }
  Surface a, b;
  s.Rotate(-90.0f, a);
  s.Rotate(270.0f, b);
  EXPECT_EQ(0, std::memcmp(a.pixels, b.pixels, sizeof(u16) * a.width * a.height));
  s.Rotate(1e30f, other);  // must simply finish
  EXPECT_EQ(zero.width, other.width);
}

TEST(SurfaceRotate, SizesAndDestinationReuse) {
  OwnedRgbaImage picture;
  MakePicture(picture.image, 100, 50, 9, 9, 9, 255);
  Surface s;
  s.FromRgba(picture.image, 0x8000FF, nullptr);
  Surface big;
  big.Grab(0, 0, 200, 200, 0);  // any 200 x 200 surface
  u16* buffer = big.pixels;
  s.Rotate(30.0f, big);
  EXPECT_EQ(142, big.width);
  EXPECT_EQ(142, big.height);
  EXPECT_EQ(buffer, big.pixels);  // large enough: reused

  Surface empty, target;
  SurfaceFromText(target, {"AB"});
  empty.Rotate(10.0f, target);
  EXPECT_EQ(0, target.width);
  EXPECT_EQ(nullptr, target.pixels);

  s.Rotate(0.0f, s);  // into itself
  EXPECT_EQ(142, s.width);
}

TEST(SurfaceTranspose, ExchangesRowsAndColumnsAndRebuildsFlags) {
  Surface s;
  SurfaceFromText(s, {"A.B", "CDE"});
  s.Transpose();
  EXPECT_EQ(2, s.width);
  EXPECT_EQ(3, s.height);
  EXPECT_EQ((Picture{"AC", ".D", "BE"}), SurfaceRows(s));
  EXPECT_EQ((std::vector<u8>{0, 1, 0}), Flags(s));
}

TEST(SurfaceAssign, CopiesEverythingIncludingTheKey) {
  Surface s;
  SurfaceFromText(s, {"A.", "BC"}, 0x00FF00FF);
  Surface t;
  t.Assign(s);
  EXPECT_EQ(s.colourKey, t.colourKey);
  EXPECT_EQ(ColourToPixel(0x00FF00FF), t.colourKey);
  EXPECT_EQ(SurfaceRows(s), SurfaceRows(t));
  EXPECT_EQ(Flags(s), Flags(t));
  EXPECT_EQ(s.hasKey, t.hasKey);
  EXPECT_NE(s.pixels, t.pixels);
  Surface empty;
  t.Assign(empty);
  EXPECT_EQ(nullptr, t.pixels);
  t.Assign(t);
}

TEST(SurfaceCross, BlueWithAWhiteCrossInsideTheBorder) {
  Surface s;
  s.MakeCrossImage();
  ASSERT_EQ(14, s.width);
  EXPECT_EQ(0, s.hasKey);
  struct Case { i32 x, y; u16 pixel; };
  for (const Case& c : {Case{0, 0, 0x001F}, Case{3, 3, 0x001F}, Case{4, 4, 0xFFFF}, Case{9, 9, 0xFFFF},
                        Case{9, 4, 0xFFFF}, Case{4, 9, 0xFFFF}, Case{5, 4, 0x001F}, Case{10, 10, 0x001F}}) {
    EXPECT_EQ(c.pixel, s.pixels[c.y * 14 + c.x]) << c.x << "," << c.y;
  }
}

TEST(SurfaceFiles, SaveBmpRoundTripsThroughTheReader) {
  ScopedTempDir dir;
  Surface s;
  SurfaceFromText(s, {"AB.", "CDE"});
  const std::string path = dir.File("s.bmp");
  ASSERT_EQ(1, s.SaveBmp(path.c_str()));
  OwnedRgbaImage back;
  ASSERT_EQ(1, LoadBmpImage(back.image, path.c_str(), kNoColourKey));
  ASSERT_EQ(3, back.image.width);
  const u8* p = back.image.rgba;
  EXPECT_EQ(LetterRed('A'), p[0]);
  EXPECT_EQ(LetterRed('E'), p[(1 * 3 + 2) * 4]);
  // The key pixel is written as its colour: 0xF810 expands to 248, 0, 128.
  EXPECT_EQ(248, p[2 * 4]);
  EXPECT_EQ(0, p[2 * 4 + 1]);
  EXPECT_EQ(128, p[2 * 4 + 2]);
  Surface empty;
  EXPECT_EQ(0, empty.SaveBmp(path.c_str()));
  EXPECT_EQ(0, s.SaveBmp(nullptr));
}

TEST(SurfaceFiles, LoadTriesBmpThenPngAndAppliesTheKey) {
  ScopedTempDir dir;
  const u8 bgra[8] = {0xFF, 0, 0xFF, 0xFF, 0x10, 0x20, 0x30, 0xFF};  // magenta, then a colour
  const std::string png = dir.File("p.png");
  ASSERT_EQ(1, SavePng(png.c_str(), bgra, 2, 1));
  // A PNG with alpha keeps its own transparency; make the key visible through a BMP instead.
  const std::string bmp = dir.File("p.bmp");
  const u8 rows[8] = {0xFF, 0, 0xFF, 0x10, 0x20, 0x30, 0, 0};
  ASSERT_EQ(1, SaveBmp24(bmp.c_str(), 2, 1, rows));
  Surface s;
  s.Load(bmp.c_str(), 0x00FF00FF, nullptr);
  ASSERT_EQ(2, s.width);
  EXPECT_EQ(1, s.hasKey);
  EXPECT_EQ(ColourToPixel(0x00FF00FF), s.pixels[0]);
  EXPECT_EQ(RgbToPixel(0x30, 0x20, 0x10), s.pixels[1]);
  s.Load(png.c_str(), 0x00FF00FF, nullptr);
  ASSERT_EQ(2, s.width);
  EXPECT_EQ(0, s.hasKey);
  s.Load(dir.File("absent.png").c_str(), 0, nullptr);
  EXPECT_EQ(0, s.width);
  EXPECT_EQ(nullptr, s.pixels);
}

TEST(SurfaceGrab, FullyClippedGrabIsSafeForEveryUser) {
  FreshTarget(4, 4);
  Surface s;
  s.Grab(50, 50, 53, 52, 0x8000FF);
  ASSERT_NE(nullptr, s.pixels);
  Surface r;
  s.Rotate(45.0f, r);
  EXPECT_EQ(4, r.width);
  EXPECT_EQ(0, SurfacesCollideAt(s, 0, 0, s, 1, 1));
  ScopedTempDir dir;
  EXPECT_EQ(1, s.SaveBmp(dir.File("clipped.bmp").c_str()));
  s.Draw(0, 0, 0, 0, 3, 2);
  EXPECT_EQ((Picture{"....", "....", "....", "...."}), TargetLetters(0));
}

}  // namespace
