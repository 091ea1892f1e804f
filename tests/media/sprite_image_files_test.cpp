// Sprite and screen image files: save-then-load round trips in both formats, the transparent
// colour as the files' transparency, the choice of format by name, the rows taken from the
// buffer, and the slots left behind by failed loads.
#include "media/sprite_image_files.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <array>

#include "media/bmp_image.h"
#include "media/png_image.h"
#include "tests/media/device_fixture.h"
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
  struct Case {
    const char* name;
    bool png;
  };
  const Case cases[] = {
      {"lower.bmp", false},  {"lower.png", true}, {"UPPER.PnG", true}, {"lower.png.bak", false},
      {"lower.pngx", false}, {"plain", false},    {".png", false},  // four characters: no room for
                                                                    // a name before the suffix
  };
  PutSprite(4, {"A.B", "CDE"});
  // The names are used as given, relative to the working directory.
  char saved[4096];
  ASSERT_NE(nullptr, getcwd(saved, sizeof saved));
  ASSERT_EQ(0, chdir(dir.path().c_str()));
  for (const Case& c : cases) {
    ASSERT_EQ(1, gfx->SaveSprite(4, c.name)) << c.name;
    EXPECT_EQ(c.png ? "\x89P" : "BM", ReadFileBytes(c.name).substr(0, 2)) << c.name;
    EXPECT_EQ((Rows{Hex('A') + (c.png ? kKeyInPng : kKeyInBmp) + Hex('B'),
                    Hex('C') + Hex('D') + Hex('E')}),
              ReadBack(c.name))
        << c.name;
    ASSERT_EQ(1, gfx->LoadSprite(6, c.name, gfx->transparentColour));
    EXPECT_EQ((Rows{"A.B", "CDE"}), SurfaceRows(*gfx->Sprite(6))) << c.name;
    const SpriteInfo& info = *gfx->Info(6);
    EXPECT_EQ((std::array<i16, 4>{3, 2, 3, 2}),
              (std::array{info.width, info.height, info.loadedWidth, info.loadedHeight}));
  }
  ASSERT_EQ(0, chdir(saved));
  // A 3-pixel row is 9 bytes of pixels and 3 of zero padding.
  const std::string bmp = ReadFileBytes(dir.File("lower.bmp"));
  ASSERT_EQ(54u + 2 * 12, bmp.size());
  EXPECT_EQ(std::string(3, '\0'), bmp.substr(54 + 9, 3));
  EXPECT_EQ(std::string(3, '\0'), bmp.substr(54 + 12 + 9, 3));
}

TEST_F(SpriteImageFiles, TheBufferIsReadTopDownOrBottomUpWithinItsSize) {
  u8 pixels[3 * 3 * 3] = {};  // three rows of three B, G, R pixels, red 8 to 72
  for (i32 i = 0; i < 9; ++i) pixels[i * 3 + 2] = static_cast<u8>(8 * (i + 1));
  struct Case {
    const char* name;
    u8 topDown;
    i32 width, height;
    Rows picture;  // empty: refused
  };
  const Case cases[] = {
      {"a.bmp", 1, 2, 2, {Red(8) + Red(16), Red(32) + Red(40)}},  // the buffer's first rows
      {"a.png", 1, 2, 2, {Red(8) + Red(16), Red(32) + Red(40)}},
      {"b.bmp", 0, 2, 2, {Red(32) + Red(40), Red(8) + Red(16)}},  // the same, bottom first
      {"b.png", 0, 2, 2, {Red(32) + Red(40), Red(8) + Red(16)}},
      {"c.bmp", 1, 4, 1, {}},  // wider than a buffer row
      {"d.bmp", 1, 2, 4, {}},  // more rows than the buffer
      {"e.png", 1, 0, 1, {}},
      {"f.png", 1, 2, -1, {}},
  };
  for (const Case& c : cases) {
    const std::string path = dir.File(c.name);
    EXPECT_EQ(c.picture.empty() ? 0 : 1,
              SaveImageFile(gfx.get(), path.c_str(), pixels, c.width, c.height, 3, 3, c.topDown))
        << c.name;
    if (!c.picture.empty()) {
      EXPECT_EQ(c.picture, ReadBack(path)) << c.name;
    }
  }
  testing::internal::CaptureStdout();
  for (const char* refused : {"mem://       8.1234", "/no/such/folder/x.bmp", "/no/such/x.png"})
    EXPECT_EQ(0, SaveImageFile(gfx.get(), refused, pixels, 2, 2, 3, 3, 1)) << refused;
  EXPECT_EQ(0, SaveImageFile(gfx.get(), nullptr, pixels, 2, 2, 3, 3, 1));
  EXPECT_EQ(0, SaveImageFile(gfx.get(), dir.File("n.png").c_str(), nullptr, 2, 2, 3, 3, 1));
  EXPECT_EQ(0, gfx->SaveSprite(1, dir.File("empty.png").c_str()));  // nothing in the slot
  testing::internal::GetCapturedStdout();
}

TEST_F(SpriteImageFiles, TheKeyIsTheTransparentColourAsTheBackBufferWouldStoreIt) {
  auto widened = [](u16 p) {
    return u32{PixelRed8(p)} << 24 | u32{PixelGreen8(p)} << 16 | u32{PixelBlue8(p)} << 8;
  };
  EXPECT_EQ(0xF8008000u, ProbeStoredColour(gfx.get()));
  RenderTarget& rt = GetRenderTarget();
  rt.colourBuffer[4 * 8 + 4] = LetterPixel('C');
  rt.SetBlend(-128);
  EXPECT_EQ(widened(BlendAlpha(0xF810, LetterPixel('C'), 128)), ProbeStoredColour(gfx.get()));
  PutSprite(2, {"AB"});
  ASSERT_EQ(1, gfx->SaveSprite(2, dir.File("blend.bmp").c_str()));
  EXPECT_EQ(LetterPixel('C'), PixelAt(4, 4));  // the probed pixel is left as it was
  gfx->SetViewport(5, 3, 3, 3);                // the probe falls outside the target: over black
  EXPECT_EQ(widened(BlendAlpha(0xF810, 0, 128)), ProbeStoredColour(gfx.get()));

  rt.SetBlend(0);
  gfx->SetTransparentColour(0);  // black everywhere counts as the key
  EXPECT_EQ(0u, ProbeStoredColour(gfx.get()));
  Reset(2, 1);
  PaintTarget({"AA"});
  rt.colourBuffer[1] = 0;
  ASSERT_EQ(1, SaveScreenImage(gfx.get(), dir.File("black.png").c_str()));
  EXPECT_EQ((Rows{Hex('A') + "00000000 "}), ReadBack(dir.File("black.png")));
}

TEST_F(SpriteImageFiles, TheScreenSavesFromTheViewportOrigin) {
  const Rows screen = {"ABCD", "EFGH", "IJKL"};
  struct Case {
    const char* name;
    Rows drawn;  // after loading it back into a screen slot, which has no key
  };
  for (const Case& c : {Case{"screen.png", {"ABCD", "E.GH", "IJKL"}},     // still transparent
                        Case{"screen.bmp", {"ABCD", "E?GH", "IJKL"}}}) {  // the key's colour
    Reset(4, 3);
    PaintTarget(screen);
    GetRenderTarget().colourBuffer[5] = kDefaultColourKey;
    const std::string path = dir.File(c.name);
    ASSERT_EQ(1, SaveScreenImage(gfx.get(), path.c_str()));
    ASSERT_EQ(1, gfx->LoadScreenSlot(3, path.c_str()));
    Reset(4, 3);
    gfx->DrawScreenSlot(3);
    EXPECT_EQ(c.drawn, TargetRows()) << c.name;
  }
  PaintTarget(screen);
  gfx->SetViewport(2, 1, 2, 2);  // what lies outside the viewport saves as transparent
  ASSERT_EQ(1, SaveScreenImage(gfx.get(), dir.File("view.png").c_str()));
  const std::string none = kKeyInPng + kKeyInPng;
  EXPECT_EQ((Rows{Hex('G') + Hex('H') + none, Hex('K') + Hex('L') + none, none + none}),
            ReadBack(dir.File("view.png")));

  CreateOffscreenSprite(gfx.get(), 0, 8, 3, 1);  // a texture of 4 x 2: the logical size saves
  ASSERT_EQ(1, gfx->SaveSprite(8, dir.File("canvas.png").c_str()));
  EXPECT_EQ(Rows(1, kKeyInPng + kKeyInPng + kKeyInPng), ReadBack(dir.File("canvas.png")));
}

TEST_F(SpriteImageFiles, FailedLoadsEmptyASpriteButKeepAScreen) {
  PutSprite(1, {"A."});
  gfx->SetTransparentColour(LetterRed('Z'));  // 0xF810 is no longer the key: a plain colour
  const std::string path = dir.File("ab.bmp");
  ASSERT_EQ(1, gfx->SaveSprite(1, path.c_str()));
  gfx->SetSpriteFrameSize(5, 1, 1);
  ASSERT_EQ(1, gfx->LoadSprite(5, path.c_str(), kNoColourKey));
  ASSERT_EQ(1, gfx->LoadScreenSlot(2, path.c_str()));
  EXPECT_EQ(0, gfx->Screen(2)->hasKey);
  EXPECT_EQ(kDefaultColourKey, gfx->Screen(2)->pixels[1]);

  ASSERT_TRUE(WriteFileBytes(dir.File("bad.bmp"), "BM not a picture"));
  testing::internal::CaptureStdout();
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
  testing::internal::GetCapturedStdout();
}

}  // namespace
