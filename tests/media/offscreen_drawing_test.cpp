// Drawing into sprites: the texture sizes, the round trip through the screen's top-left area,
// nesting, and what the restored screen looks like.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>

#include "media/graphics_device.h"
#include "tests/media/device_fixture.h"

namespace {

using OffscreenDrawing = DeviceTest;

TEST_F(OffscreenDrawing, SpritesGetPowerOfTwoTexturesAndKeepTheirLogicalSize) {
  for (auto [w, h, tw, th] : {std::array{100, 30, 128, 32}, {0, 0, 2, 2}, {2, 3, 2, 4},
                              {64, 65, 64, 128}, {16385, 1, 0, 0}, {1, 40000, 0, 0},
                              {-1, 4, 0, 0}, {INT_MAX, 1, 0, 0}}) {  // 0: refused
    PutSprite(7, {"AB"});
    gfx->offscreen[3].sprite = 0;
    CreateOffscreenSprite(gfx.get(), 3, 7, w, h);
    const SpriteInfo& info = *gfx->Info(7);
    const Surface& surface = *gfx->Sprite(7);
    if (tw == 0) {  // the sprite is left as it was
      EXPECT_EQ((Rows{"AB"}), SurfaceRows(surface)) << w << "x" << h;
      EXPECT_EQ(0, gfx->offscreen[3].sprite);
      continue;
    }
    EXPECT_EQ(7, gfx->offscreen[3].sprite);
    EXPECT_EQ((std::array{tw, th, w, h, tw, th}),
              (std::array<i32, 6>{info.loadedWidth, info.loadedHeight, info.width, info.height,
                                  surface.width, surface.height}));
    EXPECT_EQ(tw * th, std::count(surface.pixels, surface.pixels + tw * th, surface.colourKey));
  }
}

// The screen's pixels of the transparent colour come back black; everything else unchanged.
TEST_F(OffscreenDrawing, RoundTripsRestoreTheScreenAndLeaveTheDrawingInTheSprite) {
  const Rows screen = {"ABCDEFGH", "IJKLMNOP", "QRSTUVWX", "YZABCDEF"};
  Rows restored = screen;
  restored[0][1] = '.';
  Reset(8, 4);
  PaintTarget(screen);
  gfx->SetTransparentColour(LetterRed('B'));  // a program's own transparent colour
  CreateOffscreenSprite(gfx.get(), 0, 5, 3, 2);
  CreateOffscreenSprite(gfx.get(), 1, 6, 2, 2);
  auto fill = [](i32 x, i32 y, i32 w, i32 h, char c) { FillRect(x, y, w, h, LetterRed(c)); };
  BeginOffscreenDraw(gfx.get(), 0);
  EXPECT_EQ((std::array{'B', 'B', 'D'}),  // the canvas: the transparent colour, clipped
            (std::array{PixelLetter(PixelAt(0, 0)), PixelLetter(PixelAt(2, 1)),
                        PixelLetter(PixelAt(3, 0))}));
  fill(1, 0, 10, 1, 'Z');
  SetPixel(0, 1, LetterRed('Y'));
  EndOffscreenDraw(gfx.get());
  EXPECT_EQ(-1, gfx->currentOffscreen);
  EXPECT_EQ(restored, TargetRows());
  EXPECT_EQ(8, GetRenderTarget().viewportWidth);
  EXPECT_EQ((Rows{".ZZ", "Y.."}), SurfaceRows(*gfx->Sprite(5)));
  EXPECT_EQ(3, gfx->Info(5)->loadedWidth);  // the capture replaced the texture with the canvas

  BeginOffscreenDraw(gfx.get(), 0);  // again: starts from what the sprite holds
  fill(0, 0, 1, 1, 'X');
  BeginOffscreenDraw(gfx.get(), 1);  // another slot ends the first
  EXPECT_EQ(1, gfx->currentOffscreen);
  EXPECT_EQ((Rows{"XZZ", "Y.."}), SurfaceRows(*gfx->Sprite(5)));
  EXPECT_EQ('C', PixelLetter(PixelAt(2, 0)));  // slot 0's canvas is already restored
  fill(0, 0, 2, 2, 'W');
  BeginOffscreenDraw(gfx.get(), 1);  // the same slot again: the saved screen stays
  EndOffscreenDraw(gfx.get());
  EXPECT_EQ((Rows{"WW", "WW"}), SurfaceRows(*gfx->Sprite(6)));
  EXPECT_EQ(restored, TargetRows());

  BeginOffscreenDraw(gfx.get(), 0);
  gfx.reset();  // destroying the device ends the drawing too
  EXPECT_EQ(restored, TargetRows());
}

}  // namespace
