// PNG reading and writing over libpng with the runtime's own input and output callbacks. libpng
// unwinds its errors with longjmp, so the calls that can raise one run inside small C-style
// functions (ReadHeaderInfo, ReadImageRows, WritePngStream) whose locals are all trivial; the
// C++ callers around them own the buffers and release them on both outcomes.
#include "media/png_image.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <memory>
#include <new>

#include "files/file_open.h"
#include "files/memory_name.h"
#include "media/bmp_image.h"
#include "media/image_source.h"

namespace {

// The one picture open for reading; plain pointers so that the state is trivially destructible.
struct PngReadState {
  ImageSource* source = nullptr;  // owned
  png_structp png = nullptr;
  png_infop info = nullptr;
  u32 height = 0;
  u32 rowBytes = 0;
};

PngReadState readState;

// Errors unwind to the jump buffer without printing; warnings are dropped. The readers report
// only their two depth and colour-type lines.
void QuietError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void QuietWarning(png_structp, png_const_charp) {}

// A short read is an error: decoding on with stale bytes would produce a wrong picture.
void PngReadCallback(png_structp png, png_bytep data, png_size_t length) {
  if (length == 0) return;
  auto* source = static_cast<ImageSource*>(png_get_io_ptr(png));
  if (source == nullptr || source->ReadSome(data, length) != length) png_error(png, "short read");
}

void PngWriteCallback(png_structp png, png_bytep data, png_size_t length) {
  if (length == 0) return;
  auto* fp = static_cast<std::FILE*>(png_get_io_ptr(png));
  if (fp == nullptr || std::fwrite(data, 1, length, fp) != length) png_error(png, "write failed");
}

void PngFlushCallback(png_structp) {}

// Deflate makes at most 1032 bytes from one byte of its stream (a 258-byte match coded in two
// bits), so a picture's stored rows can never come from less than 1/1032 of their size.
constexpr u64 kMaxDeflateRatio = 1032;

// The bytes of a picture's rows as the file stores them, before any transformation: a filter
// byte and the packed samples per row. Interlaced pictures store a little more, so this is a
// lower bound of what the compressed data must unpack to.
u64 StoredRowBytes(u64 width, u64 height, u64 depth, u64 channels) {
  return height * (1 + (width * depth * channels + 7) / 8);
}

// Reads the header and sets the transformations. storedBytes receives StoredRowBytes of the
// picture as the file describes it.
int ReadHeaderInfo(png_structp png, png_infop info, u64* storedBytes) {
  if (setjmp(png_jmpbuf(png))) return 0;
  png_read_info(png, info);
  int colourType = png_get_color_type(png, info);
  int depth = png_get_bit_depth(png, info);
  *storedBytes = StoredRowBytes(png_get_image_width(png, info), png_get_image_height(png, info),
                                static_cast<u64>(depth), png_get_channels(png, info));
  if (colourType == PNG_COLOR_TYPE_PALETTE || (colourType == PNG_COLOR_TYPE_GRAY && depth < 8) ||
      png_get_valid(png, info, PNG_INFO_tRNS) != 0) {
    png_set_expand(png);
  }
  if (depth == 16) png_set_strip_16(png);
  if (depth < 8) png_set_packing(png);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  return 1;
}

int ReadImageRows(png_structp png, png_bytepp rows) {
  if (setjmp(png_jmpbuf(png))) return 0;
  png_read_image(png, rows);
  return 1;
}

int WritePngStream(std::FILE* fp, png_bytepp rows, png_uint_32 width, png_uint_32 height,
                   png_colorp palette) {
  png_structp png =
      png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, QuietError, QuietWarning);
  if (png == nullptr) return 0;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    return 0;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return 0;
  }
  png_set_write_fn(png, fp, PngWriteCallback, PngFlushCallback);
  png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_PLTE(png, info, palette, 256);  // a suggested palette; its entries are all zero
  png_write_info(png, info);
  png_set_packing(png);
  png_set_bgr(png);
  png_write_image(png, rows);
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return 1;
}

i32 FailOpen() {
  ClosePng();
  return 0;
}

}  // namespace

void ClosePng() {
  if (readState.png != nullptr) {
    png_infop* info = readState.info != nullptr ? &readState.info : nullptr;
    png_destroy_read_struct(&readState.png, info, nullptr);
  }
  delete readState.source;
  readState = PngReadState{};
}

i32 OpenPng(const char* name, u32* width, u32* height, u32* rowBytes, u32* channels) {
  ClosePng();
  readState.source = new ImageSource;
  if (!readState.source->Open(name)) return FailOpen();
  readState.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, QuietError, QuietWarning);
  if (readState.png == nullptr) return FailOpen();
  readState.info = png_create_info_struct(readState.png);
  if (readState.info == nullptr) return FailOpen();
  png_set_user_limits(readState.png, kMaxImageSide, kMaxImageSide);
  png_set_read_fn(readState.png, readState.source, PngReadCallback);
  u64 storedBytes = 0;
  if (ReadHeaderInfo(readState.png, readState.info, &storedBytes) == 0) return FailOpen();

  png_structp png = readState.png;
  png_infop info = readState.info;
  u32 ch = png_get_channels(png, info);
  if (ch != 1 && ch != 3 && ch != 4) return FailOpen();  // grey with alpha: refused silently
  int depth = png_get_bit_depth(png, info);
  if (depth != 8) {
    std::printf("File %s has bit depth %d.\n", name, depth);
    std::puts("Only bit depth of 8 is supported.");
    return FailOpen();
  }
  int colourType = png_get_color_type(png, info);
  if (colourType != PNG_COLOR_TYPE_GRAY && colourType != PNG_COLOR_TYPE_RGB &&
      colourType != PNG_COLOR_TYPE_RGB_ALPHA) {
    std::printf("File %s has unsupported color type.\n", name);
    std::puts("Types GRAY, RGB and RGB_ALPHA are supported.");
    return FailOpen();
  }
  u32 w = png_get_image_width(png, info), h = png_get_image_height(png, info);
  size_t rb = png_get_rowbytes(png, info);
  if (!ImageSizeAllowed(w, h) || rb < size_t{w} * ch) return FailOpen();
  // A header may claim any size up to the caps; the rest of the file must be able to hold the
  // rows before they size anything, so a short file cannot ask for gigabytes.
  const u64 remaining = static_cast<u64>(readState.source->Remaining());
  if (storedBytes > remaining * kMaxDeflateRatio) return FailOpen();
  readState.height = h;
  readState.rowBytes = static_cast<u32>(rb);
  *width = w;
  *height = h;
  *rowBytes = static_cast<u32>(rb);
  *channels = ch;
  return 1;
}

i32 ReadPngRows(u8* pixels, u8** rowPointers) {
  if (readState.png == nullptr || pixels == nullptr || rowPointers == nullptr) return 0;
  for (u32 i = 0; i < readState.height; ++i)
    rowPointers[i] = pixels + size_t{i} * readState.rowBytes;
  return ReadImageRows(readState.png, rowPointers);
}

namespace {

void ConvertRows(RgbaImage& image, const u8* pixels, u32 rowBytes, u32 channels, u32 key) {
  for (i32 y = 0; y < image.height; ++y) {
    const u8* src = pixels + size_t(y) * rowBytes;
    u8* out = image.rgba + size_t(y) * image.width * 4;
    for (i32 x = 0; x < image.width; ++x, src += channels, out += 4) {
      if (channels == 4) {
        out[0] = src[0], out[1] = src[1], out[2] = src[2], out[3] = src[3];
      } else if (channels == 3) {
        bool keyed = key != kNoColourKey && RgbKeyValue(src) == key;
        out[0] = keyed ? 0 : src[0];
        out[1] = keyed ? 0 : src[1];
        out[2] = keyed ? 0 : src[2];
        out[3] = keyed ? 0 : 255;
      } else {
        out[0] = out[1] = out[2] = src[0];
        out[3] = 255;
      }
    }
  }
}

}  // namespace

i32 LoadPngImage(RgbaImage& image, const char* name, u32 colourKey) {
  u32 w, h, rowBytes, channels;
  if (OpenPng(name, &w, &h, &rowBytes, &channels) == 0) return 0;
  std::unique_ptr<u8*[]> rows(new (std::nothrow) u8*[h]);
  std::unique_ptr<u8[]> pixels(new (std::nothrow) u8[size_t{rowBytes} * h + 72]);
  bool read = rows && pixels && ReadPngRows(pixels.get(), rows.get()) != 0;
  ClosePng();
  if (!read || !SizeRgbaImage(image, static_cast<i32>(w), static_cast<i32>(h))) return 0;
  ConvertRows(image, pixels.get(), rowBytes, channels, colourKey);
  return 1;
}

i32 LoadPngImage(RgbaImage* image, const char* name, u32 colourKey) {
  return image != nullptr ? LoadPngImage(*image, name, colourKey) : 0;
}

i32 SavePng(const char* name, const u8* pixels, i32 width, i32 height) {
  if (name == nullptr || IsMemoryName(name) || pixels == nullptr ||
      !WritableImageSize(width, height)) {
    return 0;
  }
  std::FILE* fp = CreateFileForWriting(name);
  if (fp == nullptr) return 0;
  std::unique_ptr<png_bytep[]> rows(new png_bytep[static_cast<size_t>(height)]);
  for (i32 y = 0; y < height; ++y) {
    rows[y] = const_cast<png_bytep>(pixels + size_t(y) * width * 4);  // libpng only reads them
  }
  png_color palette[256] = {};
  int ok = WritePngStream(fp, rows.get(), static_cast<png_uint_32>(width),
                          static_cast<png_uint_32>(height), palette);
  if (std::fclose(fp) != 0) ok = 0;
  return ok != 0 ? 1 : 0;
}
