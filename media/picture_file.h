// Reading a picture file whatever its format: a BMP first, else a PNG, from a file or a "mem://"
// block. Sprites, screens, fonts and surfaces all load their pictures this way.
#pragma once

#include "core/types.h"
#include "media/rgba_image.h"

// True when one of the readers took the picture; pixels matching colourKey come in transparent
// as that reader does it (bmp_image.h, png_image.h). A null name reads nothing.
bool LoadPictureFile(RgbaImage& image, const char* name, u32 colourKey);
