// Canvas pixels and their export to the layouts the picture writers take.
#include "tools/assetgen/canvas.h"

Canvas::Canvas(i32 width, i32 height)
    : width_(width > 0 ? width : 0),
      height_(height > 0 ? height : 0),
      colours_(static_cast<size_t>(width_) * height_),
      opaque_(static_cast<size_t>(width_) * height_, 0) {}

bool Canvas::IsOpaque(i32 x, i32 y) const { return Contains(x, y) && opaque_[Index(x, y)] != 0; }

Rgb Canvas::Get(i32 x, i32 y) const { return IsOpaque(x, y) ? colours_[Index(x, y)] : Rgb{}; }

void Canvas::Set(i32 x, i32 y, Rgb colour) {
  if (!Contains(x, y)) return;
  colours_[Index(x, y)] = colour;
  opaque_[Index(x, y)] = 1;
}

void Canvas::Erase(i32 x, i32 y) {
  if (!Contains(x, y)) return;
  colours_[Index(x, y)] = Rgb{};
  opaque_[Index(x, y)] = 0;
}

void Canvas::Blend(i32 x, i32 y, Rgb colour, f32 t) {
  if (!IsOpaque(x, y)) return;
  colours_[Index(x, y)] = Mix(colours_[Index(x, y)], colour, t);
}

void Canvas::FillRect(i32 x, i32 y, i32 w, i32 h, Rgb colour) {
  for (i32 yy = y; yy < y + h; ++yy) {
    for (i32 xx = x; xx < x + w; ++xx) Set(xx, yy, colour);
  }
}

Rgb Canvas::Exported(i32 x, i32 y) const {
  return IsOpaque(x, y) ? KeepOpaque(colours_[Index(x, y)]) : Rgb{};
}

std::vector<u8> Canvas::BmpRows(i32 rowBytes) const {
  std::vector<u8> rows(static_cast<size_t>(rowBytes) * height_, 0);
  for (i32 k = 0; k < height_; ++k) {
    u8* out = rows.data() + static_cast<size_t>(k) * rowBytes;
    const i32 y = height_ - 1 - k;
    for (i32 x = 0; x < width_; ++x, out += 3) {
      const Rgb c = Exported(x, y);
      out[0] = c.b;
      out[1] = c.g;
      out[2] = c.r;
    }
  }
  return rows;
}

std::vector<u8> Canvas::BgraPixels() const {
  std::vector<u8> pixels(static_cast<size_t>(width_) * height_ * 4, 0);
  u8* out = pixels.data();
  for (i32 y = 0; y < height_; ++y) {
    for (i32 x = 0; x < width_; ++x, out += 4) {
      const Rgb c = Exported(x, y);
      out[0] = c.b;
      out[1] = c.g;
      out[2] = c.r;
      out[3] = IsOpaque(x, y) ? 255 : 0;
    }
  }
  return pixels;
}
