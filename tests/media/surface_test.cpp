// Surfaces: building from pictures, files and the target, drawing plainly, blended and stretched
// with exact clipping, the background copy, rotation, editing, and pixel collision.
#include "media/surface.h"

#include <gtest/gtest.h>

#include <limits>
#include <tuple>

#include "media/png_image.h"
#include "tests/media/media_test_util.h"
#include "tests/support/test_support.h"

namespace {

std::vector<u8> Flags(const Surface& s) { return {s.rowHasKey, s.rowHasKey + s.height}; }

const Rows kTarget = {"ABCDEF", "GHIJKL", "MNOPQR", "STUVWX"};

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
    EXPECT_EQ((std::pair{w, h}), (std::pair{s.width, s.height})) << rect.left << "," << rect.top;
  }
}

// Parts outside the viewport come in key-coloured, and every row that holds the key is flagged.
TEST(SurfaceBuild, GrabCopiesAndKeyFillsWhatLiesOutsideTheViewport) {
  using Flags8 = std::vector<u8>;
  for (auto [vx, vy, x0, y0, x1, y1, key, rows, flags] :
       {std::tuple{0, 0, 1, 1, 4, 3, 0x8000FFu, Rows{"HIJ", "NOP"}, Flags8{0, 0}},
        {0, 0, 4, 1, 1, 3, 0x8000FFu, Rows{"KL.", "QR."}, Flags8{1, 1}},  // from the first corner
        {0, 0, -1, -1, 1, 1, 0x8000FFu, Rows{"..", ".A"}, Flags8{1, 1}},
        {0, 0, 10, 10, 12, 11, 0x8000FFu, Rows{".."}, Flags8{1}},  // wholly outside
        {0, 0, 1, 1, 4, 3, u32{LetterRed('I')}, Rows{"H.J", "NOP"}, Flags8{1, 0}},
        {1, 1, 3, 1, 5, 3, 0x8000FFu, Rows{"Q.", ".."}, Flags8{1, 1}}}) {
    FreshTarget(6, 4);
    PaintTarget(kTarget);
    SetViewport(vx, vy, 6 - 2 * vx, 4 - 2 * vy);
    Surface s;
    s.Grab(x0, y0, x1, y1, key);
    EXPECT_EQ(rows, SurfaceRows(s)) << x0 << "," << y0;
    EXPECT_EQ(flags, Flags(s)) << x0 << "," << y0;
    EXPECT_EQ(s.hasKey ? ColourToPixel(key) : 0xFFFF, s.colourKey);
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
  Surface s;
  SurfaceFromRows(s, {"ABC", "DEF"});
  for (auto [v, x, y, left, top, right, bottom, target] :
       {std::tuple{0, -1, 0, 0, 0, 3, 2, Rows{"BC....", "EF....", "......"}},
        {0, 5, 2, 0, 0, 3, 2, Rows{"......", "......", ".....A"}},
        {0, 1, -1, 0, 0, 3, 2, Rows{".DEF..", "......", "......"}},
        {1, 2, 0, 0, 0, 3, 2, Rows{"......", "...AB.", "......"}},  // viewport 1, 1, 4 x 1
        {0, 0, 0, 1, 0, 10, 10, Rows{"BC....", "EF....", "......"}},
        {0, 2, 0, -1, 0, 2, 2, Rows{"...AB.", "...DE.", "......"}},  // window before the surface
        {0, -1, -1, -1, -1, 3, 2, Rows{"ABC...", "DEF...", "......"}}}) {
    FreshTarget(6, 3);
    SetViewport(v, v, 6 - 2 * v, 3 - 2 * v);
    s.Draw(x, y, left, top, right, bottom);
    EXPECT_EQ(target, TargetRows()) << x << "," << y << " from " << left << "," << top;
  }
}

TEST(SurfaceDraw, StretchSamplesWithSixteenSixteenSteps) {
  const Rows two = {"AB", "CD"};
  for (auto [source, vy, x0, y0, x1, y1, target] :
       {std::tuple{two, 0, 4, 4, 0, 0, Rows{"AABB..", "AABB..", "CCDD..", "CCDD.."}},
        {Rows{"ABCD", "EFGH", "IJKL", "MNOP"}, 0, 1, 1, 3, 3,
         Rows{"......", ".AC...", ".IK...", "......"}},
        {two, 0, 1, 1, 1, 4, Rows{"......", "......", "......", "......"}},
        {two, 0, -2, -2, 2, 2, Rows{"DD....", "DD....", "......", "......"}},
        {two, 1, 4, 0, 8, 4, Rows{"......", "....AA", "....AA", "....CC"}},
        {Rows{"A.", "CD"}, 0, 0, 0, 4, 2, Rows{"AA....", "CCDD..", "......", "......"}}}) {
    Surface s;
    SurfaceFromRows(s, source);
    FreshTarget(6, 4);
    SetViewport(0, vy, 6, 4 - vy);
    s.DrawStretched(x0, y0, x1, y1);
    EXPECT_EQ(target, TargetRows()) << x0 << "," << y0 << " - " << x1 << "," << y1;
  }
  OwnedRgbaImage white;  // no key pixels, so its key reads 0xFFFF: white must still be drawn
  MakePicture(white.image, 1, 1, 255, 255, 255, 255);
  Surface w;
  w.FromRgba(white.image, 0x8000FF, nullptr);
  FreshTarget(2, 1);
  w.DrawStretched(0, 0, 2, 1);
  EXPECT_EQ(0xFFFF, PixelAt(1, 0));
}

TEST(SurfaceDraw, KeyPixelsAreSkippedWhileTheSurfaceHasAKeyButNotInTheBackground) {
  Surface s;
  SurfaceFromRows(s, {"A.B", "CDE"});
  RenderTarget& rt = FreshTarget(3, 2);
  std::fill_n(rt.colourBuffer, 6, u16{0x0010});
  s.Draw(0, 0, 0, 0, 3, 2);
  EXPECT_EQ((Rows{"A.B", "CDE"}), TargetRows(0x0010));
  rt.SetBlend(-64);
  s.Draw(0, 0, 0, 0, 3, 1);
  EXPECT_EQ(0x0010, PixelAt(1, 0));
  s.rowHasKey[0] = 0;  // a row flagged clear draws its key-coloured pixels
  s.Draw(0, 0, 0, 0, 3, 1);
  EXPECT_EQ(BlendAlpha(0xF810, 0x0010, 64), PixelAt(1, 0));
  // A background of the target's size ignores viewport and blend and copies key pixels too.
  SetViewport(1, 1, 1, 1);
  DrawBackground(s);
  EXPECT_EQ((Rows{"A?B", "CDE"}), TargetRows());
  FreshTarget(3, 3);
  SetViewport(0, 1, 3, 2);
  s.rowHasKey[0] = 1;
  DrawBackground(s);  // any other size: drawn at the viewport origin
  EXPECT_EQ((Rows{"...", "A.B", "CDE"}), TargetRows());
}

TEST(SurfaceRotate, TurnsAboutTheCentreInAKeyColouredSquare) {
  OwnedRgbaImage picture;
  MakePicture(picture.image, 10, 6, 0, 0, 0, 255);
  SetPicturePixel(picture.image, 0, 0, LetterRed('A'), 0, 0, 255);
  SetPicturePixel(picture.image, 9, 5, LetterRed('B'), 0, 0, 255);
  Surface s, r;
  s.FromRgba(picture.image, 0x8000FF, nullptr);
  // Where the corners land in the 14 x 14 square (10 * 142 / 100).
  for (auto [angle, ax, ay, bx, by] :
       {std::tuple{0.0f, 2, 4, 11, 9}, {360.0f, 2, 4, 11, 9}, {90.0f, 4, 12, 9, 3},
        {-270.0f, 4, 12, 9, 3}, {180.0f, 12, 10, 3, 5}, {270.0f, 10, 2, 5, 11},
        {std::numeric_limits<f32>::quiet_NaN(), 2, 4, 11, 9}}) {
    s.Rotate(angle, r);
    ASSERT_EQ(14, r.width);
    EXPECT_EQ('A', PixelLetter(r.pixels[ay * 14 + ax])) << angle;
    EXPECT_EQ('B', PixelLetter(r.pixels[by * 14 + bx])) << angle;
    EXPECT_EQ(r.colourKey, r.pixels[0]);
    EXPECT_EQ(1, r.hasKey);
  }
  s.Rotate(1e30f, r);  // simply finishes
  Surface wide, big, empty;
  MakePicture(picture.image, 100, 50, 0, 0, 0, 255);
  wide.FromRgba(picture.image, 0x8000FF, nullptr);
  big.Grab(0, 0, 200, 200, 0);
  u16* buffer = big.pixels;
  wide.Rotate(30.0f, big);
  EXPECT_EQ(142, big.height);
  EXPECT_EQ(buffer, big.pixels);  // large enough: reused
  empty.Rotate(10.0f, big);
  EXPECT_EQ(nullptr, big.pixels);
  s.Rotate(0.0f, s);  // into itself
  EXPECT_EQ('B', PixelLetter(s.pixels[9 * 14 + 11]));
}

TEST(SurfaceEdit, TransposeAssignCrossAndLoad) {
  Surface s, t;
  SurfaceFromRows(s, {"A.B", "CDE"}, 0x00FF00FF);
  t.Assign(s);
  EXPECT_EQ(ColourToPixel(0x00FF00FF), t.colourKey);
  EXPECT_EQ(Flags(s), Flags(t));
  t.Transpose();
  EXPECT_EQ((Rows{"AC", ".D", "BE"}), SurfaceRows(t));
  EXPECT_EQ((std::vector<u8>{0, 1, 0}), Flags(t));
  ScopedTempDir dir;
  EXPECT_EQ(0, Surface().SaveBmp(dir.File("e.bmp").c_str()));
  SurfaceFromRows(s, {"A"});  // a row of 3 bytes and one of padding, written as zero
  ASSERT_EQ(1, s.SaveBmp(dir.File("a.bmp").c_str()));
  EXPECT_EQ(std::string(1, '\0'), ReadFileBytes(dir.File("a.bmp")).substr(57));
  const u8 bgra[8] = {0xFF, 0, 0xFF, 0, 0x10, 0x20, 0x30, 0xFF};  // clear, then a colour
  ASSERT_EQ(1, SavePng(dir.File("p.png").c_str(), bgra, 2, 1));
  s.Load(dir.File("p.png").c_str(), 0, nullptr);
  EXPECT_EQ((std::vector<u16>{s.colourKey, RgbToPixel(0x30, 0x20, 0x10)}),
            std::vector<u16>(s.pixels, s.pixels + 2));
  s.Load(dir.File("absent.png").c_str(), 0, nullptr);
  EXPECT_EQ(nullptr, s.pixels);
  s.MakeCrossImage();
  ASSERT_EQ(14, s.width);
  for (auto [x, y, pixel] : {std::tuple{3, 3, 0x001F}, {4, 4, 0xFFFF}, {9, 4, 0xFFFF},
                             {4, 9, 0xFFFF}, {5, 4, 0x001F}, {10, 10, 0x001F}})
    EXPECT_EQ(pixel, s.pixels[y * 14 + x]) << x << "," << y;
}

TEST(SurfaceCollision, WholeSurfacesAtPositions) {
  for (auto [a, ax, b, bx, by, hit] :
       {std::tuple{Rows{"AA", "AA"}, 0, Rows{"BB", "BB"}, 2, 0, 1},  // key-less, only touching
        {Rows{"AA", "AA"}, 0, Rows{"BB", "BB"}, 3, 0, 0},
        {Rows{"A.", "AA"}, 0, Rows{"BB", "BB"}, 2, 0, 0},  // touching, a has holes
        {Rows{"AA", "AA"}, 0, Rows{".B", ".."}, 1, 0, 0},  // b's hole over a
        {Rows{"AA", "AA"}, 0, Rows{".B", ".."}, 0, 0, 1},
        {Rows{"A.", ".."}, 0, Rows{".B", ".."}, 0, 0, 0},
        {Rows{"A.", ".."}, 0, Rows{".B", ".."}, -1, 0, 1},
        {Rows{"A."}, -2000000000, Rows{".B"}, 2000000000, 0, 0}}) {
    Surface sa, sb;
    SurfaceFromRows(sa, a);
    SurfaceFromRows(sb, b);
    EXPECT_EQ(hit, SurfacesCollideAt(sa, ax, 0, sb, bx, by)) << a[0] << " " << b[0] << " " << bx;
  }
  Surface a, b, empty;
  SurfaceFromRows(a, {"AA"});
  SurfaceFromRows(b, {"B...", "...B"});
  EXPECT_EQ(0, SurfacesCollideAt(a, 0, 0, empty, 0, 0));  // empty surfaces never collide
  EXPECT_EQ(0, SurfacesCollideAt(empty, 0, 0, a, 0, 0));
  EXPECT_EQ(1, SurfacesCollide(b, 0, 0, b, 0, 0, 0, 4, 0, 2));  // only within the rectangle
  EXPECT_EQ(0, SurfacesCollide(b, 0, 0, b, 0, 0, 1, 3, 0, 2));
  // Frames of a sheet of three 2 x 2 frames, also outside it, against a holed target.
  Surface sheet, target;
  SurfaceFromRows(sheet, {"AA...C", "AA...."});
  SurfaceFromRows(target, {"B.", "BB"});
  for (auto [frameX, frameY, x, hit] : {std::array{0, 0, 0, 1}, {2, 0, 0, 0}, {4, 0, 0, 0},
                                        {4, 0, -1, 1}, {10, 0, 0, 0}, {-2, 0, 0, 0},
                                        {-2000000000, -2000000000, 0, 0}}) {
    EXPECT_EQ(hit, SurfacesCollideFrames(sheet, x, 0, frameX, frameY, 2, 2, target, 0, 0, 0, 0,
                                         2, 2)) << frameX << "," << frameY;
    EXPECT_EQ(hit, SurfacesCollideFrames(target, 0, 0, 0, 0, 2, 2, sheet, x, 0, frameX, frameY,
                                         2, 2)) << frameX << "," << frameY << " swapped";
  }
}

}  // namespace
