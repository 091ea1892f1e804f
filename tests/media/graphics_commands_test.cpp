// The graphics commands over a device on a small render target: blend values, the centred zoom,
// the loaders and their fallbacks, and the commands before any device exists.
#include <array>
#include <limits>
#include <string>
#include <tuple>

#include <gtest/gtest.h>

#include "core/runtime_globals.h"
#include "media/font_commands.h"
#include "media/graphics_commands.h"
#include "media/graphics_device.h"
#include "media/image_commands.h"
#include "tests/files/files_fixture.h"
#include "tests/media/media_test_util.h"

namespace {

constexpr f32 kNaN = std::numeric_limits<f32>::quiet_NaN();

// A device over a 200 x 100 target, in a working folder with both resolver contexts.
class GraphicsCommandsTest : public FilesTest {
 protected:
  void SetUp() override {
    FilesTest::SetUp();
    FreshTarget(200, 100);
    graphicsDevice = new OpenGLRainbows();
    graphicsDevice->SetViewport(0, 0, 0, 0);
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

TEST_F(GraphicsCommandsTest, BlendValuesAreLimitedAndNeverZeroForANonZeroMode) {
  // The mode, the value it asks, what the target keeps (-255..255), the blend alpha.
  for (auto [mode, value, targetBlend, alpha] :
       {std::tuple{0.0f, 0, 0, 1.0f}, {0.001f, 1, 1, 0.001f}, {-0.001f, -1, -1, 0.001f},
        {-0.5f, -127, -127, 0.5f}, {2.0f, 510, 255, 1.0f}, {-128.0f, -32640, -255, 1.0f},
        {200.0f, 32767, 255, 1.0f}, {-200.0f, -32767, -255, 1.0f},  // would wrap in 16 bits
        {kNaN, 0, 0, 1.0f}}) {
    EXPECT_EQ(value, BlendValueForMode(mode)) << mode;
    SetBlendMode(mode);
    EXPECT_EQ(targetBlend, GetRenderTarget().blend) << mode;
    EXPECT_FLOAT_EQ(alpha, graphicsDevice->blendAlpha) << mode;
  }
}

TEST_F(GraphicsCommandsTest, LoadersAndTheirFallbacks) {
  WriteImage("ball.bmp", {"BBBB", "BBBB", "BBBB"});
  testing::internal::CaptureStdout();
  LoadSpriteFile(DynString("BALL.BMP"), 2);  // another letter case
  EXPECT_EQ(4, Info(2).width);
  LoadSpriteFile(DynString("absent.bmp"), 2);  // the slot is cleared first
  EXPECT_EQ(nullptr, graphicsDevice->Sprite(2)->pixels);
  LoadAnimSpriteFile(DynString("ball.bmp"), 4, 2, 1);
  EXPECT_EQ(2, Info(4).frameWidth);
  LoadAnimSpriteFile(DynString("absent.bmp"), 6, 2, 1);  // nothing loaded: no frame size
  EXPECT_EQ(0, Info(6).frameWidth);

  WriteImage("tiny.bmp", Rows(8, std::string(16, 'A')));  // 128 glyphs of 1 x 1
  ASSERT_TRUE(WriteFileBytes(Path("broken.png"), "not a picture"));
  for (auto [name, font, slot, size] : {std::tuple{"tiny.bmp", 1, 1, 1}, {"", 40, 31, 8},
                                        {"absent.png", -5, 0, 8}, {"broken.png", 3, 3, 8}}) {
    LoadFontFile(DynString(name), font);  // the built-in font unless the picture loads
    EXPECT_EQ(slot, currentFont) << name;
    i32 cw = 0, ch = 0;
    GetFontSizeCommand(&cw, &ch);
    EXPECT_EQ((std::pair{size, size}), (std::pair{cw, ch})) << name;
  }

  WriteImage("back.bmp", {"CC", "CC"});
  LoadBackgroundCommand(DynString("back.bmp"));
  EXPECT_EQ(LetterPixel('C'), PixelAt(1, 1));  // drawn at once
  LoadBackgroundCommand(DynString("absent.bmp"));
  EXPECT_EQ(0, graphicsDevice->Screen(0)->height);
  EXPECT_EQ(0, PixelAt(1, 1));
  LoadBackgroundCommand(DynString("back.bmp"));
  ResetDrawState();
  EXPECT_EQ(0, graphicsDevice->Screen(0)->height);
  EXPECT_EQ(0, PixelAt(1, 1));
  testing::internal::GetCapturedStdout();
}

TEST_F(GraphicsCommandsTest, StretchOffscreenSelectionFrameRateAndNoDevice) {
  FillRectCommand(0, 0, 32, 16, 0xFFFFFF);
  GrabSpriteCommand(5, 0, 0, 32, 16);
  for (auto [sx, sy, box] : {std::tuple{2.0f, 0.5f, std::array{84, 54, 147, 61}},
                             {0.0f, 1.0f, std::array{200, 100, -1, -1}}}) {
    GetRenderTarget().ClearColour();
    StretchSpriteCommand(5, 100, 50, sx, sy);
    EXPECT_EQ(box, DrawnBox()) << sx << " " << sy;
  }
  CreateOffscreenSpriteCommand(0, 2, 8, 8);
  SelectOffscreenCommand(0);
  EXPECT_EQ(0, graphicsDevice->currentOffscreen);
  SelectOffscreenCommand(-1);  // ends drawing into the sprite
  EXPECT_EQ(-1, graphicsDevice->currentOffscreen);
  SetFrameRateLimit(kNaN);
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
