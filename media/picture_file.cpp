// The choice between the picture readers.
#include "media/picture_file.h"

#include "media/bmp_image.h"
#include "media/png_image.h"

bool LoadPictureFile(RgbaImage& image, const char* name, u32 colourKey) {
  if (name == nullptr) return false;
  return LoadBmpImage(image, name, colourKey) != 0 || LoadPngImage(image, name, colourKey) != 0;
}
