// The render target: colour conversion, the plot rules, blend selection, fills, lines, depth
// clearing, resizing and the copy to the video surface.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "media/pixel_format.h"
#include "render/soft_render_context.h"
#include "tests/media/media_test_util.h"

namespace {

TEST(PixelFormat, ColourConversionTruncatesEachChannel) {
  const std::pair<u32, u16> cases[] = {{0x008000FF, 0xF810}, {0x00FFFFFF, 0xFFFF},
                                       {0xFF000000, 0},      {0x0000FF00, 0x07E0},
                                       {0x00070307, 0},      {0x00080408, 0x0821}};
  for (auto [colour, pixel] : cases) EXPECT_EQ(pixel, ColourToPixel(colour)) << std::hex << colour;
}

TEST(RenderTarget, PlotRulesAndBlendSelection) {
  struct Case {
    i32 setBlend, blend;
    u16 s, d, expected;
  };
  const Case cases[] = {
      {-128, -128, 0xF800, 0x0000, 0x7800},
      {-255, -255, 0x07E0, 0, 0x07C0},
      {-1, -1, 0, 0xFFFF, 0xF7DE},
      {-128, -128, 0x001F, 0x001F, 0x001E},
      {255, 255, 0xFFFF, 0xFFFF, 0xFFFF},
      {1, 1, 0xF800, 0xF800, 0xF800},
      {255, 255, 0x8000, 0x8000, 0xF800},
      {128, 128, 0x0010, 0x0010, 0x0018},
      {255, 255, 0x0821, 0, 0},
      {300, 255, 0x0400, 0x0020, 0x0400},
      {-300, -255, 0xFFFF, 0, 0xF7DE},
      {65536, 0, 0x1234, 0xFFFF, 0x1234},
      {65535, -1, 0xFFFF, 0, 0},
      {0x10040, 64, 0x0400, 0x0020, 0x0120},
  };
  RenderTarget& rt = FreshTarget(1, 1);
  for (const Case& c : cases) {
    rt.SetBlend(c.setBlend);
    EXPECT_EQ(c.blend, rt.blend) << c.setBlend;
    EXPECT_EQ(c.blend == 0 ? PlotPlain : c.blend > 0 ? PlotAdd : PlotAlpha, rt.plot) << c.setBlend;
    u16 pixel = c.d;
    rt.plot(&pixel, c.s);
    EXPECT_EQ(c.expected, pixel) << c.setBlend << std::hex << " s " << c.s << " d " << c.d;
  }
}

TEST(RenderTarget, ResizeZeroesBuffersAndBindsTheRenderer) {
  const RendererCallRecord& calls = GetRendererCallRecord();
  const i32 binds = calls.bindTargetsCalls, hooks = calls.emptyResizeHookCalls;
  RenderTarget& rt = GetRenderTarget();
  rt.Resize(7, 5, 3, 0);
  EXPECT_EQ(binds + 1, calls.bindTargetsCalls);
  EXPECT_EQ(hooks + 1, calls.emptyResizeHookCalls);
  EXPECT_EQ(15, rt.pixelCount);
  EXPECT_EQ(7, rt.flags);
  EXPECT_EQ(5, rt.viewportWidth);
  for (i32 i = 0; i < 15; ++i) ASSERT_EQ(0, rt.colourBuffer[i] | (rt.depthBuffer[i] ^ 0x7F7F));
  const SoftRenderContext& rc = GetSoftRenderContext();
  EXPECT_EQ(rt.colourBuffer, rc.colourBuffer);
  EXPECT_EQ(rt.depthBuffer, rc.depthBuffer);
  EXPECT_EQ(5, rc.pitch);
  EXPECT_EQ(3, rc.targetHeight);
  EXPECT_EQ(0xF810, rc.colourKey);
  EXPECT_EQ(1, rc.colourKeyEnabled);

  rt.depthBuffer[0] = 5;
  rt.ClearDepth();  // not dirty: nothing
  EXPECT_EQ(5, rt.depthBuffer[0]);
  rt.depthDirty = 1;
  rt.ClearDepth();
  EXPECT_EQ(0x7F7F, rt.depthBuffer[0]);
  EXPECT_EQ(0u, rt.depthDirty);

  for (i32 bad : {-4, 100000}) {  // impossible sizes give an empty target that draws nothing
    rt.Resize(0, bad, bad, 0);
    EXPECT_EQ(nullptr, rt.colourBuffer);
    EXPECT_EQ(0, rt.pixelCount);
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
      {2, 0, 4, 3, 1, 1, 2, 1, {"......", "...AA.", "......"}},
      {0, 0, 6, 3, 5, 2, 4, 4, {"......", "......", ".....A"}},
      {1, 1, 3, 2, 3, 0, 2, 2, {"......", "......", "......"}},
  };
  for (const Case& c : cases) {
    FreshTarget(6, 3);
    SetViewport(c.vx, c.vy, c.vw, c.vh);
    FillSurfaceRect(c.x, c.y, c.w, c.h, LetterPixel('A'));
    EXPECT_EQ(c.picture, TargetRows()) << c.x << "," << c.y << " " << c.w << "x" << c.h;
  }
  RenderTarget& rt = FreshTarget(2, 1);
  rt.colourBuffer[0] = rt.colourBuffer[1] = 0x0010;
  rt.SetBlend(128);
  FillSurfaceRect(0, 0, 1, 1, 0x0010);
  EXPECT_EQ(0x0018, PixelAt(0, 0));
}

using Points = std::set<std::pair<i32, i32>>;

Points LitPoints() {
  Points points;
  for (i32 y = 0; y < GetRenderTarget().height; ++y)
    for (i32 x = 0; x < GetRenderTarget().width; ++x)
      if (PixelAt(x, y) != 0) points.insert({x, y});
  return points;
}

TEST(RenderTarget, LinesPlotBresenhamPointsClippedToTheTarget) {
  struct Case {
    i32 x0, y0, x1, y1;
    Points points;
  };
  const Case cases[] = {
      {5, 5, 5, 5, {{5, 5}}},
      {0, 0, 3, 1, {{0, 0}, {1, 0}, {2, 1}, {3, 1}}},
      {3, 1, 0, 0, {{0, 0}, {1, 0}, {2, 1}, {3, 1}}},
      {0, 0, 1, 3, {{0, 0}, {0, 1}, {1, 2}, {1, 3}}},
      {-4, 0, 9, 0, {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}}},  // outside the viewport
  };
  for (const Case& c : cases) {
    RenderTarget& rt = FreshTarget(6, 6);
    SetViewport(0, 2, 3, 3);
    rt.PlotLine(c.x0, c.y0 - 2, c.x1, c.y1 - 2, 0xFFFF);
    EXPECT_EQ(c.points, LitPoints()) << c.x0 << "," << c.y0 << " - " << c.x1 << "," << c.y1;
  }
}

// However far outside the target a line starts or ends, it lights exactly the points a plain
// Bresenham walk over its whole length lights inside the target, and it finishes at once.
Points ReferenceLine(i64 x0, i64 y0, i64 x1, i64 y1, i32 w, i32 h) {
  Points points;
  const bool steep = std::abs(y1 - y0) >= std::abs(x1 - x0);
  i64 a = steep ? y0 : x0, b = steep ? x0 : y0, da = std::abs(steep ? y1 - y0 : x1 - x0);
  i64 db = std::abs(steep ? x1 - x0 : y1 - y0), sa = (steep ? y1 > y0 : x1 > x0) ? 1 : -1;
  i64 sb = (steep ? x1 > x0 : y1 > y0) ? 1 : (steep ? x1 < x0 : y1 < y0) ? -1 : 0;
  for (i64 i = 0, err = 2 * db - da; i <= da; ++i, a += sa) {
    i64 x = steep ? b : a, y = steep ? a : b;
    if (x >= 0 && x < w && y >= 0 && y < h) points.insert({i32(x), i32(y)});
    if (err <= 0)
      err += 2 * db;
    else {
      b += sb;
      err += 2 * db - 2 * da;
    }
  }
  return points;
}

TEST(RenderTarget, LinesFromFarOutsideMatchTheFullWalk) {
  std::srand(7);
  for (i32 i = 0; i < 400; ++i) {
    i32 c[4];
    for (i32& v : c) v = std::rand() % 601 - 300;
    FreshTarget(16, 12).PlotLine(c[0], c[1], c[2], c[3], 0xFFFF);
    ASSERT_EQ(ReferenceLine(c[0], c[1], c[2], c[3], 16, 12), LitPoints())
        << c[0] << "," << c[1] << " " << c[2] << "," << c[3];
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
  struct Case {
    i32 screenW, screenH, targetW, targetH;
  };
  for (const Case& c : {Case{8, 6, 8, 6}, Case{8, 6, 5, 9}, Case{6, 4, 10, 3}}) {
    SDL_Surface* screen = SDL_SetVideoMode(c.screenW, c.screenH, 16, SDL_SWSURFACE);
    ASSERT_NE(nullptr, screen);
    SDL_FillRect(screen, nullptr, 0x1111);
    FreshTarget(c.targetW, c.targetH);
    for (i32 i = 0; i < rt.pixelCount; ++i) rt.colourBuffer[i] = static_cast<u16>(0x100 + i);
    rt.SetBlend(-100);
    const i32 setTargets = GetRendererCallRecord().setTargetsCalls;
    rt.Present();
    EXPECT_EQ(PlotPlain, rt.plot);
    EXPECT_EQ(setTargets + 1, GetRendererCallRecord().setTargetsCalls);
    for (i32 y = 0; y < c.screenH; ++y)
      for (i32 x = 0; x < c.screenW; ++x)
        ASSERT_EQ((x < c.targetW && y < c.targetH) ? 0x100 + y * c.targetW + x : 0x1111,
                  reinterpret_cast<u16*>(static_cast<u8*>(screen->pixels) + y * screen->pitch)[x]);
  }
  SDL_Quit();
}

}  // namespace
