// Canvas: the picture every asset is drawn into before it is written. Each pixel is either
// see-through or an opaque colour; the game has no partial transparency in its sprites (black is
// the colour key), so the canvas has none either. Export turns see-through pixels into pure
// black and lifts opaque ones that the 16-bit screen would otherwise turn into the key.
#pragma once

#include <vector>

#include "core/types.h"
#include "tools/assetgen/colour.h"

class Canvas {
 public:
  Canvas() = default;
  Canvas(i32 width, i32 height);  // all see-through

  i32 width() const { return width_; }
  i32 height() const { return height_; }
  bool Contains(i32 x, i32 y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

  // Reads outside the canvas give see-through black.
  bool IsOpaque(i32 x, i32 y) const;
  Rgb Get(i32 x, i32 y) const;

  // Writes outside the canvas are ignored, so shapes may run over the edges.
  void Set(i32 x, i32 y, Rgb colour);
  void Erase(i32 x, i32 y);
  // Mixes colour into an opaque pixel by t (0..1); see-through pixels stay see-through.
  void Blend(i32 x, i32 y, Rgb colour, f32 t);
  void FillRect(i32 x, i32 y, i32 w, i32 h, Rgb colour);
  void Fill(Rgb colour) { FillRect(0, 0, width_, height_, colour); }

  // The 24-bit BMP pixel rows: bottom row first, B, G, R, each row padded to rowBytes.
  std::vector<u8> BmpRows(i32 rowBytes) const;
  // B, G, R, A pixels, top row first, for the PNG writer.
  std::vector<u8> BgraPixels() const;

 private:
  size_t Index(i32 x, i32 y) const { return static_cast<size_t>(y) * width_ + x; }
  // The colour a pixel is written with: black when see-through, else lifted to stay opaque.
  Rgb Exported(i32 x, i32 y) const;

  i32 width_ = 0;
  i32 height_ = 0;
  std::vector<Rgb> colours_;
  std::vector<u8> opaque_;
};
