// Building surfaces: from decoded pictures and files, by copying another surface, by grabbing
// the render target; transposing; the built-in cross picture; saving as BMP.
#include "media/surface.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "media/bmp_image.h"
#include "media/picture_file.h"
#include "media/render_target.h"

namespace {

// A surface side stays within 16 bits (the device's records hold sizes as i16) and the pixel
// count within what a program can sensibly ask for.
constexpr i64 kMaxSurfaceSide = 32767;
constexpr i64 kMaxSurfacePixels = i64{1} << 26;

// Alpha below this counts as transparent.
constexpr u8 kAlphaOpaqueFrom = 5;

}  // namespace

void Surface::Clear() {
  delete[] pixels;
  delete[] rowHasKey;
  pixels = nullptr;
  rowHasKey = nullptr;
  width = height = 0;
  hasKey = 0;
}

// Fresh buffers of w x h (flags zeroed); on failure "Out of memory" and an empty surface.
bool Surface::Allocate(i32 w, i32 h) {
  Clear();
  bool sane = w > 0 && h > 0 && w <= kMaxSurfaceSide && h <= kMaxSurfaceSide &&
              i64{w} * h <= kMaxSurfacePixels;
  if (sane) {
    pixels = new (std::nothrow) u16[static_cast<size_t>(w) * h];
    rowHasKey = new (std::nothrow) u8[static_cast<size_t>(h)]();
  }
  if (pixels == nullptr || rowHasKey == nullptr) {
    std::puts("Out of memory");
    Clear();
    return false;
  }
  width = w;
  height = h;
  return true;
}

void Surface::FromRgba(const RgbaImage& image, u32 keyColour, const SourceRect* rect) {
  colourKey = ColourToPixel(keyColour);
  Clear();
  i64 left = 0, right = i64{image.width} - 1, top = 0, bottom = i64{image.height} - 1;
  if (rect != nullptr) {
    left = std::max<i64>(rect->left, 0);
    top = std::max<i64>(rect->top, 0);
    right = std::min<i64>(rect->right, right);
    bottom = std::min<i64>(rect->bottom, bottom);
  }
  if (image.rgba == nullptr || image.capacityBytes < 4 || right < left || bottom < top) {
    colourKey = kNoKeyPixels;
    return;
  }
  if (!Allocate(static_cast<i32>(right - left + 1), static_cast<i32>(bottom - top + 1))) return;
  u16* out = pixels;
  for (i64 y = top; y <= bottom; ++y) {
    u8 rowKey = 0;
    for (i64 x = left; x <= right; ++x, ++out) {
      i64 offset = (y * image.width + x) * 4;
      if (offset + 4 > image.capacityBytes) offset = 0;  // past the data: the first pixel
      const u8* p = image.rgba + offset;
      if (p[3] < kAlphaOpaqueFrom) {
        *out = colourKey;
        rowKey = 1;
      } else {
        *out = RgbToPixel(p[0], p[1], p[2]);
      }
    }
    rowHasKey[y - top] = rowKey;
    hasKey |= rowKey;
  }
  if (hasKey == 0) colourKey = kNoKeyPixels;
}

void Surface::FromRgba(const RgbaImage* image, u32 keyColour, const SourceRect* rect) {
  if (image != nullptr) {
    FromRgba(*image, keyColour, rect);
  } else {
    Clear();
    colourKey = kNoKeyPixels;
  }
}

void Surface::Load(const char* name, u32 keyColour, const SourceRect* rect) {
  Clear();
  OwnedRgbaImage picture;
  if (LoadPictureFile(picture.image, name, keyColour)) FromRgba(picture.image, keyColour, rect);
}

Surface& Surface::Assign(const Surface& source) {
  if (&source == this) return *this;
  Clear();
  colourKey = source.colourKey;
  if (source.pixels == nullptr || !Allocate(source.width, source.height)) return *this;
  std::memcpy(pixels, source.pixels, sizeof(u16) * static_cast<size_t>(width) * height);
  if (source.rowHasKey != nullptr)
    std::memcpy(rowHasKey, source.rowHasKey, static_cast<size_t>(height));
  hasKey = source.hasKey;
  return *this;
}

void Surface::GrabWhole() {
  Clear();
  const RenderTarget& rt = GetRenderTarget();
  if (rt.colourBuffer == nullptr || !Allocate(rt.width, rt.height)) return;
  std::memcpy(pixels, rt.colourBuffer, sizeof(u16) * static_cast<size_t>(width) * height);
}

void Surface::Grab(i32 x0, i32 y0, i32 x1, i32 y1, u32 keyColour) {
  Clear();
  colourKey = ColourToPixel(keyColour);
  i64 w = std::abs(i64{x1} - x0), h = std::abs(i64{y1} - y0);
  if (w == 0 || h == 0) {
    colourKey = kNoKeyPixels;
    return;
  }
  if (w > kMaxSurfaceSide || h > kMaxSurfaceSide) {
    std::puts("Out of memory");
    return;
  }
  if (!Allocate(static_cast<i32>(w), static_cast<i32>(h))) return;
  const RenderTarget& rt = GetRenderTarget();
  i64 vw = rt.colourBuffer != nullptr ? rt.viewportWidth : 0;
  i64 vh = rt.colourBuffer != nullptr ? rt.viewportHeight : 0;
  i64 colStart = std::max<i64>(0, -i64{x0}), colEnd = std::min<i64>(w, vw - x0);
  i64 rowStart = std::max<i64>(0, -i64{y0}), rowEnd = std::min<i64>(h, vh - y0);
  // A grab reaching outside the viewport, or lying wholly outside it, keeps its size: the
  // missing part is transparent.
  u8 partial = (colStart > 0 || colEnd < w || rowStart > 0 || rowEnd < h) ? 1 : 0;
  if (partial != 0) std::fill_n(pixels, w * h, colourKey);
  std::memset(rowHasKey, partial, static_cast<size_t>(h));
  hasKey = partial;
  for (i64 row = rowStart; row < rowEnd && colStart < colEnd; ++row) {
    // Visible columns only: (x0 + viewportX + colStart) is the first pixel inside the target.
    const u16* src =
        rt.colourBuffer + (y0 + rt.viewportY + row) * rt.width + x0 + rt.viewportX + colStart;
    u16* dst = pixels + row * w + colStart;
    for (i64 i = 0; i < colEnd - colStart; ++i) {
      dst[i] = src[i];
      if (src[i] == colourKey) {
        rowHasKey[row] = 1;
        hasKey = 1;
      }
    }
  }
  if (hasKey == 0) colourKey = kNoKeyPixels;
}

void Surface::Transpose() {
  if (pixels == nullptr) return;
  std::unique_ptr<u16[]> turned(new u16[static_cast<size_t>(width) * height]);
  std::unique_ptr<u8[]> flags(new u8[static_cast<size_t>(width)]());
  for (i32 y = 0; y < height; ++y) {
    for (i32 x = 0; x < width; ++x) {
      u16 p = pixels[static_cast<size_t>(y) * width + x];
      turned[static_cast<size_t>(x) * height + y] = p;
      if (hasKey != 0 && p == colourKey) flags[x] = 1;  // new row x holds old column x
    }
  }
  delete[] pixels;
  delete[] rowHasKey;
  pixels = turned.release();
  rowHasKey = flags.release();
  std::swap(width, height);
}

void Surface::MakeCrossImage() {
  constexpr i32 kSide = 14, kBorder = 4;
  OwnedRgbaImage picture;
  if (!SizeRgbaImage(picture.image, kSide, kSide)) return;
  for (i32 y = 0; y < kSide; ++y) {
    for (i32 x = 0; x < kSide; ++x) {
      u8* p = picture.image.rgba + (y * kSide + x) * 4;
      bool inside = x >= kBorder && x < kSide - kBorder && y >= kBorder && y < kSide - kBorder;
      bool cross = inside && (x == y || x == kSide - 1 - y);
      p[0] = cross ? 255 : 0;
      p[1] = cross ? 255 : 0;
      p[2] = 255;
      p[3] = 255;
    }
  }
  FromRgba(picture.image, 0xFFFFFFFFu, nullptr);
}

i32 Surface::SaveBmp(const char* name) const {
  if (name == nullptr || pixels == nullptr) return 0;
  const size_t rowBytes = static_cast<size_t>(Bmp24RowBytes(width));
  std::unique_ptr<u8[]> rows(new (std::nothrow) u8[rowBytes * height]());
  if (!rows) return 0;
  for (i32 k = 0; k < height; ++k) {
    const u16* src = pixels + static_cast<size_t>(height - 1 - k) * width;  // bottom row first
    u8* out = rows.get() + k * rowBytes;
    for (i32 x = 0; x < width; ++x, out += 3) {
      out[0] = PixelBlue8(src[x]);
      out[1] = PixelGreen8(src[x]);
      out[2] = PixelRed8(src[x]);
    }
  }
  return SaveBmp24(name, width, height, rows.get());
}
