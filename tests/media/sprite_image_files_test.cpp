// Sprite and screen image files: save-then-load round trips in both formats, the transparent
// colour as the files' transparency, the choice of format by name, the rows taken from the
// buffer, and the slots left behind by failed loads.
#include "media/sprite_image_files.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "media/bmp_image.h"
#include "media/png_image.h"
#include "tests/media/device_fixture.h"
#include "tests/support/test_support.h"

namespace {

class SpriteImageFiles : public DeviceTest {
 protected:
  ScopedTempDir dir;
};

// A picture file read back without key, as "RRGGBBAA" per pixel.
Rows ReadBack(const std::string& path) {
  OwnedRgbaImage image;
  if (LoadBmpImage(image.image, path.c_str(), kNoColourKey) == 0 &&
      LoadPngImage(image.image, path.c_str(), kNoColourKey) == 0) {
    return {"unreadable"};
  }
  return RgbaRows(image.image);
}

std::string Hex(char letter) {
  char text[12];
  std::snprintf(text, sizeof text, "%02x0000ff ", LetterRed(letter));
  return text;
}

TEST_F(SpriteImageFiles, SavedSpritesReadBackWithTheKeyAsTransparency) {
  struct Case {
    const char* name;
    const char* keyPixel;  // how the transparent pixel reads back
    bool png;
  };
  const Case cases[] = {
      {"lower.bmp", "ff0080ff ", false},
      {"lower.png", "f8008000 ", true},
      {"UPPER.PnG", "f8008000 ", true},
      {"lower.png.bak", "ff0080ff ", false},
      {"lower.pngx", "ff0080ff ", false},
      {".png", "ff0080ff ", false},  // four characters: no room for a name before the suffix
      {"plain", "ff0080ff ", false},
  };
  PutSprite(4, {"A.B", "CDE"});
  // The names are used as given, relative to the working directory.
  char saved[4096];
  ASSERT_NE(nullptr, getcwd(saved, sizeof saved));
  ASSERT_EQ(0, chdir(dir.path().c_str()));
  for (const Case& c : cases) {
    const std::string path = c.name;
    ASSERT_EQ(1, gfx->SaveSprite(4, path.c_str())) << c.name;
    const std::string bytes = ReadFileBytes(path);
    EXPECT_EQ(c.png ? "\x89P" : "BM", bytes.substr(0, 2)) << c.name;
    EXPECT_EQ((Rows{Hex('A') + c.keyPixel + Hex('B'), Hex('C') + Hex('D') + Hex('E')}),
              ReadBack(path))
        << c.name;
    ASSERT_EQ(1, gfx->LoadSprite(6, path.c_str(), gfx->transparentColour));
    EXPECT_EQ((Rows{"A.B", "CDE"}), SurfaceRows(*gfx->Sprite(6))) << c.name;
    const SpriteInfo& info = *gfx->Info(6);
    EXPECT_EQ(3, info.width);
    EXPECT_EQ(2, info.height);
    EXPECT_EQ(3, info.loadedWidth);
    EXPECT_EQ(2, info.loadedHeight);
  }
  ASSERT_EQ(0, chdir(saved));
}

TEST_F(SpriteImageFiles, BmpRowsArePaddedWithZerosAndRunBottomFirst) {
  PutSprite(1, {"ABC", "DEF"});
  const std::string path = dir.File("rows.bmp");
  ASSERT_EQ(1, gfx->SaveSprite(1, path.c_str()));
  const std::string bytes = ReadFileBytes(path);
  ASSERT_EQ(54u + 2 * 12, bytes.size());  // 9 bytes of pixels and 3 of padding a row
  EXPECT_EQ(std::string("\0\0\0", 3), bytes.substr(54 + 9, 3));
  EXPECT_EQ(std::string("\0\0\0", 3), bytes.substr(54 + 12 + 9, 3));
  EXPECT_EQ(LetterRed('D'), static_cast<u8>(bytes[54 + 2]));  // bottom row first, B G R
  EXPECT_EQ(LetterRed('A'), static_cast<u8>(bytes[54 + 12 + 2]));
}

TEST_F(SpriteImageFiles, TheBufferIsReadTopDownOrBottomUpWithinItsSize) {
  // Three rows of B, G, R pixels, 2 wide in a stride of 3.
  const u8 pixels[] = {8,  0, 0, 16, 0, 0, 99, 99, 99,   // row 0
                       24, 0, 0, 32, 0, 0, 99, 99, 99,   // row 1
                       40, 0, 0, 48, 0, 0, 99, 99, 99};  // row 2
  struct Case {
    const char* name;
    u8 topDown;
    i32 width, height, stride, rows;
    i32 result;
    Rows picture;  // blue bytes, top row first
  };
  const Case cases[] = {
      {"a.bmp", 1, 2, 2, 3, 3, 1, {"0816", "2432"}},  // the first rows of the buffer, top first
      {"a.png", 1, 2, 2, 3, 3, 1, {"0816", "2432"}},
      {"b.bmp", 0, 2, 2, 3, 3, 1, {"2432", "0816"}},  // the same rows, bottom first
      {"b.png", 0, 2, 2, 3, 3, 1, {"2432", "0816"}},
      {"c.bmp", 1, 3, 3, 3, 3, 1, {"081699", "243299", "404899"}},
      {"d.bmp", 1, 4, 1, 3, 3, 0, {}},  // wider than a buffer row
      {"e.bmp", 1, 2, 4, 3, 3, 0, {}},  // more rows than the buffer
      {"f.png", 1, 0, 1, 3, 3, 0, {}},
      {"g.png", 1, 2, -1, 3, 3, 0, {}},
  };
  for (const Case& c : cases) {
    const std::string path = dir.File(c.name);
    EXPECT_EQ(c.result, SaveImageFile(gfx.get(), path.c_str(), pixels, c.width, c.height, c.stride,
                                      c.rows, c.topDown))
        << c.name;
    if (c.result == 0) continue;
    OwnedRgbaImage image;
    ASSERT_TRUE(LoadBmpImage(image.image, path.c_str(), kNoColourKey) != 0 ||
                LoadPngImage(image.image, path.c_str(), kNoColourKey) != 0);
    Rows picture;
    for (i32 y = 0; y < image.image.height; ++y) {
      std::string row;
      for (i32 x = 0; x < image.image.width; ++x) {
        char text[4];
        std::snprintf(text, sizeof text, "%02d",
                      image.image.rgba[(y * image.image.width + x) * 4 + 2]);
        row += text;
      }
      picture.push_back(row);
    }
    EXPECT_EQ(c.picture, picture) << c.name;
  }
  testing::internal::CaptureStdout();
  for (const char* refused : {"mem://       8.1234", "/no/such/folder/x.bmp"}) {
    EXPECT_EQ(0, SaveImageFile(gfx.get(), refused, pixels, 2, 2, 3, 3, 1)) << refused;
  }
  EXPECT_EQ(0, SaveImageFile(gfx.get(), nullptr, pixels, 2, 2, 3, 3, 1));
  EXPECT_EQ(0, SaveImageFile(gfx.get(), dir.File("n.png").c_str(), nullptr, 2, 2, 3, 3, 1));
  EXPECT_EQ(0, SaveImageFile(nullptr, dir.File("n.png").c_str(), pixels, 2, 2, 3, 3, 1));
  EXPECT_EQ(0, gfx->SaveSprite(1, dir.File("empty.png").c_str()));  // nothing in the slot
  EXPECT_EQ(0, gfx->SaveSprite(1, nullptr));
  testing::internal::GetCapturedStdout();
}

TEST_F(SpriteImageFiles, TheKeyIsTheTransparentColourAsTheBackBufferWouldStoreIt) {
  EXPECT_EQ(0xF8008000u, ProbeStoredColour(gfx.get()));  // RGB565 0xF810 widened
  RenderTarget& rt = GetRenderTarget();
  rt.colourBuffer[4 * 8 + 4] = LetterPixel('C');
  rt.SetBlend(-128);
  const u16 blended = BlendAlpha(0xF810, LetterPixel('C'), 128);
  const u32 expected = u32{PixelRed8(blended)} << 24 | u32{PixelGreen8(blended)} << 16 |
                       u32{PixelBlue8(blended)} << 8;
  EXPECT_EQ(expected, ProbeStoredColour(gfx.get()));
  PutSprite(2, {"AB"});
  ASSERT_EQ(1, gfx->SaveSprite(2, dir.File("blend.bmp").c_str()));
  EXPECT_EQ(LetterPixel('C'), PixelAt(4, 4));  // the probed pixel is left as it was

  gfx->SetViewport(5, 3, 3, 3);  // the probe falls outside the target: over black
  EXPECT_EQ(0x78000000u | (u32{PixelBlue8(BlendAlpha(0xF810, 0, 128))} << 8),
            ProbeStoredColour(gfx.get()));
  rt.SetBlend(0);
  gfx->SetTransparentColour(0);  // black everywhere counts as the key
  EXPECT_EQ(0u, ProbeStoredColour(gfx.get()));
  Reset(2, 1);
  PaintTarget({"AA"});
  GetRenderTarget().colourBuffer[1] = 0;
  ASSERT_EQ(1, SaveScreenImage(gfx.get(), dir.File("black.png").c_str()));
  EXPECT_EQ((Rows{Hex('A') + "00000000 "}), ReadBack(dir.File("black.png")));
}

TEST_F(SpriteImageFiles, TheScreenSavesWholeWithTransparentPixelsMarked) {
  Reset(4, 3);
  PaintTarget({"ABCD", "EFGH", "IJKL"});
  GetRenderTarget().colourBuffer[5] = kDefaultColourKey;
  struct Case {
    const char* name;
    Rows drawn;
  };
  // A PNG keeps the pixel transparent; a BMP turns it into the colour it stands for.
  for (const Case& c : {Case{"screen.png", {"ABCD", "E.GH", "IJKL"}},
                        Case{"screen.bmp", {"ABCD", "E?GH", "IJKL"}}}) {
    const std::string path = dir.File(c.name);
    ASSERT_EQ(1, SaveScreenImage(gfx.get(), path.c_str()));
    ASSERT_EQ(1, gfx->LoadScreenSlot(3, path.c_str()));
    Reset(4, 3);
    gfx->DrawScreenSlot(3);
    EXPECT_EQ(c.drawn, TargetRows()) << c.name;
    PaintTarget({"ABCD", "EFGH", "IJKL"});
    GetRenderTarget().colourBuffer[5] = kDefaultColourKey;
  }
  EXPECT_EQ(kDefaultColourKey, gfx->Screen(3)->pixels[5]);
  gfx->SetViewport(2, 1, 2, 2);  // grabbed from the viewport: the rest saves as transparent
  ASSERT_EQ(1, SaveScreenImage(gfx.get(), dir.File("view.png").c_str()));
  const std::string none = "f8008000 ";
  EXPECT_EQ((Rows{Hex('G') + Hex('H') + none + none, Hex('K') + Hex('L') + none + none,
                  none + none + none + none}),
            ReadBack(dir.File("view.png")));
}

TEST_F(SpriteImageFiles, SpritesBeingDrawnIntoSaveTheirLogicalSize) {
  CreateOffscreenSprite(gfx.get(), 0, 8, 5, 3);
  const std::string path = dir.File("canvas.png");
  ASSERT_EQ(1, gfx->SaveSprite(8, path.c_str()));
  const std::string none = "f8008000 ";
  EXPECT_EQ(Rows(3, none + none + none + none + none), ReadBack(path));
}

TEST_F(SpriteImageFiles, FailedLoadsEmptyASpriteButKeepAScreen) {
  PutSprite(1, {"AB"});
  const std::string path = dir.File("ab.bmp");
  ASSERT_EQ(1, gfx->SaveSprite(1, path.c_str()));
  gfx->SetSpriteFrameSize(5, 1, 1);
  ASSERT_EQ(1, gfx->LoadSprite(5, path.c_str(), kNoColourKey));
  EXPECT_EQ(1, gfx->Info(5)->frameWidth);  // the frame size is the program's, kept
  ASSERT_EQ(1, gfx->LoadScreenSlot(2, path.c_str()));

  ASSERT_TRUE(WriteFileBytes(dir.File("bad.bmp"), "BM not a picture"));
  testing::internal::CaptureStdout();
  for (const std::string& bad : {dir.File("missing.png"), dir.File("bad.bmp")}) {
    EXPECT_EQ(0, gfx->LoadSprite(5, bad.c_str(), kNoColourKey));
    EXPECT_EQ(nullptr, gfx->Sprite(5)->pixels);
    EXPECT_EQ(-1, gfx->Info(5)->loadedWidth);
    EXPECT_EQ(0, gfx->Info(5)->width);
    EXPECT_EQ(1, gfx->Info(5)->frameHeight);
    EXPECT_EQ(0, gfx->LoadScreenSlot(2, bad.c_str()));
    EXPECT_EQ((Rows{"AB"}), SurfaceRows(*gfx->Screen(2)));
  }
  EXPECT_EQ(0, gfx->LoadSprite(5, nullptr, 0));
  testing::internal::GetCapturedStdout();

  // Screens load without a key: the transparent colour stays a colour.
  PutSprite(1, {"A."});
  gfx->SetTransparentColour(LetterRed('Z'));  // the 0xF810 pixel is no longer the key
  ASSERT_EQ(1, gfx->SaveSprite(1, path.c_str()));
  ASSERT_EQ(1, gfx->LoadScreenSlot(2, path.c_str()));
  EXPECT_EQ(0, gfx->Screen(2)->hasKey);
  EXPECT_EQ(kDefaultColourKey, gfx->Screen(2)->pixels[1]);
}

}  // namespace
