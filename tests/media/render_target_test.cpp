// The render target: colour conversion, the three plot rules and blend selection, fills, lines,
// resizing and the copy to the video surface.
#include <SDL.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>

#include "media/pixel_format.h"
#include "render/soft_render_context.h"
#include "tests/media/media_test_util.h"

namespace {

TEST(RenderTarget, ColoursAndPlotRules) {
  for (auto [colour, pixel] : {std::pair<u32, u16>{0xFF8000FF, 0xF810}, {0x0000FF00, 0x07E0},
                               {0x00070307, 0}, {0x00080408, 0x0821}})
    EXPECT_EQ(pixel, ColourToPixel(colour)) << std::hex << colour;
  struct Case {
    i32 setBlend, blend;
    u16 s, d, expected;
  };
  const Case cases[] = {
      {-128, -128, 0xF800, 0, 0x7800},  {-1, -1, 0, 0xFFFF, 0xF7DE},   // alpha
      {-128, -128, 0x001F, 0x001F, 0x001E},                            // each product shifted
      {255, 255, 0x8000, 0x8000, 0xF800}, {128, 128, 0x0010, 0x0010, 0x0018},  // additive
      {255, 255, 0x0821, 0, 0},           {65536, 0, 0x1234, 0xFFFF, 0x1234},  // low 16 bits
      {300, 255, 0x0400, 0x0020, 0x0400}, {-300, -255, 0xFFFF, 0, 0xF7DE},     // clamped
      {65535, -1, 0xFFFF, 0, 0},          {0x10040, 64, 0x0400, 0x0020, 0x0120},
  };
  RenderTarget& rt = FreshTarget(1, 1);
  for (const Case& c : cases) {
    rt.SetBlend(c.setBlend);
    EXPECT_EQ(c.blend, rt.blend) << c.setBlend;
    u16 pixel = c.d;
    rt.plot(&pixel, c.s);
    EXPECT_EQ(c.expected, pixel) << c.setBlend << std::hex << " s " << c.s << " d " << c.d;
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
  struct Case {
    i32 vx, vy, vw, vh, x, y, w, h;
    Rows picture;
  };
  const Case cases[] = {
      {0, 0, 6, 3, -2, 0, 5, 1, {"AAA...", "......", "......"}},
      {0, 0, 6, 3, 4, 1, -3, 2, {"......", ".AAA..", ".AAA.."}},
      {0, 0, 6, 3, 0, 3, 2, -2, {"......", "AA....", "AA...."}},
      {1, 1, 3, 2, -1, -1, 10, 10, {"......", ".AAA..", ".AAA.."}},
      {1, 1, 3, 2, 3, 0, 2, 2, {"......", "......", "......"}},
  };
  for (const Case& c : cases) {
    FreshTarget(6, 3);
    SetViewport(c.vx, c.vy, c.vw, c.vh);
    FillSurfaceRect(c.x, c.y, c.w, c.h, LetterPixel('A'));
    EXPECT_EQ(c.picture, TargetRows()) << c.x << "," << c.y << " " << c.w << "x" << c.h;
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
  const struct {
    i32 x0, y0, x1, y1;
    Rows lit;
  } cases[] = {
      {0, 0, 3, 1, {"##..", "..##", "....", "...."}},
      {1, 3, 0, 0, {"#...", "#...", ".#..", ".#.."}},
      {2, 2, 2, 2, {"....", "....", "..#.", "...."}},
  };
  for (const auto& c : cases) {
    FreshTarget(4, 4).PlotLine(c.x0, c.y0, c.x1, c.y1, 0xFFFF);
    EXPECT_EQ(c.lit, Window(0, 0, 4, 4)) << c.x0 << "," << c.y0 << " - " << c.x1 << "," << c.y1;
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
  for (auto [screenW, screenH, targetW, targetH] : {std::array{8, 6, 5, 9}, {6, 4, 10, 3}}) {
    SDL_Surface* screen = SDL_SetVideoMode(screenW, screenH, 16, SDL_SWSURFACE);
    ASSERT_NE(nullptr, screen);
    SDL_FillRect(screen, nullptr, 0x1111);
    FreshTarget(targetW, targetH);
    for (i32 i = 0; i < rt.pixelCount; ++i) rt.colourBuffer[i] = static_cast<u16>(0x100 + i);
    rt.SetBlend(-100);
    rt.Present();
    EXPECT_EQ(PlotPlain, rt.plot);
    for (i32 y = 0; y < screenH; ++y)
      for (i32 x = 0; x < screenW; ++x)
        ASSERT_EQ((x < targetW && y < targetH) ? 0x100 + y * targetW + x : 0x1111,
                  reinterpret_cast<u16*>(static_cast<u8*>(screen->pixels) + y * screen->pitch)[x]);
  }
  SDL_Quit();
}

}  // namespace
