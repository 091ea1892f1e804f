// Image files of the graphics device: loading BMP or PNG files (or "mem://" blocks) into sprite
// and screen slots, and saving a sprite or the whole back buffer as a 24-bit BMP or, for a name
// ending in ".png" in any case, an 8-bit RGBA PNG. Pixels of the device's transparent colour
// are written as the file's transparency: alpha 0 in a PNG, R 255, G 0, B 128 in a BMP.
#pragma once

#include "core/types.h"

class OpenGLRainbows;

// Writes width x height pixels of B, G, R bytes taken from a buffer of rows x stride pixels.
// With topDown 1 the buffer's first row is the picture's top row, with 0 its bottom row. A pixel
// equal to the transparent colour as the back buffer would store it (see ProbeStoredColour) is a
// key pixel. Returns 1, or 0 for a null or refused name, a size that does not fit the buffer,
// or a failed write.
i32 SaveImageFile(OpenGLRainbows* gfx, const char* name, const u8* pixels, i32 width, i32 height,
                  i32 stride, i32 rows, u8 topDown);

// The device's transparent colour as the current plot function would store it over the pixel 4
// right and 4 down from the viewport origin (over black outside the target), as
// R << 24 | G << 16 | B << 8; 0 when the transparent colour is 0. The back buffer is not touched.
u32 ProbeStoredColour(OpenGLRainbows* gfx);

// Saves the whole back buffer (grabbed from the viewport origin, so parts outside the viewport
// save as transparent).
i32 SaveScreenImage(OpenGLRainbows* gfx, const char* name);
