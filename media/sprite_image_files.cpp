// Loading pictures into sprite and screen slots, and saving sprites and the screen.
#include "media/sprite_image_files.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <string_view>

#include "files/ascii_case.h"
#include "media/bmp_image.h"
#include "media/graphics_device.h"
#include "media/picture_file.h"
#include "media/pixel_format.h"
#include "media/png_image.h"
#include "media/render_target.h"
#include "media/rgba_image.h"

namespace {

// The largest picture a sprite record can describe.
constexpr i32 kMaxSpriteSide = 32767;
// How a key pixel is written into a BMP, which has no transparency: B, G, R.
constexpr u8 kBmpKeyBgr[3] = {128, 0, 255};
// Where the transparent colour is probed, from the viewport origin.
constexpr i32 kProbeOffset = 4;

// A name longer than ".png" that ends in it, in any case.
bool IsPngName(const char* name) {
  const std::string_view text(name);
  return text.size() > 4 && EqualsIgnoringAsciiCase(text.substr(text.size() - 4), ".png");
}

// The surface as B, G, R bytes, row by row from the top; null when it has no pixels.
std::unique_ptr<u8[]> SurfaceToBgr(const Surface& surface) {
  if (surface.pixels == nullptr) return nullptr;
  const size_t count = static_cast<size_t>(surface.width) * surface.height;
  std::unique_ptr<u8[]> bytes(new (std::nothrow) u8[count * 3]);
  if (!bytes) return nullptr;
  for (size_t i = 0; i < count; ++i) {
    const u16 p = surface.pixels[i];
    bytes[i * 3] = PixelBlue8(p);
    bytes[i * 3 + 1] = PixelGreen8(p);
    bytes[i * 3 + 2] = PixelRed8(p);
  }
  return bytes;
}

// The source picture of SaveImageFile, read top row first.
struct BgrSource {
  const u8* pixels;
  i32 width;
  i32 height;
  i32 stride;
  u8 topDown;
  u8 key[3];  // B, G, R of the key colour

  // Source pixel x of the picture's row r (0 = top). Either way the picture is the first
  // `height` rows of the buffer; they differ only in which of those is the top.
  const u8* Pixel(i32 r, i32 x) const {
    const i32 row = topDown != 0 ? r : height - 1 - r;
    return pixels + (static_cast<size_t>(row) * stride + x) * 3;
  }
  bool IsKey(const u8* p) const { return p[0] == key[0] && p[1] == key[1] && p[2] == key[2]; }
};

i32 WritePng(const char* name, const BgrSource& src) {
  const size_t rowBytes = static_cast<size_t>(src.width) * 4;
  std::unique_ptr<u8[]> out(new (std::nothrow) u8[rowBytes * src.height]);
  if (!out) return 0;
  for (i32 r = 0; r < src.height; ++r) {
    u8* o = out.get() + r * rowBytes;
    for (i32 x = 0; x < src.width; ++x, o += 4) {
      const u8* p = src.Pixel(r, x);
      std::memcpy(o, p, 3);
      o[3] = src.IsKey(p) ? 0 : 255;
    }
  }
  return SavePng(name, out.get(), src.width, src.height) != 0 ? 1 : 0;
}

i32 WriteBmp(const char* name, const BgrSource& src) {
  const size_t rowBytes = static_cast<size_t>(Bmp24RowBytes(src.width));
  // Zeroed, so the row padding is written as zeros.
  std::unique_ptr<u8[]> out(new (std::nothrow) u8[rowBytes * src.height]());
  if (!out) return 0;
  for (i32 k = 0; k < src.height; ++k) {
    u8* o = out.get() + k * rowBytes;  // file rows run bottom first
    for (i32 x = 0; x < src.width; ++x, o += 3) {
      const u8* p = src.Pixel(src.height - 1 - k, x);
      std::memcpy(o, src.IsKey(p) ? kBmpKeyBgr : p, 3);
    }
  }
  return SaveBmp24(name, src.width, src.height, out.get());
}

}  // namespace

u32 ProbeStoredColour(OpenGLRainbows* gfx) {
  if (gfx == nullptr || gfx->transparentColour == 0) return 0;
  const RenderTarget& rt = GetRenderTarget();
  const i64 x = i64{rt.viewportX} + kProbeOffset, y = i64{rt.viewportY} + kProbeOffset;
  const bool inside = rt.colourBuffer != nullptr && x < rt.width && y < rt.height;
  // The plot function sees the pixel it would draw over; plotting into a copy of it gives the
  // stored value without changing the back buffer.
  u16 cell = inside ? rt.colourBuffer[y * rt.width + x] : 0;
  rt.plot(&cell, ColourToPixel(gfx->transparentColour));
  return u32{PixelRed8(cell)} << 24 | u32{PixelGreen8(cell)} << 16 | u32{PixelBlue8(cell)} << 8;
}

i32 SaveImageFile(OpenGLRainbows* gfx, const char* name, const u8* pixels, i32 width, i32 height,
                  i32 stride, i32 rows, u8 topDown) {
  if (name == nullptr || pixels == nullptr || gfx == nullptr) return 0;
  if (!WritableImageSize(width, height) || stride < width || rows < height) return 0;
  const u32 key = ProbeStoredColour(gfx);
  BgrSource src{pixels, width, height, stride, topDown, {}};
  src.key[0] = static_cast<u8>(key >> 8);
  src.key[1] = static_cast<u8>(key >> 16);
  src.key[2] = static_cast<u8>(key >> 24);
  return IsPngName(name) ? WritePng(name, src) : WriteBmp(name, src);
}

i32 SaveScreenImage(OpenGLRainbows* gfx, const char* name) {
  if (gfx == nullptr || name == nullptr) return 0;
  const RenderTarget& rt = GetRenderTarget();
  Surface screen;
  screen.Grab(0, 0, rt.width, rt.height, gfx->transparentColour);
  const std::unique_ptr<u8[]> bytes = SurfaceToBgr(screen);
  if (!bytes) return 0;
  return SaveImageFile(gfx, name, bytes.get(), screen.width, screen.height, screen.width,
                       screen.height, 1);
}

i32 OpenGLRainbows::SaveSprite(i32 slot, const char* name) {
  const Surface* sprite = Sprite(slot);
  if (sprite == nullptr || name == nullptr) return 0;
  const std::unique_ptr<u8[]> bytes = SurfaceToBgr(*sprite);
  if (!bytes) return 0;
  // The logical size within the picture, which is the whole surface but for a sprite that is
  // drawn into and not yet captured.
  const SpriteInfo& info = spriteInfo[slot];
  const i32 w = std::min<i32>(info.width, sprite->width);
  const i32 h = std::min<i32>(info.height, sprite->height);
  return SaveImageFile(this, name, bytes.get(), w, h, sprite->width, sprite->height, 1);
}

i32 OpenGLRainbows::LoadSprite(i32 slot, const char* name, u32 colourKey) {
  SpriteInfo* info = Info(slot);
  if (info == nullptr) return 0;
  ClearSprite(slot);
  OwnedRgbaImage picture;
  if (!LoadPictureFile(picture.image, name, colourKey)) return 0;
  const RgbaImage& image = picture.image;
  // Sizes the record cannot hold fail the load instead of wrapping negative.
  if (image.width <= 0 || image.height <= 0 || image.width > kMaxSpriteSide ||
      image.height > kMaxSpriteSide) {
    return 0;
  }
  Surface& sprite = sprites[slot];
  sprite.FromRgba(image, colourKey, nullptr);
  if (sprite.pixels == nullptr) return 0;
  info->loadedWidth = info->width = static_cast<i16>(image.width);
  info->loadedHeight = info->height = static_cast<i16>(image.height);
  return 1;
}

i32 OpenGLRainbows::LoadScreenSlot(i32 slot, const char* name) {
  Surface* screen = Screen(slot);
  if (screen == nullptr) return 0;
  OwnedRgbaImage picture;
  if (!LoadPictureFile(picture.image, name, kNoColourKey)) return 0;  // the old picture stays
  screen->FromRgba(picture.image, kNoColourKey, nullptr);
  return screen->pixels != nullptr ? 1 : 0;
}
