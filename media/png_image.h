// PNG pictures through libpng: the reader accepts 8-bit grey, RGB and RGBA after expanding
// palettes, low-depth grey and transparency chunks, stripping 16-bit samples and unpacking
// sub-byte pixels; grey with alpha is refused. The writer stores 8-bit RGBA.
//
// libpng reports errors by longjmp; every setjmp sits in a function whose locals have trivial
// destructors, so no C++ object is ever jumped over.
#pragma once

#include "core/types.h"
#include "media/rgba_image.h"

// Reads a PNG file or "mem://" block into image. With a key other than kNoColourKey, a pixel of
// a 3-channel picture whose R | G << 8 | B << 16 equals it becomes 0, 0, 0, 0 (pictures with
// alpha keep their own transparency). Returns 1, or 0 with the image left as it was.
i32 LoadPngImage(RgbaImage& image, const char* name, u32 colourKey);
i32 LoadPngImage(RgbaImage* image, const char* name, u32 colourKey);

// The reading steps, over one process-wide open picture (opening another closes the first).
// OpenPng checks the picture and gives its size after the transformations; ReadPngRows fills
// rowBytes * height bytes at pixels (returns 0 when the data turns out damaged); ClosePng is
// safe when nothing is open.
i32 OpenPng(const char* name, u32* width, u32* height, u32* rowBytes, u32* channels);
i32 ReadPngRows(u8* pixels, u8** rowPointers);
void ClosePng();

// Writes width x height pixels given as B, G, R, A (4 bytes each, rows top to bottom) as an
// 8-bit RGBA PNG. Returns 1, or 0 for a refused name, a bad size or a failed write.
i32 SavePng(const char* name, const u8* pixels, i32 width, i32 height);
