// Helpers for the media tests: a small render target in a known state, pictures and surfaces
// written as rows of letters ('.' transparent, 'A'..'Z' distinct opaque colours), and a graphics
// device per test.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <cstdio>
#include <string>
#include <vector>

#include "media/graphics_device.h"
#include "media/render_target.h"
#include "media/rgba_image.h"
#include "media/surface.h"
#include "tests/support/test_support.h"

using Rows = std::vector<std::string>;

// The global target resized to w x h: black, plain blend, viewport = whole target.
inline RenderTarget& FreshTarget(i32 w, i32 h) {
  RenderTarget& rt = GetRenderTarget();
  rt.Resize(0, w, h, 0);
  rt.SetBlend(0);
  return rt;
}

inline u16& PixelAt(i32 x, i32 y) {
  return GetRenderTarget().colourBuffer[y * GetRenderTarget().width + x];
}

inline void SetViewport(i32 x, i32 y, i32 w, i32 h) {
  RenderTarget& rt = GetRenderTarget();
  rt.viewportX = x, rt.viewportY = y, rt.viewportWidth = w, rt.viewportHeight = h;
}

// Red 8 for 'A', 16 for 'B', ...: every letter keeps its own RGB565 pixel.
constexpr u8 LetterRed(char c) { return static_cast<u8>((c - '@') * 8); }
constexpr u16 LetterPixel(char c) { return RgbToPixel(LetterRed(c), 0, 0); }

inline char PixelLetter(u16 p) {
  const char l = static_cast<char>('@' + (p >> 11));
  return (p & 0x07FF) == 0 && l > '@' && l <= 'Z' ? l : '?';
}

// The target as letters, '.' where it holds `background`.
inline Rows TargetRows(u16 background = 0) {
  const RenderTarget& rt = GetRenderTarget();
  Rows rows(rt.height, std::string(rt.width, '.'));
  for (i32 y = 0; y < rt.height; ++y)
    for (i32 x = 0; x < rt.width; ++x)
      if (PixelAt(x, y) != background) rows[y][x] = PixelLetter(PixelAt(x, y));
  return rows;
}

// The smallest rectangle holding every pixel that is not black: left, top, right, bottom.
inline std::array<i32, 4> DrawnBox() {
  const RenderTarget& rt = GetRenderTarget();
  std::array<i32, 4> box = {rt.width, rt.height, -1, -1};
  for (i32 y = 0; y < rt.height; ++y)
    for (i32 x = 0; x < rt.width; ++x)
      if (PixelAt(x, y) != 0)
        box = {std::min(box[0], x), std::min(box[1], y), std::max(box[2], x), std::max(box[3], y)};
  return box;
}

inline void PaintTarget(const Rows& rows) {
  for (size_t y = 0; y < rows.size(); ++y)
    for (size_t x = 0; x < rows[y].size(); ++x) PixelAt(i32(x), i32(y)) = LetterPixel(rows[y][x]);
}

inline void SetPicturePixel(RgbaImage& image, i32 x, i32 y, u8 r, u8 g, u8 b, u8 a) {
  u8* p = image.rgba + (y * image.width + x) * 4;
  p[0] = r, p[1] = g, p[2] = b, p[3] = a;
}

// A w x h picture of one colour, allocated here so that it may exceed the readers' caps.
inline void MakePicture(RgbaImage& image, i32 w, i32 h, u8 r, u8 g, u8 b, u8 a) {
  ReleaseRgbaImage(image);
  image = {w, h, new u8[static_cast<size_t>(w) * h * 4], w * h * 4};
  for (i32 i = 0; i < w * h; ++i) SetPicturePixel(image, i % w, i / w, r, g, b, a);
}

inline void SurfaceFromRows(Surface& s, const Rows& rows, u32 key = 0x008000FF) {
  OwnedRgbaImage picture;
  MakePicture(picture.image, i32(rows[0].size()), i32(rows.size()), 0, 0, 0, 0);
  for (size_t y = 0; y < rows.size(); ++y)
    for (size_t x = 0; x < rows[y].size(); ++x)
      if (rows[y][x] != '.')
        SetPicturePixel(picture.image, i32(x), i32(y), LetterRed(rows[y][x]), 0, 0, 255);
  s.FromRgba(picture.image, key, nullptr);
}

// The surface as letters, '.' for its key while it has one.
inline Rows SurfaceRows(const Surface& s) {
  Rows rows(s.height, std::string(s.width, '?'));
  for (i32 y = 0; y < s.height; ++y)
    for (i32 x = 0; x < s.width; ++x) {
      const u16 p = s.pixels[y * s.width + x];
      rows[y][x] = (s.hasKey && p == s.colourKey) ? '.' : PixelLetter(p);
    }
  return rows;
}

// A picture as "RRGGBBAA " per pixel, row by row.
inline Rows RgbaRows(const RgbaImage& image) {
  Rows out(image.height);
  for (i32 i = 0; i < image.width * image.height; ++i) {
    const u8* p = image.rgba + i * 4;
    char buf[10];
    std::snprintf(buf, sizeof buf, "%02x%02x%02x%02x ", p[0], p[1], p[2], p[3]);
    out[i / image.width] += buf;
  }
  return out;
}

// A graphics device per test over a small render target; sprites written as rows of letters.
class DeviceTest : public testing::Test {
 protected:
  void SetUp() override { Reset(8, 6); }

  // A fresh black target of w x h and the whole-target viewport.
  void Reset(i32 w, i32 h) {
    FreshTarget(w, h);
    gfx->SetViewport(0, 0, 0, 0);
  }

  // Sprite i holds the picture, its record the picture's size.
  void PutSprite(i32 i, const Rows& rows) {
    SurfaceFromRows(*gfx->Sprite(i), rows, gfx->transparentColour);
    SpriteInfo& info = *gfx->Info(i);
    info.loadedWidth = info.width = static_cast<i16>(rows[0].size());
    info.loadedHeight = info.height = static_cast<i16>(rows.size());
  }

  std::unique_ptr<OpenGLRainbows> gfx = std::make_unique<OpenGLRainbows>();
};
