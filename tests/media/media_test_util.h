// Helpers for the media tests: a small render target reset to a known state, pixel access, and
// pictures built pixel by pixel.
#pragma once

#include <string>
#include <vector>

#include "core/types.h"
#include "media/render_target.h"
#include "media/rgba_image.h"

// Resizes the global target to w x h, all black, plain blend, viewport = whole target.
inline RenderTarget& FreshTarget(i32 w, i32 h) {
  RenderTarget& rt = GetRenderTarget();
  rt.Resize(0, w, h, 0);
  rt.SetBlend(0);
  return rt;
}

inline u16 PixelAt(i32 x, i32 y) {
  const RenderTarget& rt = GetRenderTarget();
  return rt.colourBuffer[y * rt.width + x];
}

inline void SetViewport(i32 x, i32 y, i32 w, i32 h) {
  RenderTarget& rt = GetRenderTarget();
  rt.viewportX = x;
  rt.viewportY = y;
  rt.viewportWidth = w;
  rt.viewportHeight = h;
}

inline void FillTarget(u16 pixel) {
  RenderTarget& rt = GetRenderTarget();
  for (i32 i = 0; i < rt.pixelCount; ++i) rt.colourBuffer[i] = pixel;
}

// The rows of the target as text, one character per pixel: '.' for `background`, '#' for
// anything else; easy to compare with a drawn shape.
inline std::vector<std::string> TargetPicture(u16 background) {
  const RenderTarget& rt = GetRenderTarget();
  std::vector<std::string> rows;
  for (i32 y = 0; y < rt.height; ++y) {
    std::string row;
    for (i32 x = 0; x < rt.width; ++x) row += PixelAt(x, y) == background ? '.' : '#';
    rows.push_back(row);
  }
  return rows;
}

// An RGBA picture; every pixel starts as the given colour.
// Allocated here, not by the readers' sizing, so that pictures beyond their caps can be made.
inline void MakePicture(RgbaImage& image, i32 w, i32 h, u8 r, u8 g, u8 b, u8 a) {
  ReleaseRgbaImage(image);
  image.rgba = new u8[static_cast<size_t>(w) * h * 4];
  image.width = w;
  image.height = h;
  image.capacityBytes = w * h * 4;
  for (i32 i = 0; i < w * h; ++i) {
    image.rgba[i * 4 + 0] = r;
    image.rgba[i * 4 + 1] = g;
    image.rgba[i * 4 + 2] = b;
    image.rgba[i * 4 + 3] = a;
  }
}

inline void SetPicturePixel(RgbaImage& image, i32 x, i32 y, u8 r, u8 g, u8 b, u8 a) {
  u8* p = image.rgba + (y * image.width + x) * 4;
  p[0] = r;
  p[1] = g;
  p[2] = b;
  p[3] = a;
}

#include "media/surface.h"

// The red level that stands for a letter: 'A' is 8, 'B' 16, ... so every letter keeps its own
// RGB565 pixel.
constexpr u8 LetterRed(char c) { return static_cast<u8>((c - '@') * 8); }

// Builds a surface from rows of letters: '.' is transparent (alpha 0), a letter is the opaque
// pixel with red LetterRed(letter), no green and no blue.
inline void SurfaceFromText(Surface& s, const std::vector<std::string>& rows, u32 key = 0x008000FF) {
  RgbaImage image;
  MakePicture(image, static_cast<i32>(rows[0].size()), static_cast<i32>(rows.size()), 0, 0, 0, 255);
  for (size_t y = 0; y < rows.size(); ++y) {
    for (size_t x = 0; x < rows[y].size(); ++x) {
      char c = rows[y][x];
      if (c == '.') {
        SetPicturePixel(image, static_cast<i32>(x), static_cast<i32>(y), 0, 0, 0, 0);
      } else {
        SetPicturePixel(image, static_cast<i32>(x), static_cast<i32>(y), LetterRed(c), 0, 0, 255);
      }
    }
  }
  s.FromRgba(image, key, nullptr);
  ReleaseRgbaImage(image);
}

// The pixel a character of SurfaceFromText becomes.
constexpr u16 CharPixel(char c) { return RgbToPixel(LetterRed(c), 0, 0); }

// The target as characters: '.' for `background`, the character whose pixel it is for the
// letters A-Z, '?' for anything else.
inline std::vector<std::string> TargetLetters(u16 background) {
  const RenderTarget& rt = GetRenderTarget();
  std::vector<std::string> rows;
  for (i32 y = 0; y < rt.height; ++y) {
    std::string row;
    for (i32 x = 0; x < rt.width; ++x) {
      u16 p = PixelAt(x, y);
      char c = '?';
      if (p == background) c = '.';
      for (char l = 'A'; l <= 'Z'; ++l)
        if (p == CharPixel(l) && p != background) c = l;
      row += c;
    }
    rows.push_back(row);
  }
  return rows;
}
