// BMP reading and the 24-bit BMP writer. Header fields are read one at a time in file order and
// checked before they size anything: a damaged file fails softly instead of driving allocations.
#include "media/bmp_image.h"

#include <cstring>
#include <memory>
#include <new>

#include "core/byte_order.h"
#include "files/file_open.h"
#include "files/memory_name.h"
#include "media/image_source.h"

namespace {

constexpr i32 kCoreHeaderSize = 12;
constexpr i32 kInfoHeaderSize = 40;
constexpr u32 kCompressionNone = 0;
constexpr u32 kCompressionBitFields = 3;
constexpr i64 kMaskBytes = 12;

struct BmpHeader {
  i64 width = 0;
  i64 height = 0;  // as stored: negative means top row first
  i32 bitsPerPixel = 0;
  u32 compression = 0;
  i32 headerSize = 0;
  i64 dataOffset = 0;
};

// Palette entries as R, G, B. Only 256 can ever be indexed; entries a file does not supply
// stay black.
struct BmpPalette {
  u8 rgb[256][3] = {};
};

bool ReadU16(ImageSource& src, u32& v) {
  u8 b[2];
  if (!src.ReadField(b, 2)) return false;
  v = ReadLE16(b);
  return true;
}

bool ReadU32(ImageSource& src, u32& v) {
  u8 b[4];
  if (!src.ReadField(b, 4)) return false;
  v = ReadLE32(b);
  return true;
}

bool ReadHeader(ImageSource& src, BmpHeader& h) {
  u8 magic[2];
  u32 fileSize, reserved, dataOffset, headerSize;
  if (!src.ReadField(magic, 2) || magic[0] != 'B' || magic[1] != 'M') return false;
  if (!ReadU32(src, fileSize) || !ReadU16(src, reserved) || !ReadU16(src, reserved)) return false;
  if (!ReadU32(src, dataOffset) || !ReadU32(src, headerSize)) return false;
  h.dataOffset = static_cast<i32>(dataOffset);
  h.headerSize = static_cast<i32>(headerSize);
  u32 width, height, planes, bits;
  if (h.headerSize == kCoreHeaderSize) {
    if (!ReadU16(src, width) || !ReadU16(src, height) || !ReadU16(src, planes) ||
        !ReadU16(src, bits)) {
      return false;
    }
    h.width = width;
    h.height = height;
  } else if (h.headerSize == kInfoHeaderSize) {
    u32 compression, unused;
    if (!ReadU32(src, width) || !ReadU32(src, height) || !ReadU16(src, planes) ||
        !ReadU16(src, bits) || !ReadU32(src, compression)) {
      return false;
    }
    for (int i = 0; i < 5; ++i) {
      if (!ReadU32(src, unused)) return false;
    }
    h.width = static_cast<i32>(width);
    h.height = static_cast<i32>(height);
    h.compression = compression;
  } else {
    return false;
  }
  h.bitsPerPixel = static_cast<i32>(bits);
  return true;
}

// The palette is present only when the data offset leaves room for more than the info header;
// the rows follow it directly. Entries beyond 256, and all entries of a picture deeper than
// 8 bits, are read past without being kept.
bool ReadPalette(ImageSource& src, const BmpHeader& h, BmpPalette& pal) {
  if (h.dataOffset - 14 <= kInfoHeaderSize) return true;
  i64 entrySize = h.headerSize == kCoreHeaderSize ? 3 : 4;
  i64 bytes = h.headerSize == kCoreHeaderSize
                  ? (h.bitsPerPixel < 40 ? (i64{1} << h.bitsPerPixel) * 3 : i64{1} << 40)
                  : h.dataOffset - 54;
  i64 kept = h.bitsPerPixel <= 8 ? std::min<i64>(bytes / entrySize, 256) : 0;
  for (i64 i = 0; i < kept; ++i) {
    u8 entry[4];
    if (!src.ReadField(entry, static_cast<size_t>(entrySize))) return false;
    pal.rgb[i][0] = entry[2];
    pal.rgb[i][1] = entry[1];
    pal.rgb[i][2] = entry[0];
  }
  return src.Skip(bytes - kept * entrySize);
}

// A bit-field file keeps its red, green and blue masks in the first 12 bytes of the palette
// area. A 32-bit file with the usual masks lays out its pixels exactly as an uncompressed one
// does, so it is read the same way; any other masks would need shifting that raw reading does not
// do.
bool ReadUsualMasks(ImageSource& src, const BmpHeader& h) {
  if (h.bitsPerPixel != 32 || h.dataOffset - 54 < kMaskBytes) return false;
  u32 red, green, blue;
  return ReadU32(src, red) && ReadU32(src, green) && ReadU32(src, blue) &&
         red == 0x00FF0000 && green == 0x0000FF00 && blue == 0x000000FF;
}

// Everything between the info header and the rows. Run-length rows read as raw pixels would
// decode to noise, so only uncompressed files and bit-field files with the usual masks get here.
// A 32-bit file keeps no palette: what follows the masks (an alpha mask, say) is read past.
bool ReadPaletteArea(ImageSource& src, const BmpHeader& h, BmpPalette& pal) {
  if (h.compression == kCompressionNone) return ReadPalette(src, h, pal);
  return h.compression == kCompressionBitFields && ReadUsualMasks(src, h) &&
         src.Skip(h.dataOffset - 54 - kMaskBytes);
}

bool DepthAccepted(i32 bits) {
  return bits == 1 || bits == 4 || bits == 8 || bits == 24 || bits == 32;
}

i64 RowBytesFor(i64 bits, i64 width) { return (bits * width + 31) / 32 * 4; }

void DecodeRow(const u8* row, i32 width, i32 bits, const BmpPalette& pal, u8* out) {
  for (i32 x = 0; x < width; ++x, out += 4) {
    i32 index = -1;
    switch (bits) {
      case 1:
        index = (row[x / 8] >> (7 - (x % 8))) & 1;
        break;
      case 4:
        index = (x % 2 == 0) ? (row[x / 2] >> 4) : (row[x / 2] & 0x0F);
        break;
      case 8:
        index = row[x];
        break;
      default: {
        const u8* p = row + static_cast<size_t>(x) * (bits / 8);
        out[0] = p[2];
        out[1] = p[1];
        out[2] = p[0];
      }
    }
    if (index >= 0) std::memcpy(out, pal.rgb[index], 3);
    out[3] = 255;
  }
}

void ApplyKey(RgbaImage& image, u32 key) {
  if (key == kNoColourKey) return;
  u8* p = image.rgba;
  for (i64 i = 0, n = i64{image.width} * image.height; i < n; ++i, p += 4) {
    if (RgbKeyValue(p) == key) std::memset(p, 0, 4);
  }
}

i32 Fail(RgbaImage& image) {
  ReleaseRgbaImage(image);
  return 0;
}

i32 DecodeBmp(RgbaImage& image, ImageSource& src, u32 colourKey) {
  BmpHeader h;
  BmpPalette pal;
  if (!ReadHeader(src, h) || !ReadPaletteArea(src, h, pal)) return Fail(image);
  i64 height = h.height < 0 ? -h.height : h.height;
  if (!DepthAccepted(h.bitsPerPixel) || !ImageSizeAllowed(h.width, height)) return Fail(image);
  i64 rowBytes = RowBytesFor(h.bitsPerPixel, h.width);
  i64 pixelBytes = rowBytes * height;
  if (pixelBytes > src.Remaining()) return Fail(image);
  std::unique_ptr<u8[]> pixels(new (std::nothrow) u8[static_cast<size_t>(pixelBytes)]);
  if (!pixels || !src.ReadField(pixels.get(), static_cast<size_t>(pixelBytes))) return Fail(image);
  src.Close();

  i32 w = static_cast<i32>(h.width), rows = static_cast<i32>(height);
  if (!SizeRgbaImage(image, w, rows)) return Fail(image);
  for (i32 y = 0; y < rows; ++y) {
    i32 fileRow = h.height < 0 ? y : rows - 1 - y;
    DecodeRow(pixels.get() + fileRow * rowBytes, w, h.bitsPerPixel, pal,
              image.rgba + static_cast<size_t>(y) * w * 4);
  }
  ApplyKey(image, colourKey);
  return 1;
}

}  // namespace

i32 LoadBmpImage(RgbaImage& image, const char* name, u32 colourKey) {
  ImageSource src;
  if (!src.Open(name)) return Fail(image);
  return DecodeBmp(image, src, colourKey);
}

i32 LoadBmpImage(RgbaImage* image, const char* name, u32 colourKey) {
  return image != nullptr ? LoadBmpImage(*image, name, colourKey) : 0;
}

i32 Bmp24RowBytes(i32 width) { return (width * 3 + 3) & ~3; }

void EncodeBmp24Header(u8 header[kBmpHeaderBytes], i32 width, i32 height) {
  std::memset(header, 0, kBmpHeaderBytes);
  header[0] = 'B';
  header[1] = 'M';
  WriteLE32(header + 2, static_cast<u32>(kBmpHeaderBytes + Bmp24RowBytes(width) * height));
  WriteLE32(header + 10, kBmpHeaderBytes);
  WriteLE32(header + 14, kInfoHeaderSize);
  WriteLE32(header + 18, static_cast<u32>(width));
  WriteLE32(header + 22, static_cast<u32>(height));
  WriteLE16(header + 26, 1);
  WriteLE16(header + 28, 24);
  WriteLE32(header + 38, 10000);
  WriteLE32(header + 42, 10000);
}

i32 SaveBmp24(const char* name, i32 width, i32 height, const u8* fileRows) {
  if (!WritableImageSize(width, height) || fileRows == nullptr) return 0;
  if (name == nullptr || IsMemoryName(name)) return 0;
  std::FILE* fp = CreateFileForWriting(name);
  if (fp == nullptr) return 0;
  u8 header[kBmpHeaderBytes];
  EncodeBmp24Header(header, width, height);
  size_t rowsBytes = static_cast<size_t>(Bmp24RowBytes(width)) * static_cast<size_t>(height);
  bool ok = std::fwrite(header, 1, sizeof header, fp) == sizeof header &&
            std::fwrite(fileRows, 1, rowsBytes, fp) == rowsBytes;
  ok = (std::fclose(fp) == 0) && ok;
  return ok ? 1 : 0;
}
