// Fonts cut from hostile pictures, then drawn. The input starts with the target's own choices
// (how to make the picture, where to draw, the blend, the text) and goes on with the picture:
// either a BMP or PNG file read through Font::Load, or raw RGBA bytes of a size the input gives,
// which can be wider than any reader accepts (the cutting works on 16-bit sizes).
#include <algorithm>
#include <cstring>
#include <memory>

#include "fuzz/fuzz_support.h"
#include "fuzz/fuzz_target.h"
#include "media/font.h"
#include "media/render_target.h"

namespace {

constexpr u32 kKey = 0x00FF00FF;
constexpr i64 kMaxRawPixels = i64{1} << 16;
constexpr std::size_t kMaxText = 24;

// A picture of width x height made of the bytes, repeated; false when it would be too large to
// be worth the time.
bool RawPicture(OwnedRgbaImage& picture, i32 width, i32 height, const u8* bytes,
                std::size_t count) {
  const i64 pixels = i64{width} * height;
  if (pixels <= 0 || pixels > kMaxRawPixels) return false;
  RgbaImage& image = picture.image;
  image.capacityBytes = static_cast<i32>(pixels * 4);
  image.rgba = new u8[static_cast<std::size_t>(image.capacityBytes)];
  image.width = width;
  image.height = height;
  const std::size_t total = static_cast<std::size_t>(image.capacityBytes);
  std::memset(image.rgba, 0, total);
  for (std::size_t at = 0; count > 0 && at < total; at += count) {
    std::memcpy(image.rgba + at, bytes, std::min(count, total - at));
  }
  return true;
}

void CheckGlyphs(const Font& font) {
  FUZZ_CHECK(font.glyphCount == 128 || font.glyphCount == 256, "glyph count");
  for (i32 i = 0; i < font.glyphCount; ++i) {
    const Surface& glyph = font.glyphs[i];
    FUZZ_CHECK(glyph.width == font.charWidth && glyph.height == font.charHeight,
               "a glyph differs from the cell size");
  }
}

void PrepareTarget() {
  static bool ready = false;
  if (ready) return;
  GetRenderTarget().Resize(0, 48, 32, 0);
  ready = true;
}

}  // namespace

void FuzzFont(const u8* data, std::size_t size) {
  BeginFuzzInput();
  PrepareTarget();
  FuzzBytes in(data, size);
  const u8 choices = in.Byte();
  const i32 x = static_cast<i16>(in.Word()), y = static_cast<i16>(in.Word());
  const i32 blend = static_cast<i8>(in.Byte()) * 2;
  u8 text[kMaxText + 1] = {};
  const std::size_t textLength = in.Byte() % (kMaxText + 1);
  for (std::size_t i = 0; i < textLength; ++i) text[i] = in.Byte();

  // One font for the whole run, as in the graphics device: every load goes over the last one.
  static std::unique_ptr<Font> font(new Font);
  i32 made = 0;
  if ((choices & 1) == 0) {
    const MemoryFile picture(in.Rest(), in.RestSize());
    made = font->Load(picture.Name(), kKey);
  } else {
    const i32 width = in.Word(), height = in.Word();
    OwnedRgbaImage picture;
    if (!RawPicture(picture, width, height, in.Rest(), in.RestSize())) return;
    made = font->FromImage(picture.image);
  }
  if (made) {
    CheckGlyphs(*font);
  } else {
    FUZZ_CHECK(font->charWidth == 0 && font->charHeight == 0, "a failed font has a cell size");
  }
  RenderTarget& target = GetRenderTarget();
  target.SetBlend(blend);
  const std::size_t pixels = static_cast<std::size_t>(target.width) * target.height;
  const std::unique_ptr<u16[]> before(new u16[pixels]);
  std::memcpy(before.get(), target.colourBuffer, pixels * sizeof(u16));
  font->DrawText(text, x, y);
  if (!made) {
    FUZZ_CHECK(std::memcmp(before.get(), target.colourBuffer, pixels * sizeof(u16)) == 0,
               "a failed font drew something");
  }
}
