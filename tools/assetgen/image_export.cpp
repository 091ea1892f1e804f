// Picture export: the canvas's pixels in the layout each runtime writer takes.
#include "tools/assetgen/image_export.h"

#include "media/bmp_image.h"
#include "media/png_image.h"

bool WritePicture(const PictureAsset& picture, const std::string& folder) {
  const std::string path = folder + "/" + picture.name;
  const Canvas& c = picture.canvas;
  if (picture.format == PictureFormat::kPngRgba) {
    const std::vector<u8> pixels = c.BgraPixels();
    return SavePng(path.c_str(), pixels.data(), c.width(), c.height()) == 1;
  }
  const std::vector<u8> rows = c.BmpRows(Bmp24RowBytes(c.width()));
  return SaveBmp24(path.c_str(), c.width(), c.height(), rows.data()) == 1;
}
