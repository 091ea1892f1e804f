// The render target: buffers, blend selection, clears, fills, lines and the copy to the screen.
#include "media/render_target.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#include "media/pixel_format.h"
#include "render/soft_render_context.h"

namespace {

constexpr i32 kScreenPixels = 320 * 240;

// A buffer as large as w x h, or null when the product is too large to be sane.
constexpr i64 kMaxTargetPixels = i64{1} << 26;

}  // namespace

RenderTarget& GetRenderTarget() { return renderTarget; }

void PlotPlain(u16* pixel, u16 value) { *pixel = value; }

void PlotAlpha(u16* pixel, u16 value) {
  *pixel = BlendAlpha(value, *pixel, static_cast<u32>(-renderTarget.blend));
}

void PlotAdd(u16* pixel, u16 value) {
  *pixel = BlendAdd(value, *pixel, static_cast<u32>(renderTarget.blend));
}

RenderTarget::~RenderTarget() { Free(); }

void RenderTarget::Resize(i32 newFlags, i32 w, i32 h, u8 newRotated) {
  EmptyResizeHook();
  Free();
  if (w < 0 || h < 0) w = h = 0;
  i64 count = i64{w} * h;
  if (count > kMaxTargetPixels) count = -1;
  if (count > 0) {
    colourBuffer = new (std::nothrow) u16[static_cast<size_t>(count)]();
    depthBuffer = new (std::nothrow) i16[static_cast<size_t>(count)]();
  }
  if (count < 0 || (count > 0 && (colourBuffer == nullptr || depthBuffer == nullptr))) {
    std::puts("Out of memory");
    Free();
    w = h = 0;
    count = 0;
  }
  pixelCount = static_cast<i32>(count);
  viewportX = viewportY = 0;
  viewportWidth = width = w;
  viewportHeight = height = h;
  flags = newFlags;
  rotated = newRotated;
  GetSoftRenderContext().BindTargets(colourBuffer, depthBuffer, width, height);
  depthDirty = 1;
  ClearDepth();
}

void RenderTarget::SetBlend(i32 value) {
  i32 v = static_cast<i16>(static_cast<u16>(value & 0xFFFF));
  v = std::clamp(v, -255, 255);
  blend = v;
  plot = v == 0 ? PlotPlain : v > 0 ? PlotAdd : PlotAlpha;
}

void RenderTarget::ClearColour() {
  if (colourBuffer != nullptr) std::memset(colourBuffer, 0, sizeof(u16) * pixelCount);
}

void RenderTarget::ClearDepth() {
  if (depthDirty == 0) return;
  if (depthBuffer != nullptr)
    std::fill_n(depthBuffer, pixelCount, static_cast<i16>(kDepthClearValue));
  depthDirty = 0;
}

void FillSurfaceRect(i32 x, i32 y, i32 w, i32 h, u16 pixel) {
  RenderTarget& rt = GetRenderTarget();
  if (rt.width == 0 || rt.height == 0 || rt.colourBuffer == nullptr) return;
  i64 left = x, top = y, cw = w, ch = h;
  if (cw < 0) {
    left += cw;
    cw = -cw;
  }
  if (ch < 0) {
    top += ch;
    ch = -ch;
  }
  if (left < 0) {
    cw += left;
    left = 0;
  }
  if (top < 0) {
    ch += top;
    top = 0;
  }
  i64 absX = left + rt.viewportX, absY = top + rt.viewportY;
  i64 rightEdge = i64{rt.viewportX} + rt.viewportWidth;
  i64 bottomEdge = i64{rt.viewportY} + rt.viewportHeight;
  if (absX + cw > rightEdge) cw = rightEdge - absX;
  if (absY + ch > bottomEdge) ch = bottomEdge - absY;
  if (cw <= 0 || ch <= 0) return;
  u16* row = rt.colourBuffer + absY * rt.width + absX;
  for (i64 r = 0; r < ch; ++r, row += rt.width) {
    if (rt.blend == 0) {
      std::fill_n(row, cw, pixel);
    } else {
      for (i64 c = 0; c < cw; ++c) rt.plot(row + c, pixel);
    }
  }
}

namespace {

// One Bresenham walk along the major axis (the one with the larger extent; y on a tie). The
// walk starts where the line first reaches the target's span on that axis, with the error term
// it would have had there, and stops once it has left the target: points outside are never
// plotted, so skipping them changes nothing and a line with huge coordinates costs no more than
// one across the target.
template <typename Put>
void WalkLine(i64 major, i64 minor, i64 dMajor, i64 dMinor, i64 sMajor, i64 sMinor, i64 majorLimit,
              i64 minorLimit, Put put) {
  i64 skip = 0;
  if (sMajor > 0 && major < 0) skip = -major;
  if (sMajor < 0 && major >= majorLimit) skip = major - majorLimit + 1;
  if (skip > dMajor) return;
  // After k steps the minor axis has moved floor((2 dMinor k + dMajor - 1) / (2 dMajor)) times.
  using Wide = __int128;
  Wide moved = (Wide{2} * dMinor * skip + dMajor - 1) / (Wide{2} * dMajor);
  i64 err = static_cast<i64>(Wide{2} * dMinor * (skip + 1) - dMajor - Wide{2} * dMajor * moved);
  major += sMajor * skip;
  minor += sMinor * static_cast<i64>(moved);
  for (i64 k = skip; k <= dMajor; ++k) {
    if ((sMajor > 0 && major >= majorLimit) || (sMajor < 0 && major < 0) ||
        (sMinor > 0 && minor >= minorLimit) || (sMinor < 0 && minor < 0)) {
      return;  // both coordinates only move away from here on
    }
    put(major, minor);
    if (err <= 0) {
      err += 2 * dMinor;
    } else {
      minor += sMinor;
      err += 2 * dMinor - 2 * dMajor;
    }
    major += sMajor;
  }
}

}  // namespace

void RenderTarget::PlotLine(i32 x0, i32 y0, i32 x1, i32 y1, u16 pixel) {
  if (colourBuffer == nullptr) return;
  const i64 dx = std::abs(i64{x1} - x0), dy = std::abs(i64{y1} - y0);
  const i64 sx = x1 > x0 ? 1 : x1 < x0 ? -1 : 0;
  const i64 sy = y1 > y0 ? 1 : y1 < y0 ? -1 : 0;
  const i64 x = i64{x0} + viewportX, y = i64{y0} + viewportY;  // absolute from here on
  auto put = [this, pixel](i64 px, i64 py) {
    if (px >= 0 && px < width && py >= 0 && py < height)
      plot(colourBuffer + py * width + px, pixel);
  };
  if (dx == 0 && dy == 0) {
    put(x, y);
  } else if (dx > dy) {
    WalkLine(x, y, dx, dy, sx, sy, width, height, put);
  } else {
    WalkLine(y, x, dy, dx, sy, sx, height, width, [&put](i64 py, i64 px) { put(px, py); });
  }
}

void RenderTarget::Present() {
  SDL_Surface* screen = SDL_GetVideoSurface();
  if (screen == nullptr) {
    std::puts("SDL_GetVideoSurface == NULL");
  } else if (screen->format->BitsPerPixel == 16 && colourBuffer != nullptr) {
    if (SDL_LockSurface(screen) == 0) {
      i32 rows = std::min(height, static_cast<i32>(screen->h));
      i32 cols = std::min(width, static_cast<i32>(screen->w));
      auto* dst = static_cast<u8*>(screen->pixels);
      for (i32 r = 0; r < rows; ++r) {
        std::memcpy(dst + static_cast<size_t>(r) * screen->pitch,
                    colourBuffer + static_cast<size_t>(r) * width, sizeof(u16) * cols);
      }
      SDL_UnlockSurface(screen);
      SDL_UpdateRect(screen, 0, 0, 0, 0);
    }
  }
  GetSoftRenderContext().SetTargets(colourBuffer, depthBuffer);
  plot = PlotPlain;
  blend = 0;
}

void RenderTarget::GetSize(i32* w, i32* h) const {
  *w = rotated != 0 ? height : width;
  *h = rotated != 0 ? width : height;
}

void RenderTarget::RotateBuffer(u16* pixels) const {
  if (pixels == nullptr || pixelCount <= 0) return;
  static u16 screenScratch[kScreenPixels];
  std::unique_ptr<u16[]> owned;
  u16* scratch = screenScratch;
  if (pixelCount != kScreenPixels) {
    owned.reset(new u16[static_cast<size_t>(pixelCount)]);
    scratch = owned.get();
  }
  for (i32 y = 0; y < height; ++y) {
    for (i32 x = 0; x < width; ++x) {
      scratch[static_cast<size_t>(width - 1 - x) * height + y] =
          pixels[static_cast<size_t>(y) * width + x];
    }
  }
  std::memcpy(pixels, scratch, sizeof(u16) * pixelCount);
}

// Sizes go with the buffers, so nothing draws through the null pointers afterwards.
void RenderTarget::Free() {
  delete[] depthBuffer;
  delete[] colourBuffer;
  depthBuffer = nullptr;
  colourBuffer = nullptr;
  width = height = pixelCount = 0;
  viewportX = viewportY = viewportWidth = viewportHeight = 0;
}

