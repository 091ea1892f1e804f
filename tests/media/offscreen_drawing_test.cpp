// Drawing into sprites: the texture sizes, the round trip through the screen's top-left area,
// nesting, and what the restored screen looks like.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
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
    CreateOffscreenSprite(gfx.get(), 0, 5, 3, 2);
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
      {100, 30, 128, 32}, {0, 0, 2, 2},       {2, 3, 2, 4},       {64, 65, 64, 128},
      {16385, 1, -1, -1}, {1, 40000, -1, -1}, {-1, 4, -1, -1},    {INT_MAX, 1, -1, -1},
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
    EXPECT_EQ((std::array<i32, 6>{c.loadedWidth, c.loadedHeight, c.w, c.h, c.loadedWidth,
                                  c.loadedHeight}),
              (std::array<i32, 6>{info.loadedWidth, info.loadedHeight, info.width, info.height,
                                  surface.width, surface.height}));
    EXPECT_EQ(i64{surface.width} * surface.height,
              std::count(surface.pixels, surface.pixels + surface.width * surface.height,
                         surface.colourKey));
  }
}

TEST_F(OffscreenDrawing, RoundTripRestoresTheScreenAndLeavesTheDrawingInTheSprite) {
  BeginOffscreenDraw(gfx.get(), 0);
  EXPECT_EQ(0, gfx->currentOffscreen);
  // The canvas: the transparent colour with the sprite's (transparent) content over it.
  EXPECT_EQ(kDefaultColourKey, PixelAt(2, 1));
  EXPECT_EQ('D', PixelLetter(PixelAt(3, 0)));
  Fill(1, 0, 10, 1, 'Z');  // clipped to the canvas
  SetPixel(0, 1, LetterRed('Y'));
  EndOffscreenDraw(gfx.get());
  EXPECT_EQ(-1, gfx->currentOffscreen);
  EXPECT_EQ(kScreen, TargetRows());
  EXPECT_EQ(8, GetRenderTarget().viewportWidth);
  EXPECT_EQ((Rows{".ZZ", "Y.."}), Sprite(5));
  EXPECT_EQ(3, gfx->Info(5)->loadedWidth);  // the capture replaced the texture with the canvas

  // Drawing into it again starts from what it holds.
  BeginOffscreenDraw(gfx.get(), 0);
  Fill(0, 0, 1, 1, 'X');
  EndOffscreenDraw(gfx.get());
  EXPECT_EQ((Rows{"XZZ", "Y.."}), Sprite(5));
  EXPECT_EQ(kScreen, TargetRows());
}

TEST_F(OffscreenDrawing, BeginningAnotherSlotOrTheSameOneEndsTheFirst) {
  CreateOffscreenSprite(gfx.get(), 1, 6, 2, 2);
  BeginOffscreenDraw(gfx.get(), 0);
  Fill(0, 0, 1, 1, 'Y');
  BeginOffscreenDraw(gfx.get(), 1);
  EXPECT_EQ(1, gfx->currentOffscreen);
  EXPECT_EQ((Rows{"Y..", "..."}), Sprite(5));
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

  BeginOffscreenDraw(gfx.get(), 0);
  gfx.reset();  // destroying the device ends the drawing too
  EXPECT_EQ(kScreen, TargetRows());
}

TEST_F(OffscreenDrawing, ScreenPixelsOfTheTransparentColourComeBackBlack) {
  gfx->SetTransparentColour(LetterRed('B'));  // a program's own transparent colour
  CreateOffscreenSprite(gfx.get(), 0, 5, 3, 2);
  BeginOffscreenDraw(gfx.get(), 0);
  EXPECT_EQ('B', PixelLetter(PixelAt(0, 0)));
  Fill(0, 0, 1, 1, 'K');
  EndOffscreenDraw(gfx.get());
  Rows expected = kScreen;
  expected[0][1] = '.';
  EXPECT_EQ(expected, TargetRows());
  EXPECT_EQ((Rows{"K..", "..."}), Sprite(5));
}

}  // namespace
