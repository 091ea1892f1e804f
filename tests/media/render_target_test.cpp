// The render target: colour conversion, the three plot rules and blend selection, fills, lines,
// resizing and the copy to the video surface.
#include <SDL.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <tuple>

#include "media/pixel_format.h"
#include "render/soft_render_context.h"
#include "tests/media/media_test_util.h"

namespace {

TEST(RenderTarget, ColoursAndPlotRules) {
  for (auto [colour, pixel] : {std::pair<u32, u16>{0xFF8000FF, 0xF810}, {0x0000FF00, 0x07E0},
                               {0x00070307, 0}, {0x00080408, 0x0821}})
    EXPECT_EQ(pixel, ColourToPixel(colour)) << std::hex << colour;
  RenderTarget& rt = FreshTarget(1, 1);
  // Blend asked, blend kept, source, destination, result.
  for (auto [setBlend, blend, s, d, expected] : {
           std::array<i32, 5>{-128, -128, 0xF800, 0, 0x7800}, {-1, -1, 0, 0xFFFF, 0xF7DE},  // alpha
           {-128, -128, 0x001F, 0x001F, 0x001E}, {-8, -8, 0, 0x001F, 0x001E},  // shifted apart
           {255, 255, 0xFFFF, 0xFFFF, 0xFFFF}, {128, 128, 0x0010, 0x0010, 0x0018},  // additive
           {255, 255, 0x0821, 0, 0},           {65536, 0, 0x1234, 0xFFFF, 0x1234},  // low 16 bits
           {300, 255, 0x0400, 0x0020, 0x0400}, {-300, -255, 0xFFFF, 0, 0xF7DE},     // clamped
           {65535, -1, 0xFFFF, 0, 0},          {0x10040, 64, 0x0400, 0x0020, 0x0120}}) {
    rt.SetBlend(setBlend);
    EXPECT_EQ(blend, rt.blend) << setBlend;
    u16 pixel = static_cast<u16>(d);
    rt.plot(&pixel, static_cast<u16>(s));
    EXPECT_EQ(expected, pixel) << setBlend << std::hex << " s " << s << " d " << d;
  }
}

TEST(RenderTarget, ResizeAndDepthClear) {
  RenderTarget& rt = GetRenderTarget();
  SetViewport(1, 1, 1, 1);
  rt.Resize(7, 5, 3, 0);
  EXPECT_EQ(5, rt.viewportWidth);
  EXPECT_EQ(0, rt.viewportX);
  EXPECT_EQ(rt.colourBuffer, GetSoftRenderContext().colourBuffer);
  for (i32 i = 0; i < 15; ++i) ASSERT_EQ(0, rt.colourBuffer[i] | (rt.depthBuffer[i] ^ 0x7F7F));
  rt.depthBuffer[0] = 5;
  rt.ClearDepth();  // not marked dirty: kept
  EXPECT_EQ(5, rt.depthBuffer[0]);
  rt.depthDirty = 1;
  rt.ClearDepth();
  EXPECT_EQ(0x7F7F, rt.depthBuffer[0]);
  for (i32 bad : {-4, 100000}) {  // impossible sizes give an empty target that draws nothing
    rt.Resize(0, bad, bad, 0);
    EXPECT_EQ(nullptr, rt.colourBuffer);
    EXPECT_EQ(0, rt.pixelCount + rt.width);
    FillSurfaceRect(0, 0, 4, 4, 0xFFFF);
    rt.PlotLine(0, 0, 3, 3, 0xFFFF);
  }
}

TEST(RenderTarget, FillsAreClippedToTheViewport) {
  for (auto [v, x, y, w, h, picture] :
       {std::tuple{0, -2, 0, 5, 1, Rows{"AAA...", "......", "......"}},
        {0, 4, 1, -3, 2, Rows{"......", ".AAA..", ".AAA.."}},
        {0, 0, 3, 2, -2, Rows{"......", "AA....", "AA...."}},
        {1, -1, -1, 10, 10, Rows{"......", ".AAA..", ".AAA.."}},
        {1, 3, 0, 2, 2, Rows{"......", "......", "......"}}}) {
    FreshTarget(6, 3);
    SetViewport(v, v, v ? 3 : 6, 3 - v);  // the whole target, or 1, 1, 3 x 2
    FillSurfaceRect(x, y, w, h, LetterPixel('A'));
    EXPECT_EQ(picture, TargetRows()) << x << "," << y << " " << w << "x" << h;
  }
  RenderTarget& rt = FreshTarget(1, 1);
  rt.colourBuffer[0] = 0x0010;
  rt.SetBlend(128);
  FillSurfaceRect(0, 0, 1, 1, 0x0010);
  EXPECT_EQ(0x0018, PixelAt(0, 0));
}

// The lit pixels of a w x h window of the target at (x, y), row by row.
Rows Window(i32 x, i32 y, i32 w, i32 h) {
  Rows rows(h, std::string(w, '.'));
  for (i32 r = 0; r < h; ++r)
    for (i32 c = 0; c < w; ++c)
      if (PixelAt(x + c, y + r) != 0) rows[r][c] = '#';
  return rows;
}

TEST(RenderTarget, LinesAreBresenhamWalksClippedToTheTarget) {
  // Both ends drawn; where the error term is 0 the minor axis does not step.
  for (auto [x0, y0, x1, y1, lit] : {std::tuple{0, 0, 4, 2, Rows{"##...", "..##.", "....#"}},
                                     {1, 2, 0, 0, Rows{"#....", ".#...", ".#..."}},
                                     {2, 1, 2, 1, Rows{".....", "..#..", "....."}}}) {
    FreshTarget(5, 3).PlotLine(x0, y0, x1, y1, 0xFFFF);
    EXPECT_EQ(lit, Window(0, 0, 5, 3)) << x0 << "," << y0 << " - " << x1 << "," << y1;
  }
  // A line that starts or ends far outside lights what the whole walk lights inside: drawn once
  // into a small target, once where the whole line fits (through the viewport offset).
  std::srand(7);
  for (i32 i = 0; i < 300; ++i) {
    i32 c[4];
    for (i32& v : c) v = std::rand() % 601 - 300;
    FreshTarget(616, 612);
    SetViewport(300, 300, 16, 12);
    GetRenderTarget().PlotLine(c[0], c[1], c[2], c[3], 0xFFFF);
    const Rows whole = Window(300, 300, 16, 12);
    FreshTarget(16, 12).PlotLine(c[0], c[1], c[2], c[3], 0xFFFF);
    ASSERT_EQ(whole, Window(0, 0, 16, 12)) << c[0] << "," << c[1] << " " << c[2] << "," << c[3];
  }
  RenderTarget& rt = FreshTarget(8, 8);
  rt.PlotLine(INT32_MIN, 3, INT32_MAX, 4, 0xFFFF);
  rt.PlotLine(-1000000000, -1000000000, 1000000000, 1000000000, 0xFFFF);
  for (i32 i = 0; i < 8; ++i) EXPECT_NE(0, PixelAt(i, i));
}

TEST(RenderTarget, PresentCopiesTheSmallerOfBothSizesAndResetsTheBlend) {
  RenderTarget& rt = FreshTarget(2, 2);
  rt.SetBlend(50);
  testing::internal::CaptureStdout();
  rt.Present();  // no video surface yet
  EXPECT_EQ("SDL_GetVideoSurface == NULL\n", testing::internal::GetCapturedStdout());
  EXPECT_EQ(0, rt.blend);
  ASSERT_EQ(0, SDL_Init(SDL_INIT_VIDEO));
  SDL_Surface* screen = SDL_SetVideoMode(6, 4, 16, SDL_SWSURFACE);
  ASSERT_NE(nullptr, screen);
  FreshTarget(8, 5);  // larger both ways: the screen's part of it is shown
  for (i32 i = 0; i < rt.pixelCount; ++i) rt.colourBuffer[i] = static_cast<u16>(0x100 + i);
  rt.SetBlend(-100);
  rt.Present();
  EXPECT_EQ(PlotPlain, rt.plot);
  for (i32 y = 0; y < 4; ++y)
    for (i32 x = 0; x < 6; ++x)
      ASSERT_EQ(0x100 + y * 8 + x,
                reinterpret_cast<u16*>(static_cast<u8*>(screen->pixels) + y * screen->pitch)[x]);
  SDL_Quit();
}

}  // namespace
