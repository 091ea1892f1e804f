// The graphics commands over a device on a small render target: blend values, the centred zoom,
// the loaders and their fallbacks, slot numbers outside the tables, and the commands before any
// device exists.
#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/runtime_globals.h"
#include "media/font_commands.h"
#include "media/graphics_commands.h"
#include "media/graphics_device.h"
#include "media/image_commands.h"
#include "tests/files/files_fixture.h"
#include "tests/media/media_test_util.h"

namespace {

constexpr i32 kWidth = 200;
constexpr i32 kHeight = 100;

// A device over a 200 x 100 target, in a working folder with both resolver contexts.
class GraphicsCommandsTest : public FilesTest {
 protected:
  void SetUp() override {
    FilesTest::SetUp();
    FreshTarget(kWidth, kHeight);
    graphicsDevice = new OpenGLRainbows();
    graphicsDevice->width = kWidth;
    graphicsDevice->height = kHeight;
    graphicsDevice->SetViewport(0, 0, 0, 0);
    currentFont = 0;
  }
  void TearDown() override {
    delete graphicsDevice;
    graphicsDevice = nullptr;
    GetRenderTarget().SetBlend(0);
    FilesTest::TearDown();
  }
  // A picture file of letters.
  void WriteImage(const std::string& name, const Rows& rows) {
    Surface s;
    SurfaceFromRows(s, rows);
    ASSERT_EQ(1, s.SaveBmp(Path(name).c_str()));
  }
  static SpriteInfo& Info(i32 sprite) { return *graphicsDevice->Info(sprite); }
};

// The smallest rectangle holding every pixel that is not black: left, top, width, height.
std::vector<i32> PaintedBox() {
  i32 left = kWidth, top = kHeight, right = -1, bottom = -1;
  for (i32 y = 0; y < kHeight; ++y)
    for (i32 x = 0; x < kWidth; ++x)
      if (PixelAt(x, y) != 0) {
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
      }
  if (right < 0) return {};
  return {left, top, right - left + 1, bottom - top + 1};
}

TEST_F(GraphicsCommandsTest, BlendValues) {
  const f32 nan = std::numeric_limits<f32>::quiet_NaN();
  const struct {
    f32 mode;
    i32 value;        // what the mode asks
    i32 targetBlend;  // what the target keeps (-255..255)
    f32 alpha;
  } rows[] = {
      {0.0f, 0, 0, 1.0f},           {0.001f, 1, 1, 0.001f},      {-0.001f, -1, -1, 0.001f},
      {0.5f, 127, 127, 0.5f},       {-0.5f, -127, -127, 0.5f},   {1.0f, 255, 255, 1.0f},
      {2.0f, 510, 255, 1.0f},       {128.0f, 32640, 255, 1.0f},  {-128.0f, -32640, -255, 1.0f},
      // Beyond 128.5 the value would wrap in 16 bits; it is limited instead.
      {200.0f, 32767, 255, 1.0f},   {-200.0f, -32767, -255, 1.0f}, {1e30f, 32767, 255, 1.0f},
      {nan, 0, 0, 1.0f},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(row.value, BlendValueForMode(row.mode)) << row.mode;
    SetBlendMode(row.mode);
    EXPECT_EQ(row.targetBlend, GetRenderTarget().blend) << row.mode;
    EXPECT_FLOAT_EQ(row.alpha, graphicsDevice->blendAlpha) << row.mode;
  }
}

TEST_F(GraphicsCommandsTest, StretchZoomsAboutTheCentre) {
  FillRectCommand(0, 0, 32, 16, 0xFFFFFF);
  GrabSpriteCommand(5, 0, 0, 32, 16);
  const struct {
    i32 x, y;
    f32 sx, sy;
    std::vector<i32> box;
  } rows[] = {
      {100, 50, 2.0f, 0.5f, {84, 54, 64, 8}},
      {100, 50, 1.0f, 1.0f, {100, 50, 32, 16}},
      {10, 20, 0.5f, 0.25f, {18, 26, 16, 4}},
      {100, 50, 0.0f, 1.0f, {}},  // no width: nothing
  };
  for (const auto& row : rows) {
    GetRenderTarget().ClearColour();
    StretchSpriteCommand(5, row.x, row.y, row.sx, row.sy);
    EXPECT_EQ(row.box, PaintedBox()) << row.sx << " " << row.sy;
  }
}

TEST_F(GraphicsCommandsTest, SpriteLoadersAndTheirFallbacks) {
  WriteImage("ball.bmp", {"BBBB", "BBBB", "BBBB"});
  ASSERT_TRUE(WriteFileBytes(Path("game.sbx"), MakePack({{"packed.bmp", ReadFileBytes(Path("ball.bmp"))}})));
  SetPack(Path("game.sbx"));

  LoadSpriteFile(DynString("BALL.BMP"), 2);  // another letter case
  EXPECT_EQ(4, Info(2).width);
  EXPECT_EQ(3, Info(2).height);
  testing::internal::CaptureStdout();
  LoadSpriteFile(DynString("absent.bmp"), 2);  // the slot is cleared first
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(0, Info(2).width);
  EXPECT_EQ(nullptr, graphicsDevice->Sprite(2)->pixels);

  LoadSpriteFile(DynString("packed.bmp"), 3);  // from the pack, as a memory file
  EXPECT_EQ(4, Info(3).width);

  LoadAnimSpriteFile(DynString("ball.bmp"), 4, 2, 1);
  EXPECT_EQ(2, Info(4).frameWidth);
  EXPECT_EQ(1, Info(4).frameHeight);
  testing::internal::CaptureStdout();
  LoadAnimSpriteFile(DynString("absent.bmp"), 6, 2, 1);  // nothing loaded: no frame size
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(0, Info(6).frameWidth);
}

TEST_F(GraphicsCommandsTest, FontLoadersFallBackToTheBuiltInFont) {
  // A 16 x 8 picture cuts into 128 glyphs of 1 x 1.
  WriteImage("tiny.bmp", Rows(8, std::string(16, 'A')));
  const struct {
    const char* name;
    i32 font;
    i32 slot;  // where it lands, and the current font after
    i32 cw, ch;
  } rows[] = {
      {"tiny.bmp", 1, 1, 1, 1},
      {"", 40, 31, 8, 8},          // empty name: the built-in font
      {"absent.png", 2, 2, 8, 8},  // unresolvable: the built-in font
      {"TINY.BMP", -5, 0, 1, 1},
  };
  for (const auto& row : rows) {
    testing::internal::CaptureStdout();
    LoadFontFile(DynString(row.name), row.font);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(row.slot, currentFont) << row.name;
    i32 cw = 0, ch = 0;
    GetFontSizeCommand(&cw, &ch);
    EXPECT_EQ(row.cw, cw) << row.name;
    EXPECT_EQ(row.ch, ch) << row.name;
  }
  ASSERT_TRUE(WriteFileBytes(Path("broken.png"), "not a picture"));
  LoadFontFile(DynString("broken.png"), 3);  // resolves but does not load
  EXPECT_EQ(8, graphicsDevice->GetFontSize(3).width);

  for (const auto& [font, current] : {std::pair{40, 31}, {-3, 0}, {7, 7}}) {
    SetCurrentFont(font);
    EXPECT_EQ(current, currentFont);
  }
}

TEST_F(GraphicsCommandsTest, BackgroundLoadsOrIsRemoved) {
  WriteImage("back.bmp", {"CC", "CC"});
  LoadBackgroundCommand(DynString("back.bmp"));
  EXPECT_EQ(2, graphicsDevice->Screen(0)->width);
  EXPECT_EQ(LetterPixel('C'), PixelAt(1, 1));  // drawn at once
  testing::internal::CaptureStdout();
  LoadBackgroundCommand(DynString("absent.bmp"));
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(0, graphicsDevice->Screen(0)->height);
  EXPECT_EQ(0, PixelAt(1, 1));

  LoadBackgroundCommand(DynString("back.bmp"));
  ResetDrawState();
  EXPECT_EQ(0, graphicsDevice->Screen(0)->height);
  EXPECT_EQ(0, PixelAt(1, 1));
}

// Slot numbers outside the tables do nothing and answer 0; none may touch memory outside them.
TEST_F(GraphicsCommandsTest, OutOfRangeSlotsAreNoOps) {
  FillRectCommand(0, 0, 8, 8, 0xFFFFFF);
  GrabSpriteCommand(1, 0, 0, 8, 8);
  graphicsDevice->Info(1)->reserved0 = 77;
  EXPECT_EQ(77u, GetSpriteInfoWordCommand(1));
  for (i32 sprite : {-1, 65536, 70000, INT32_MIN}) {
    DrawSpriteCommand(sprite, 0, 0);
    DrawAnimFrameCommand(sprite, 1, 0, 0);
    StretchSpriteCommand(sprite, 0, 0, 2.0f, 2.0f);
    StretchSpriteRectCommand(sprite, 0, 0, 4, 4);
    RotateSpriteCommand(sprite, 0, 0, 30.0f);
    RotoZoomSpriteCommand(sprite, 0, 0, 30.0f, 2.0f);
    DrawSpriteQuadFrameCommand(sprite, 0, 0, 0, 4, 4);
    DrawSpriteQuadRotoZoomCommand(sprite, 0, 0, 0, 10.0f, 1.0f);
    GrabSpriteCommand(sprite, 0, 0, 4, 4);
    LoadSpriteFile(DynString("absent.bmp"), sprite);
    LoadAnimSpriteFile(DynString("absent.bmp"), sprite, 2, 2);
    CreateOffscreenSpriteCommand(0, sprite, 8, 8);
    BeginTexturedPolygonCommand(sprite);
    EXPECT_EQ(0u, GetSpriteInfoWordCommand(sprite));
    EXPECT_EQ(0, SpriteCollisionCommand(sprite, 0, 0, 1, 0, 0));
    EXPECT_EQ(0, SpritesCollideCommand(1, 0, 0, 0, sprite, 0, 0, 0));
    i32 w = -1, h = -1;
    GetSpriteSizeCommand(sprite, &w, &h);
    EXPECT_EQ(0, w + h);
  }
  for (i32 screen : {32, 1000, INT32_MAX}) {
    CreateOffscreenSpriteCommand(screen, 2, 8, 8);
    SelectOffscreenCommand(screen);
  }
  EXPECT_EQ(-1, graphicsDevice->currentOffscreen);
  EXPECT_EQ(0, Info(2).width);

  CreateOffscreenSpriteCommand(0, 2, 8, 8);
  SelectOffscreenCommand(0);
  EXPECT_EQ(0, graphicsDevice->currentOffscreen);
  SelectOffscreenCommand(-1);  // ends drawing into the sprite
  EXPECT_EQ(-1, graphicsDevice->currentOffscreen);
  EXPECT_EQ(1, SpriteCollisionCommand(1, 0, 0, 1, 4, 4));
}

TEST_F(GraphicsCommandsTest, FrameRateAndWithoutDevice) {
  SetFrameRateLimit(50.0f);
  EXPECT_DOUBLE_EQ(20.0, graphicsDevice->frameMs);
  SetFrameRateLimit(std::numeric_limits<f32>::quiet_NaN());
  EXPECT_DOUBLE_EQ(2.0, graphicsDevice->frameMs);
  delete graphicsDevice;
  graphicsDevice = nullptr;  // before start-up: nothing happens, everything answers 0
  i32 w = 5, h = 5;
  GetScreenSizeCommand(&w, &h);
  GetFontSizeCommand(&w, &h);
  EXPECT_EQ(0, w + h);
  DrawSpriteCommand(0, 0, 0);
  LoadFontFile(DynString(""), 4);
  EXPECT_EQ(4, currentFont);
  LoadBackgroundCommand(DynString("x"));
  SelectOffscreenCommand(-1);
  EXPECT_EQ(0, SpritesCollideCommand(0, 0, 0, 0, 0, 0, 0, 0));
}

}  // namespace
