// The render target: colour conversion, the three plot rules, blend selection, fills, lines,
// depth clearing, resizing and the copy to the video surface.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <utility>
#include <vector>

#include "media/pixel_format.h"
#include "media/render_target.h"
#include "render/soft_render_context.h"
#include "tests/media/media_test_util.h"

namespace {

TEST(PixelFormat, ColourConversionTruncatesEachChannel) {
  struct Case { u32 colour; u16 pixel; };
  const Case cases[] = {
      {0x008000FF, 0xF810},  // the default transparent colour
      {0x00FFFFFF, 0xFFFF},
      {0x00000000, 0x0000},
      {0xFF000000, 0x0000},  // the top byte is ignored
      {0x000000FF, 0xF800},
      {0x0000FF00, 0x07E0},
      {0x00FF0000, 0x001F},
      {0x00070307, 0x0000},  // below one step of every channel
      {0x00080408, 0x0821},
  };
  for (const Case& c : cases) EXPECT_EQ(c.pixel, ColourToPixel(c.colour)) << std::hex << c.colour;
}

struct PlotCase {
  i32 blend;
  u16 source;
  u16 dest;
  u16 expected;
};

TEST(RenderTarget, PlotRulesGiveExactValues) {
  const PlotCase cases[] = {
      {-128, 0xF800, 0x0000, 0x7800},  // half of full red: the low bits are cut per field
      {-255, 0x07E0, 0x0000, 0x07C0},  // almost pure source, never quite
      {-1, 0x0000, 0xFFFF, 0xF7DE},    // almost pure destination
      {-1, 0xFFFF, 0x0000, 0x0000},
      {-128, 0x001F, 0x001F, 0x001E},  // each half rounds down on its own
      {255, 0xFFFF, 0xFFFF, 0xFFFF},   // saturation keeps white
      {1, 0xF800, 0xF800, 0xF800},
      {255, 0x8000, 0x8000, 0xF800},   // red saturates at its field
      {128, 0x0010, 0x0010, 0x0018},
      {64, 0x0400, 0x0020, 0x0120},
      {255, 0x0821, 0x0000, 0x0000},   // scaled bits below each field are cut off
      {0, 0x1234, 0xFFFF, 0x1234},
  };
  RenderTarget& rt = FreshTarget(1, 1);
  for (const PlotCase& c : cases) {
    rt.SetBlend(c.blend);
    u16 pixel = c.dest;
    rt.plot(&pixel, c.source);
    EXPECT_EQ(c.expected, pixel) << "blend " << c.blend << " s " << std::hex << c.source << " d "
                                 << c.dest;
  }
}

TEST(RenderTarget, SetBlendUsesLowSixteenBitsAndClamps) {
  struct Case { i32 value; i32 blend; PlotFn plot; };
  const Case cases[] = {
      {300, 255, PlotAdd},    {-300, -255, PlotAlpha}, {65536, 0, PlotPlain},
      {-256, -255, PlotAlpha}, {255, 255, PlotAdd},    {-255, -255, PlotAlpha},
      {65535, -1, PlotAlpha},  {0x10005, 5, PlotAdd},  {0, 0, PlotPlain},
  };
  RenderTarget& rt = FreshTarget(1, 1);
  for (const Case& c : cases) {
    rt.SetBlend(c.value);
    EXPECT_EQ(c.blend, rt.blend) << c.value;
    EXPECT_EQ(c.plot, rt.plot) << c.value;
  }
}

TEST(RenderTarget, ResizeGivesZeroedBuffersAndBindsTheRenderer) {
  RendererCallRecord& calls = GetRendererCallRecord();
  const i32 binds = calls.bindTargetsCalls, hooks = calls.emptyResizeHookCalls;
  RenderTarget& rt = GetRenderTarget();
  rt.Resize(7, 5, 3, 0);
  EXPECT_EQ(binds + 1, calls.bindTargetsCalls);
  EXPECT_EQ(hooks + 1, calls.emptyResizeHookCalls);
  EXPECT_EQ(5, rt.width);
  EXPECT_EQ(3, rt.height);
  EXPECT_EQ(15, rt.pixelCount);
  EXPECT_EQ(7, rt.flags);
  EXPECT_EQ(0, rt.viewportX);
  EXPECT_EQ(5, rt.viewportWidth);
  EXPECT_EQ(3, rt.viewportHeight);
  EXPECT_EQ(0u, rt.depthDirty);
  for (i32 i = 0; i < 15; ++i) {
    EXPECT_EQ(0, rt.colourBuffer[i]);
    EXPECT_EQ(static_cast<i16>(kDepthClearValue), rt.depthBuffer[i]);
  }
  SoftRenderContext& rc = GetSoftRenderContext();
  EXPECT_EQ(rt.colourBuffer, rc.colourBuffer);
  EXPECT_EQ(rt.depthBuffer, rc.depthBuffer);
  EXPECT_EQ(5, rc.pitch);
  EXPECT_EQ(3, rc.targetHeight);
  EXPECT_EQ(0xF810, rc.colourKey);
  EXPECT_EQ(1, rc.colourKeyEnabled);
  EXPECT_EQ(0u, rc.depthTestEnabled);
  EXPECT_EQ(-1, rc.currentBatch);
}

TEST(RenderTarget, NegativeOrHugeSizeGivesEmptyTarget) {
  RenderTarget& rt = GetRenderTarget();
  for (auto [w, h] : {std::pair{-4, 4}, std::pair{100000, 100000}}) {
    rt.Resize(0, w, h, 0);
    EXPECT_EQ(nullptr, rt.colourBuffer);
    EXPECT_EQ(0, rt.width);
    EXPECT_EQ(0, rt.pixelCount);
    FillSurfaceRect(0, 0, 4, 4, 0xFFFF);  // draws nothing, must not crash
    rt.PlotLine(0, 0, 3, 3, 0xFFFF);
  }
}

TEST(RenderTarget, DepthIsClearedOnlyWhenDirty) {
  RenderTarget& rt = FreshTarget(2, 2);
  rt.depthBuffer[0] = 5;
  rt.ClearDepth();
  EXPECT_EQ(5, rt.depthBuffer[0]);
  rt.depthDirty = 1;
  rt.ClearDepth();
  EXPECT_EQ(static_cast<i16>(kDepthClearValue), rt.depthBuffer[0]);
  EXPECT_EQ(0u, rt.depthDirty);
  rt.depthBuffer[3] = 9;
  rt.ClearDepth();
  EXPECT_EQ(9, rt.depthBuffer[3]);
}

TEST(RenderTarget, ClearColourIgnoresTheViewport) {
  FreshTarget(4, 4);
  FillTarget(0x1234);
  SetViewport(1, 1, 2, 2);
  GetRenderTarget().ClearColour();
  for (i32 y = 0; y < 4; ++y)
    for (i32 x = 0; x < 4; ++x) EXPECT_EQ(0, PixelAt(x, y));
}

struct FillCase {
  const char* name;
  i32 vx, vy, vw, vh;
  i32 x, y, w, h;
  std::vector<std::string> picture;
};

TEST(RenderTarget, FillsAreClippedToTheViewport) {
  const FillCase cases[] = {
      {"left edge", 0, 0, 6, 4, -2, 0, 5, 1, {"###...", "......", "......", "......"}},
      {"negative width moves left", 0, 0, 6, 4, 4, 1, -3, 2, {"......", ".###..", ".###..", "......"}},
      {"negative height moves up", 0, 0, 6, 4, 0, 3, 2, -2, {"......", "##....", "##....", "......"}},
      {"offset viewport", 1, 1, 3, 2, -1, -1, 10, 10, {"......", ".###..", ".###..", "......"}},
      {"inside offset viewport", 2, 1, 4, 3, 1, 1, 2, 1, {"......", "......", "...##.", "......"}},
      {"past the right", 0, 0, 6, 4, 5, 3, 4, 4, {"......", "......", "......", ".....#"}},
      {"outside", 1, 1, 3, 2, 3, 0, 2, 2, {"......", "......", "......", "......"}},
      {"zero width", 0, 0, 6, 4, 1, 1, 0, 2, {"......", "......", "......", "......"}},
  };
  for (const FillCase& c : cases) {
    FreshTarget(6, 4);
    SetViewport(c.vx, c.vy, c.vw, c.vh);
    FillSurfaceRect(c.x, c.y, c.w, c.h, 0xFFFF);
    EXPECT_EQ(c.picture, TargetPicture(0)) << c.name;
  }
}

TEST(RenderTarget, BlendedFillGoesThroughThePlotRule) {
  RenderTarget& rt = FreshTarget(2, 1);
  FillTarget(0x0010);
  rt.SetBlend(128);
  FillSurfaceRect(0, 0, 1, 1, 0x0010);
  EXPECT_EQ(0x0018, PixelAt(0, 0));
  EXPECT_EQ(0x0010, PixelAt(1, 0));
}

using PointSet = std::set<std::pair<i32, i32>>;

PointSet LitPoints() {
  PointSet points;
  const RenderTarget& rt = GetRenderTarget();
  for (i32 y = 0; y < rt.height; ++y)
    for (i32 x = 0; x < rt.width; ++x)
      if (PixelAt(x, y) != 0) points.insert({x, y});
  return points;
}

TEST(RenderTarget, LinesPlotBresenhamPoints) {
  struct Case { i32 x0, y0, x1, y1; PointSet points; };
  const Case cases[] = {
      {5, 5, 5, 5, {{5, 5}}},
      {0, 0, 3, 1, {{0, 0}, {1, 0}, {2, 1}, {3, 1}}},
      {3, 1, 0, 0, {{0, 0}, {1, 0}, {2, 1}, {3, 1}}},
      {0, 0, 1, 3, {{0, 0}, {0, 1}, {1, 2}, {1, 3}}},
      {0, 0, 2, 2, {{0, 0}, {1, 1}, {2, 2}}},
      {2, 0, 2, 3, {{2, 0}, {2, 1}, {2, 2}, {2, 3}}},
      {6, 1, 3, 1, {{3, 1}, {4, 1}, {5, 1}, {6, 1}}},
  };
  for (const Case& c : cases) {
    RenderTarget& rt = FreshTarget(8, 8);
    rt.PlotLine(c.x0, c.y0, c.x1, c.y1, 0xFFFF);
    EXPECT_EQ(c.points, LitPoints()) << c.x0 << "," << c.y0 << " - " << c.x1 << "," << c.y1;
  }
}

TEST(RenderTarget, LinesAreClippedToTheTargetNotTheViewport) {
  RenderTarget& rt = FreshTarget(8, 8);
  SetViewport(2, 2, 4, 4);
  rt.PlotLine(-2, -2, 10, -2, 0xFFFF);  // viewport row -2 is target row 0
  PointSet expected;
  for (i32 x = 0; x < 8; ++x) expected.insert({x, 0});
  EXPECT_EQ(expected, LitPoints());
}

// Every line, however far outside the target it starts or ends, lights exactly the points a
// plain Bresenham walk over its whole length would light inside the target.
PointSet ReferenceLine(i64 x0, i64 y0, i64 x1, i64 y1, i32 w, i32 h) {
  PointSet points;
  i64 dx = std::abs(x1 - x0), dy = std::abs(y1 - y0);
  i64 sx = x1 > x0 ? 1 : x1 < x0 ? -1 : 0, sy = y1 > y0 ? 1 : y1 < y0 ? -1 : 0;
  i64 x = x0, y = y0;
  auto put = [&] { if (x >= 0 && x < w && y >= 0 && y < h) points.insert({i32(x), i32(y)}); };
  if (dx > dy) {
    for (i64 i = 0, err = 2 * dy - dx; i <= dx; ++i, x += sx) {
      put();
      if (err <= 0) err += 2 * dy; else { y += sy; err += 2 * dy - 2 * dx; }
    }
  } else {
    for (i64 i = 0, err = 2 * dx - dy; i <= dy; ++i, y += sy) {
      put();
      if (err <= 0) err += 2 * dx; else { x += sx; err += 2 * dx - 2 * dy; }
    }
  }
  return points;
}

TEST(RenderTarget, LinesFromFarOutsideMatchTheFullWalk) {
  std::srand(7);
  for (i32 i = 0; i < 400; ++i) {
    auto coord = [] { return std::rand() % 601 - 300; };
    i32 x0 = coord(), y0 = coord(), x1 = coord(), y1 = coord();
    RenderTarget& rt = FreshTarget(16, 12);
    rt.PlotLine(x0, y0, x1, y1, 0xFFFF);
    ASSERT_EQ(ReferenceLine(x0, y0, x1, y1, 16, 12), LitPoints())
        << x0 << "," << y0 << " - " << x1 << "," << y1;
  }
}

TEST(RenderTarget, LinesWithExtremeCoordinatesFinish) {
  RenderTarget& rt = FreshTarget(8, 8);
  rt.PlotLine(INT32_MIN, 3, INT32_MAX, 4, 0xFFFF);
  rt.PlotLine(INT32_MAX, INT32_MIN, INT32_MIN, INT32_MAX, 0xFFFF);
  rt.PlotLine(-1000000000, -1000000000, 1000000000, 1000000000, 0xFFFF);
  for (i32 i = 0; i < 8; ++i) EXPECT_NE(0, PixelAt(i, i));
}

TEST(RenderTarget, RotateBufferTurnsCounterClockwise) {
  RenderTarget& rt = FreshTarget(3, 2);
  u16 image[6] = {1, 2, 3, 4, 5, 6};  // rows {1 2 3} {4 5 6}
  rt.RotateBuffer(image);
  const u16 turned[6] = {3, 6, 2, 5, 1, 4};
  for (i32 i = 0; i < 6; ++i) EXPECT_EQ(turned[i], image[i]) << i;
  i32 w = 0, h = 0;
  rt.GetSize(&w, &h);
  EXPECT_EQ(3, w);
  rt.rotated = 1;
  rt.GetSize(&w, &h);
  EXPECT_EQ(2, w);
  EXPECT_EQ(3, h);
}

class PresentTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(0, SDL_Init(SDL_INIT_VIDEO)) << SDL_GetError(); }
  void TearDown() override { SDL_Quit(); }
  static u16 ScreenPixel(SDL_Surface* s, i32 x, i32 y) {
    return reinterpret_cast<const u16*>(static_cast<const u8*>(s->pixels) + y * s->pitch)[x];
  }
};

TEST_F(PresentTest, CopiesTheSmallerOfBothSizesAndResetsTheBlend) {
  struct Case { i32 screenW, screenH, targetW, targetH; };
  for (const Case& c : {Case{8, 6, 8, 6}, Case{8, 6, 5, 9}, Case{6, 4, 10, 3}}) {
    SDL_Surface* screen = SDL_SetVideoMode(c.screenW, c.screenH, 16, SDL_SWSURFACE);
    ASSERT_NE(nullptr, screen);
    SDL_FillRect(screen, nullptr, 0x1111);
    RenderTarget& rt = FreshTarget(c.targetW, c.targetH);
    for (i32 i = 0; i < rt.pixelCount; ++i) rt.colourBuffer[i] = static_cast<u16>(0x100 + i);
    rt.SetBlend(-100);
    const i32 setTargets = GetRendererCallRecord().setTargetsCalls;
    rt.Present();
    EXPECT_EQ(0, rt.blend);
    EXPECT_EQ(PlotPlain, rt.plot);
    EXPECT_EQ(setTargets + 1, GetRendererCallRecord().setTargetsCalls);
    for (i32 y = 0; y < c.screenH; ++y) {
      for (i32 x = 0; x < c.screenW; ++x) {
        u16 expected = (x < c.targetW && y < c.targetH) ? static_cast<u16>(0x100 + y * c.targetW + x)
                                                         : 0x1111;
        ASSERT_EQ(expected, ScreenPixel(screen, x, y)) << x << "," << y;
      }
    }
  }
}

TEST(RenderTargetNoVideo, PresentWithoutSurfaceStillResetsTheBlend) {
  RenderTarget& rt = FreshTarget(2, 2);
  rt.SetBlend(50);
  testing::internal::CaptureStdout();
  rt.Present();
  EXPECT_EQ("SDL_GetVideoSurface == NULL\n", testing::internal::GetCapturedStdout());
  EXPECT_EQ(0, rt.blend);
}

}  // namespace
