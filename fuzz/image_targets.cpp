// The BMP and PNG readers over hostile bytes. Each input is read twice, as a memory file and as a
// file on disk, and a third time into an image that already holds a picture (the buffer is then
// reused). A file the reader accepts must give the same picture every way; failures must leave
// the image as the reader promises.
//
// PNG inputs get their chunk checksums recomputed first: libpng rejects a chunk whose checksum
// is wrong, so without this nearly every mutation would stop at the first damaged chunk and
// never reach the header fields and the data behind it.
#include <zlib.h>

#include <cstring>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "fuzz/fuzz_target.h"
#include "media/bmp_image.h"
#include "media/png_image.h"

namespace {

// Magenta: seeds hold pixels of it, so the key is met as well as missed.
constexpr u32 kKey = 0x00FF00FF;

// The input with the checksum of every whole chunk after the signature set right.
std::vector<u8> WithChunkChecksums(const u8* data, std::size_t size) {
  std::vector<u8> png(data, data + size);
  std::size_t at = 8;
  while (at + 12 <= png.size()) {
    const u8* p = &png[at];
    const std::size_t length = (std::size_t{p[0]} << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
    if (length > png.size() - at - 12) break;
    const uLong crc = crc32(crc32(0L, Z_NULL, 0), p + 4, static_cast<uInt>(length + 4));
    u8* field = &png[at + 8 + length];
    for (int i = 0; i < 4; ++i) field[i] = static_cast<u8>(crc >> (24 - 8 * i));
    at += length + 12;
  }
  return png;
}

bool SamePicture(const RgbaImage& a, const RgbaImage& b) {
  return a.width == b.width && a.height == b.height &&
         std::memcmp(a.rgba, b.rgba, static_cast<std::size_t>(a.width) * a.height * 4) == 0;
}

void CheckLoaded(const RgbaImage& image) {
  FUZZ_CHECK(image.width > 0 && image.height > 0 && image.rgba != nullptr, "loaded but empty");
  FUZZ_CHECK(i64{image.width} * image.height * 4 <= image.capacityBytes,
             "picture larger than its buffer");
}

bool IsEmpty(const RgbaImage& image) {
  return image.rgba == nullptr && image.width == 0 && image.height == 0 && image.capacityBytes == 0;
}

using Loader = i32 (*)(RgbaImage&, const char*, u32);

struct Loads {
  i32 fromMemory;
  i32 fromFile;
};

// Loads the bytes as a memory file into `memory` and as a file into `file`.
Loads LoadBothWays(Loader load, const char* fileName, const u8* data, std::size_t size,
                   RgbaImage& memory, RgbaImage& file) {
  const MemoryFile block(data, size);
  const std::string path = WriteFuzzFile(fileName, data, size);
  Loads loads{load(memory, block.Name(), kKey), load(file, path.c_str(), kKey)};
  if (loads.fromMemory) CheckLoaded(memory);
  if (loads.fromFile) CheckLoaded(file);
  return loads;
}

// A 1 x 1 picture of known bytes, to be read over.
void FillWithMarker(RgbaImage& image) {
  SizeRgbaImage(image, 1, 1);
  std::memcpy(image.rgba, "\x01\x02\x03\x04", 4);
}

bool HoldsMarker(const RgbaImage& image) {
  return image.width == 1 && image.height == 1 &&
         std::memcmp(image.rgba, "\x01\x02\x03\x04", 4) == 0;
}

}  // namespace

void FuzzBmpImage(const u8* data, std::size_t size) {
  BeginFuzzInput();
  OwnedRgbaImage memory, file, reused;
  const Loads loads =
      LoadBothWays(LoadBmpImage, "picture.bmp", data, size, memory.image, file.image);
  // A memory file reads a field cut by its end as zeros, where a file fails: memory may accept
  // more, never less.
  FUZZ_CHECK(loads.fromMemory || !loads.fromFile, "BMP loads from a file but not from memory");
  if (loads.fromFile) FUZZ_CHECK(SamePicture(memory.image, file.image), "BMP pictures differ");

  // Over a picture already held: the same picture, or an empty image on failure.
  FillWithMarker(reused.image);
  const MemoryFile block(data, size);
  const i32 again = LoadBmpImage(reused.image, block.Name(), kKey);
  FUZZ_CHECK(again == loads.fromMemory, "BMP load depends on the image it fills");
  if (again) FUZZ_CHECK(SamePicture(memory.image, reused.image), "reused BMP picture differs");
  if (!again) FUZZ_CHECK(IsEmpty(reused.image), "failed BMP load left a picture");
}

void FuzzPngImage(const u8* input, std::size_t inputSize) {
  BeginFuzzInput();
  const std::vector<u8> png = WithChunkChecksums(input, inputSize);
  const u8* data = png.data();
  const std::size_t size = png.size();
  OwnedRgbaImage memory, file, reused;
  const Loads loads =
      LoadBothWays(LoadPngImage, "picture.png", data, size, memory.image, file.image);
  FUZZ_CHECK(loads.fromMemory == loads.fromFile, "PNG loads one way only");
  if (loads.fromFile) FUZZ_CHECK(SamePicture(memory.image, file.image), "PNG pictures differ");

  // Over a picture already held: the same picture, or the old one kept on failure.
  FillWithMarker(reused.image);
  const MemoryFile block(data, size);
  const i32 again = LoadPngImage(reused.image, block.Name(), kKey);
  FUZZ_CHECK(again == loads.fromMemory, "PNG load depends on the image it fills");
  if (again) FUZZ_CHECK(SamePicture(memory.image, reused.image), "reused PNG picture differs");
  if (!again) FUZZ_CHECK(HoldsMarker(reused.image), "failed PNG load changed the image");
}
