// Sizing and release of decoded pictures.
#include "media/rgba_image.h"

#include <cstring>
#include <new>

bool ImageSizeAllowed(i64 width, i64 height) {
  return width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide &&
         width * height <= kMaxImagePixels;
}

bool WritableImageSize(i64 width, i64 height) {
  return width > 0 && height > 0 && width <= 65535 && height <= 65535 &&
         width * height * 4 <= i64{0x7FFFFFFF} - 1024;
}

bool SizeRgbaImage(RgbaImage& image, i32 width, i32 height) {
  if (!ImageSizeAllowed(width, height)) {
    ReleaseRgbaImage(image);
    return false;
  }
  i32 bytes = width * height * 4;  // at most 4 * kMaxImagePixels, within i32
  if (image.rgba == nullptr || image.capacityBytes < bytes) {
    delete[] image.rgba;
    image.rgba = new (std::nothrow) u8[static_cast<size_t>(bytes)];
    image.capacityBytes = image.rgba != nullptr ? bytes : 0;
    if (image.rgba == nullptr) {
      ReleaseRgbaImage(image);
      return false;
    }
  }
  image.width = width;
  image.height = height;
  std::memset(image.rgba, 0, static_cast<size_t>(bytes));
  return true;
}

void ReleaseRgbaImage(RgbaImage& image) {
  delete[] image.rgba;
  image.rgba = nullptr;
  image.width = 0;
  image.height = 0;
  image.capacityBytes = 0;
}
