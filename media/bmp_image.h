// BMP pictures: the reader (12- or 40-byte info headers; 1, 4, 8, 24 and 32 bits a pixel;
// bottom-up or, with a negative height, top-down rows) and the 24-bit writer's layout.
#pragma once

#include <cstdio>

#include "core/types.h"
#include "media/rgba_image.h"

// No colour key: no pixel is made transparent.
constexpr u32 kNoColourKey = 0xFFFFFFFFu;

// Reads a BMP file or "mem://" block into image. A pixel whose R | G << 8 | B << 16 equals the
// key (compared as given: a key with a top byte other than that of kNoColourKey matches
// nothing) becomes 0, 0, 0, 0. Returns 1, or 0 with the image emptied.
i32 LoadBmpImage(RgbaImage& image, const char* name, u32 colourKey);
i32 LoadBmpImage(RgbaImage* image, const char* name, u32 colourKey);

// The 24-bit layout: rows of B, G, R padded to a multiple of 4 bytes, bottom row first, after a
// 54-byte header.
constexpr i32 kBmpHeaderBytes = 54;
i32 Bmp24RowBytes(i32 width);
void EncodeBmp24Header(u8 header[kBmpHeaderBytes], i32 width, i32 height);
// Writes header and rows (Bmp24RowBytes(width) * height bytes in file order) to a new file
// (through CreateFileForWriting; "mem://" names are refused). Returns 1, or 0 when the name is
// refused or a write fails.
i32 SaveBmp24(const char* name, i32 width, i32 height, const u8* fileRows);
