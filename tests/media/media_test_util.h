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
inline void MakePicture(RgbaImage& image, i32 w, i32 h, u8 r, u8 g, u8 b, u8 a) {
  SizeRgbaImage(image, w, h);
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
