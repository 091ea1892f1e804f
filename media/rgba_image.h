// RgbaImage: a decoded picture, 4 bytes a pixel in the order R, G, B, A, rows top to bottom, as
// the BMP and PNG readers fill it and surfaces and fonts are built from it.
//
// Ownership: a plain record. Whoever holds it owns `rgba` (allocated with new[]) and frees it
// with ReleaseRgbaImage, or with delete[] itself: the 3D scene loader zeroes the record before
// each picture and frees the buffer on its own. OwnedRgbaImage does the release for local use.
#pragma once

#include "core/types.h"

struct RgbaImage {
  i32 width = 0;
  i32 height = 0;
  u8* rgba = nullptr;     // width * height * 4 bytes
  i32 capacityBytes = 0;  // size of rgba; replaced only when a picture needs more
};

// The value a colour key is compared with: R | G << 8 | B << 16 of a pixel's first three bytes.
inline u32 RgbKeyValue(const u8* rgb) { return rgb[0] | u32{rgb[1]} << 8 | u32{rgb[2]} << 16; }

// Largest picture any reader accepts: 16384 pixels a side (a whole picture then takes 1 GiB).
// A header alone never sizes anything that large: each reader first checks that the rest of the
// file can hold the pixel data (the BMP rows as they are, the PNG rows compressed), so a short
// damaged or hostile file cannot ask for gigabytes.
constexpr i32 kMaxImageSide = 16384;
constexpr i64 kMaxImagePixels = i64{kMaxImageSide} * kMaxImageSide;

// True when a picture of width x height is within the caps (both sides above 0).
bool ImageSizeAllowed(i64 width, i64 height);

// True when a written picture of width x height stays within the 2 GiB that file formats and
// their size fields can describe.
bool WritableImageSize(i64 width, i64 height);

// Sizes the image to width x height with every byte 0; the buffer is replaced only when it is
// too small. False (image emptied) when the size is not allowed or cannot be allocated.
bool SizeRgbaImage(RgbaImage& image, i32 width, i32 height);

// Frees the buffer; width, height and capacity become 0.
void ReleaseRgbaImage(RgbaImage& image);

// An RgbaImage released when it goes out of scope.
struct OwnedRgbaImage {
  RgbaImage image;
  OwnedRgbaImage() = default;
  ~OwnedRgbaImage() { ReleaseRgbaImage(image); }
  OwnedRgbaImage(const OwnedRgbaImage&) = delete;
  OwnedRgbaImage& operator=(const OwnedRgbaImage&) = delete;
};
