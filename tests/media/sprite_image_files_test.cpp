// Sprite and screen image files: save-then-load round trips in both formats, the transparent
// colour as the files' transparency, the choice of format by name, the rows taken from the
// buffer, and the slots left behind by failed loads.
#include "media/sprite_image_files.h"

#include <gtest/gtest.h>

#include <array>
#include <tuple>

#include "media/bmp_image.h"
#include "media/png_image.h"
#include "tests/media/media_test_util.h"
#include "tests/support/test_support.h"

namespace {

const std::string kKeyInPng = "f8008000 ";  // the transparent colour with alpha 0
const std::string kKeyInBmp = "ff0080ff ";  // R 255, G 0, B 128

class SpriteImageFiles : public DeviceTest {
 protected:
  ScopedTempDir dir;
};

// A picture file read back without key, as "RRGGBBAA " per pixel.
Rows ReadBack(const std::string& path) {
  OwnedRgbaImage image;
  if (LoadBmpImage(image.image, path.c_str(), kNoColourKey) == 0 &&
      LoadPngImage(image.image, path.c_str(), kNoColourKey) == 0) {
    return {"unreadable"};
  }
  return RgbaRows(image.image);
}

// An opaque pixel of red r, as ReadBack shows it.
std::string Red(u8 r) {
  char text[12];
  std::snprintf(text, sizeof text, "%02x0000ff ", r);
  return text;
}
std::string Hex(char letter) { return Red(LetterRed(letter)); }

TEST_F(SpriteImageFiles, SavedSpritesReadBackWithTheKeyAsTransparency) {
  PutSprite(4, {"A.B", "CDE"});
  for (auto [name, png] : {std::pair{"lower.bmp", false}, {"UPPER.PnG", true},
                           {"lower.png.bak", false}, {"plain", false}}) {
    const std::string path = dir.File(name);
    ASSERT_EQ(1, gfx->SaveSprite(4, path.c_str())) << name;
    EXPECT_EQ(png ? "\x89P" : "BM", ReadFileBytes(path).substr(0, 2)) << name;
    EXPECT_EQ((Rows{Hex('A') + (png ? kKeyInPng : kKeyInBmp) + Hex('B'),
                    Hex('C') + Hex('D') + Hex('E')}),
              ReadBack(path))
        << name;
    ASSERT_EQ(1, gfx->LoadSprite(6, path.c_str(), gfx->transparentColour));
    EXPECT_EQ((Rows{"A.B", "CDE"}), SurfaceRows(*gfx->Sprite(6))) << name;
    const SpriteInfo& info = *gfx->Info(6);
    EXPECT_EQ((std::array<i16, 4>{3, 2, 3, 2}),
              (std::array{info.width, info.height, info.loadedWidth, info.loadedHeight}));
  }
}

TEST_F(SpriteImageFiles, TheBufferIsReadBottomUpWithinItsSizeOrRefused) {
  u8 pixels[3 * 3 * 3] = {};  // three rows of three B, G, R pixels, red 8 to 72
  for (i32 i = 0; i < 9; ++i) pixels[i * 3 + 2] = static_cast<u8>(8 * (i + 1));
  const std::string path = dir.File("b.png");
  ASSERT_EQ(1, SaveImageFile(gfx.get(), path.c_str(), pixels, 2, 2, 3, 3, 0));
  EXPECT_EQ((Rows{Red(32) + Red(40), Red(8) + Red(16)}), ReadBack(path));  // the first 2 rows
  testing::internal::CaptureStdout();
  for (auto [name, width, height] : {std::tuple{"c.bmp", 4, 1}, {"d.bmp", 2, 4}, {"e.png", 0, 1},
                                     {"mem://       8.1234", 2, 2}, {"/no/such/x.png", 2, 2}})
    EXPECT_EQ(0, SaveImageFile(gfx.get(), name, pixels, width, height, 3, 3, 1)) << name;
  EXPECT_EQ(0, SaveImageFile(gfx.get(), nullptr, pixels, 2, 2, 3, 3, 1));
  EXPECT_EQ(0, gfx->SaveSprite(1, dir.File("empty.png").c_str()));  // nothing in the slot
  testing::internal::GetCapturedStdout();
}

TEST_F(SpriteImageFiles, TheScreenSavesFromTheViewportOrigin) {
  Reset(4, 3);
  PaintTarget({"ABCD", "EFGH", "IJKL"});
  gfx->SetViewport(2, 1, 2, 2);  // what lies outside the viewport saves as transparent
  ASSERT_EQ(1, SaveScreenImage(gfx.get(), dir.File("view.png").c_str()));
  const std::string none = kKeyInPng + kKeyInPng;
  EXPECT_EQ((Rows{Hex('G') + Hex('H') + none, Hex('K') + Hex('L') + none, none + none}),
            ReadBack(dir.File("view.png")));

  CreateOffscreenSprite(gfx.get(), 0, 8, 3, 1);  // a texture of 4 x 2: the logical size saves
  ASSERT_EQ(1, gfx->SaveSprite(8, dir.File("canvas.png").c_str()));
  EXPECT_EQ(Rows(1, kKeyInPng + kKeyInPng + kKeyInPng), ReadBack(dir.File("canvas.png")));

  // The key is the transparent colour as the back buffer would store it, probed in a copy.
  Reset(8, 6);
  RenderTarget& rt = GetRenderTarget();
  rt.colourBuffer[4 * 8 + 4] = LetterPixel('C');
  rt.SetBlend(-128);
  EXPECT_EQ(0x88004000u, ProbeStoredColour(gfx.get()));  // half of 0xF810 over red 24
  EXPECT_EQ(LetterPixel('C'), PixelAt(4, 4));             // the probed pixel is left as it was
  gfx->SetViewport(5, 3, 3, 3);  // the probe falls outside the target: over black
  EXPECT_EQ(0x78004000u, ProbeStoredColour(gfx.get()));
  rt.SetBlend(0);
}

TEST_F(SpriteImageFiles, FailedLoadsEmptyASpriteButKeepAScreen) {
  PutSprite(1, {"A."});
  gfx->SetTransparentColour(LetterRed('Z'));  // 0xF810 is no longer the key: a plain colour
  const std::string path = dir.File("ab.bmp");
  ASSERT_EQ(1, gfx->SaveSprite(1, path.c_str()));
  EXPECT_EQ(std::string(2, '\0'), ReadFileBytes(path).substr(54 + 6));  // the row's padding
  gfx->SetSpriteFrameSize(5, 1, 1);
  ASSERT_EQ(1, gfx->LoadSprite(5, path.c_str(), kNoColourKey));
  ASSERT_EQ(1, gfx->LoadScreenSlot(2, path.c_str()));
  EXPECT_EQ(kDefaultColourKey, gfx->Screen(2)->pixels[1]);

  ASSERT_TRUE(WriteFileBytes(dir.File("bad.bmp"), "BM not a picture"));
  for (const std::string& bad : {dir.File("missing.png"), dir.File("bad.bmp")}) {
    EXPECT_EQ(0, gfx->LoadSprite(5, bad.c_str(), kNoColourKey));
    EXPECT_EQ(nullptr, gfx->Sprite(5)->pixels);
    const SpriteInfo& info = *gfx->Info(5);
    EXPECT_EQ((std::array<i16, 4>{-1, 0, 1, 1}),
              (std::array{info.loadedWidth, info.width, info.frameWidth, info.frameHeight}));
    EXPECT_EQ(0, gfx->LoadScreenSlot(2, bad.c_str()));
    EXPECT_EQ(kDefaultColourKey, gfx->Screen(2)->pixels[1]);  // the old picture stays
  }
  EXPECT_EQ(0, gfx->LoadSprite(5, nullptr, 0));
}

}  // namespace
