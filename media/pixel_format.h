// The pixel format of the back buffer and of every surface: 16-bit RGB565 (red in bits 15..11,
// green in 10..5, blue in 4..0). Colours at every drawing interface are 0x00BBGGRR integers and
// become pixels by truncating each channel; the blend rules below are the exact integer
// arithmetic the plot functions apply, kept here so they can be checked apart from the target.
#pragma once

#include "core/types.h"

// The default transparent colour, red 255 and blue 128, as a pixel.
constexpr u16 kDefaultColourKey = 0xF810;
// The key a surface reports when it holds no key-coloured pixel.
constexpr u16 kNoKeyPixels = 0xFFFF;

constexpr u16 kRedMask = 0xF800;
constexpr u16 kGreenMask = 0x07E0;
constexpr u16 kBlueMask = 0x001F;

// 0x00BBGGRR -> RGB565; the top byte is ignored.
constexpr u16 ColourToPixel(u32 colour) {
  return static_cast<u16>(((colour << 8) & 0xF800u) + ((colour >> 5) & 0x7E0u) +
                          ((colour & 0xFFFFFFu) >> 19));
}

// 8-bit channels -> RGB565, the same truncation.
constexpr u16 RgbToPixel(u8 r, u8 g, u8 b) {
  return static_cast<u16>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
}

// RGB565 -> 8-bit channels by shifting back up (the low bits stay zero).
constexpr u8 PixelRed8(u16 p) { return static_cast<u8>((p >> 11) << 3); }
constexpr u8 PixelGreen8(u16 p) { return static_cast<u8>(((p >> 5) & 63) << 2); }
constexpr u8 PixelBlue8(u16 p) { return static_cast<u8>((p & 31) << 3); }

// Alpha blend of s over d with opacity na (1..255): per field, s scaled by na plus d scaled by
// 256 - na, each product shifted on its own; nothing is added before the shifts.
constexpr u32 BlendAlphaField(u32 s, u32 d, u32 na, u32 mask) {
  return ((((s & mask) * na) >> 8) + (((d & mask) * (256u - na)) >> 8)) & mask;
}
constexpr u16 BlendAlpha(u16 s, u16 d, u32 na) {
  return static_cast<u16>(BlendAlphaField(s, d, na, kRedMask) |
                          BlendAlphaField(s, d, na, kGreenMask) |
                          BlendAlphaField(s, d, na, kBlueMask));
}

// Additive blend of s scaled by a (1..255) onto d, each field saturating at its maximum.
constexpr u32 BlendAddField(u32 s, u32 d, u32 a, u32 mask) {
  u32 sum = (d & mask) + (((s & mask) * a) >> 8);
  return sum > mask ? mask : (sum & mask);
}
constexpr u16 BlendAdd(u16 s, u16 d, u32 a) {
  return static_cast<u16>(BlendAddField(s, d, a, kRedMask) | BlendAddField(s, d, a, kGreenMask) |
                          BlendAddField(s, d, a, kBlueMask));
}
