// Drawing into sprites: the texture sizes, the round trip through the screen's top-left area,
// nesting, and what the restored screen looks like.
#include <gtest/gtest.h>

#include <climits>

#include "media/graphics_device.h"
#include "tests/media/device_fixture.h"

namespace {

const Rows kScreen = {"ABCDEFGH", "IJKLMNOP", "QRSTUVWX", "YZABCDEF"};

class OffscreenDrawing : public DeviceTest {
 protected:
  void SetUp() override {
    Reset(8, 4);
    PaintTarget(kScreen);
  }
  void Fill(i32 x, i32 y, i32 w, i32 h, char c) { FillRect(x, y, w, h, LetterRed(c)); }
  Rows Sprite(i32 i) { return SurfaceRows(*gfx->Sprite(i)); }
};

TEST_F(OffscreenDrawing, SpritesGetPowerOfTwoTexturesAndKeepTheirLogicalSize) {
  struct Case {
    i32 w, h;
    i16 loadedWidth, loadedHeight;  // -1: refused, the sprite is left as it was
  };
  const Case cases[] = {
      {100, 30, 128, 32}, {1, 1, 2, 2},         {0, 0, 2, 2},         {2, 3, 2, 4},
      {64, 65, 64, 128},  {4096, 1, 4096, 2},   {16385, 1, -1, -1},   {1, 40000, -1, -1},
      {-1, 4, -1, -1},    {INT_MAX, 1, -1, -1}, {1, INT_MIN, -1, -1},
  };
  for (const Case& c : cases) {
    PutSprite(7, {"AB"});
    gfx->offscreen[3].sprite = 0;
    CreateOffscreenSprite(gfx.get(), 3, 7, c.w, c.h);
    const SpriteInfo& info = *gfx->Info(7);
    const Surface& surface = *gfx->Sprite(7);
    if (c.loadedWidth < 0) {
      EXPECT_EQ((Rows{"AB"}), Sprite(7)) << c.w << "x" << c.h;
      EXPECT_EQ(0, gfx->offscreen[3].sprite);
      continue;
    }
    EXPECT_EQ(7, gfx->offscreen[3].sprite);
    EXPECT_EQ(c.loadedWidth, info.loadedWidth) << c.w << "x" << c.h;
    EXPECT_EQ(c.loadedHeight, info.loadedHeight) << c.w << "x" << c.h;
    EXPECT_EQ(c.w, info.width);
    EXPECT_EQ(c.h, info.height);
    EXPECT_EQ(c.loadedWidth, surface.width);
    EXPECT_EQ(c.loadedHeight, surface.height);
    EXPECT_EQ(1, surface.hasKey);
    EXPECT_EQ(0xF810, surface.colourKey);
    EXPECT_EQ(i64{surface.width} * surface.height,
              std::count(surface.pixels, surface.pixels + surface.width * surface.height,
                         surface.colourKey));
  }
}

TEST_F(OffscreenDrawing, RoundTripRestoresTheScreenAndLeavesTheDrawingInTheSprite) {
  CreateOffscreenSprite(gfx.get(), 0, 5, 3, 2);
  BeginOffscreenDraw(gfx.get(), 0);
  EXPECT_EQ(0, gfx->currentOffscreen);
  EXPECT_EQ(3, GetRenderTarget().viewportWidth);
  EXPECT_EQ(2, GetRenderTarget().viewportHeight);
  // The canvas: the transparent colour with the sprite's (transparent) content over it.
  EXPECT_EQ(kDefaultColourKey, PixelAt(0, 0));
  EXPECT_EQ(kDefaultColourKey, PixelAt(2, 1));
  EXPECT_EQ('D', PixelLetter(PixelAt(3, 0)));
  Fill(1, 0, 10, 1, 'Z');  // clipped to the canvas
  SetPixel(0, 1, LetterRed('Y'));
  EndOffscreenDraw(gfx.get());
  EXPECT_EQ(-1, gfx->currentOffscreen);
  EXPECT_EQ(kScreen, TargetRows());
  EXPECT_EQ(8, GetRenderTarget().viewportWidth);
  EXPECT_EQ(4, GetRenderTarget().viewportHeight);
  EXPECT_EQ((Rows{".ZZ", "Y.."}), Sprite(5));
  const SpriteInfo& info = *gfx->Info(5);
  EXPECT_EQ(3, info.loadedWidth);  // the capture replaced the texture with the canvas
  EXPECT_EQ(2, info.loadedHeight);

  // Drawing into it again starts from what it holds.
  BeginOffscreenDraw(gfx.get(), 0);
  EXPECT_EQ('Z', PixelLetter(PixelAt(1, 0)));
  Fill(0, 0, 1, 1, 'X');
  EndOffscreenDraw(gfx.get());
  EXPECT_EQ((Rows{"XZZ", "Y.."}), Sprite(5));
  EXPECT_EQ(kScreen, TargetRows());
}

TEST_F(OffscreenDrawing, BeginningAnotherSlotOrTheSameOneEndsTheFirst) {
  CreateOffscreenSprite(gfx.get(), 0, 5, 3, 2);
  CreateOffscreenSprite(gfx.get(), 1, 6, 2, 2);
  BeginOffscreenDraw(gfx.get(), 0);
  Fill(0, 0, 1, 1, 'Y');
  BeginOffscreenDraw(gfx.get(), 1);
  EXPECT_EQ(1, gfx->currentOffscreen);
  EXPECT_EQ((Rows{"Y..", "..."}), Sprite(5));
  EXPECT_EQ(kDefaultColourKey, PixelAt(1, 1));
  EXPECT_EQ('C', PixelLetter(PixelAt(2, 0)));  // slot 0's canvas is already restored
  Fill(0, 0, 2, 2, 'X');
  EndOffscreenDraw(gfx.get());
  EXPECT_EQ((Rows{"XX", "XX"}), Sprite(6));
  EXPECT_EQ(kScreen, TargetRows());

  // Again on the slot in use: the saved screen is not overwritten by the canvas.
  BeginOffscreenDraw(gfx.get(), 0);
  Fill(0, 0, 3, 2, 'Q');
  BeginOffscreenDraw(gfx.get(), 0);
  EndOffscreenDraw(gfx.get());
  EXPECT_EQ((Rows{"QQQ", "QQQ"}), Sprite(5));
  EXPECT_EQ(kScreen, TargetRows());

  EndOffscreenDraw(gfx.get());  // nothing in progress: only the viewport is reset
  EXPECT_EQ(kScreen, TargetRows());
}

TEST_F(OffscreenDrawing, ScreenPixelsOfTheTransparentColourComeBackBlack) {
  GetRenderTarget().colourBuffer[1] = kDefaultColourKey;
  CreateOffscreenSprite(gfx.get(), 0, 5, 3, 2);
  BeginOffscreenDraw(gfx.get(), 0);
  EndOffscreenDraw(gfx.get());
  Rows expected = kScreen;
  expected[0][1] = '.';
  EXPECT_EQ(expected, TargetRows());

  gfx->SetTransparentColour(LetterRed('B'));  // a program's own transparent colour
  PaintTarget(kScreen);
  CreateOffscreenSprite(gfx.get(), 0, 5, 3, 2);
  BeginOffscreenDraw(gfx.get(), 0);
  EXPECT_EQ('B', PixelLetter(PixelAt(0, 0)));
  Fill(0, 0, 1, 1, 'K');
  EndOffscreenDraw(gfx.get());
  EXPECT_EQ(expected, TargetRows());
  EXPECT_EQ((Rows{"K..", "..."}), Sprite(5));
}

TEST_F(OffscreenDrawing, DestroyingTheDeviceEndsTheDrawing) {
  CreateOffscreenSprite(gfx.get(), 0, 5, 3, 2);
  BeginOffscreenDraw(gfx.get(), 0);
  Fill(0, 0, 3, 2, 'Q');
  gfx.reset();
  EXPECT_EQ(kScreen, TargetRows());
  EXPECT_EQ(8, GetRenderTarget().viewportWidth);
}

}  // namespace
