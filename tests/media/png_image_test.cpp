// PNG reading of pictures made here with libpng in every colour type and depth (and the ones
// refused), interlaced, truncated and corrupted, from files and memory blocks; the writer's
// round trip.
#include <png.h>
#include <gtest/gtest.h>

#include <csetjmp>
#include <cstdio>
#include <string>
#include <vector>

#include "media/bmp_image.h"
#include "media/png_image.h"
#include "media/rgba_image.h"
#include "tests/support/test_support.h"

namespace {

struct PngSpec {
  u32 width = 2;
  u32 height = 2;
  int colourType = PNG_COLOR_TYPE_RGB;
  int depth = 8;
  int interlace = PNG_INTERLACE_NONE;
  std::vector<png_color> palette;
  std::vector<u8> paletteAlpha;         // tRNS for palette pictures
  const png_color_16* transparent = nullptr;  // tRNS for grey and RGB pictures
  std::vector<std::vector<u8>> rows;    // packed rows as libpng takes them
};

void AppendToString(png_structp png, png_bytep data, png_size_t length) {
  static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<char*>(data), length);
}
void NoFlush(png_structp) {}

// Kept free of objects with destructors: libpng may longjmp out of it.
int EncodeRows(const PngSpec* spec, png_bytepp rows, std::string* out) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return 0;
  }
  png_set_write_fn(png, out, AppendToString, NoFlush);
  png_set_IHDR(png, info, spec->width, spec->height, spec->depth, spec->colourType, spec->interlace,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (!spec->palette.empty()) {
    png_set_PLTE(png, info, const_cast<png_colorp>(spec->palette.data()),
                 static_cast<int>(spec->palette.size()));
  }
  if (!spec->paletteAlpha.empty()) {
    png_set_tRNS(png, info, const_cast<png_bytep>(spec->paletteAlpha.data()),
                 static_cast<int>(spec->paletteAlpha.size()), nullptr);
  }
  if (spec->transparent != nullptr) {
    png_set_tRNS(png, info, nullptr, 0, const_cast<png_color_16p>(spec->transparent));
  }
  png_write_info(png, info);
  png_write_image(png, rows);
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return 1;
}

std::string Encode(const PngSpec& spec) {
  std::vector<png_bytep> rows;
  for (const auto& r : spec.rows) rows.push_back(const_cast<png_bytep>(r.data()));
  std::string out;
  EXPECT_EQ(1, EncodeRows(&spec, rows.data(), &out));
  return out;
}

// A memory-file name for bytes that stay alive while it is used.
std::string MemoryName(const std::string& bytes) {
  char name[64];
  std::snprintf(name, sizeof name, "mem://%8x.%lx", static_cast<unsigned>(bytes.size()),
                reinterpret_cast<unsigned long>(bytes.data()));
  return name;
}

std::vector<std::string> Pixels(const RgbaImage& image) {
  std::vector<std::string> out;
  for (i32 y = 0; y < image.height; ++y) {
    std::string row;
    for (i32 x = 0; x < image.width; ++x) {
      const u8* p = image.rgba + (y * image.width + x) * 4;
      char buf[10];
      std::snprintf(buf, sizeof buf, "%02x%02x%02x%02x ", p[0], p[1], p[2], p[3]);
      row += buf;
    }
    out.push_back(row);
  }
  return out;
}

const png_color_16 kGreyTransparent = {0, 0, 0, 0, 0};
const png_color_16 kRgbTransparent = {0, 0xFF, 0x00, 0xFF, 0};

struct ReadCase {
  const char* name;
  PngSpec spec;
  std::vector<std::string> pixels;  // empty: the picture is refused
};

std::vector<ReadCase> ReadCases() {
  std::vector<ReadCase> cases;
  PngSpec rgb;
  rgb.rows = {{1, 2, 3, 4, 5, 6}, {7, 8, 9, 0xFF, 0, 0xFF}};
  cases.push_back({"RGB 8", rgb, {"010203ff 040506ff ", "070809ff ff00ffff "}});

  PngSpec rgba;
  rgba.colourType = PNG_COLOR_TYPE_RGB_ALPHA;
  rgba.rows = {{1, 2, 3, 4, 5, 6, 7, 0}, {0xFF, 0, 0xFF, 0xFF, 9, 9, 9, 9}};
  cases.push_back({"RGBA 8", rgba, {"01020304 05060700 ", "ff00ffff 09090909 "}});

  PngSpec rgb16;
  rgb16.depth = 16;
  rgb16.rows = {{0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0, 1, 0, 2, 0, 3},
                {0xFF, 0xFF, 0, 0, 0x80, 0x7F, 1, 0, 2, 0, 3, 0}};
  cases.push_back({"RGB 16 is cut to 8", rgb16, {"12569aff 000000ff ", "ff0080ff 010203ff "}});

  PngSpec grey1;
  grey1.colourType = PNG_COLOR_TYPE_GRAY;
  grey1.depth = 1;
  grey1.width = 3;
  grey1.rows = {{0xA0}, {0x40}};  // 1 0 1 / 0 1 0
  cases.push_back({"grey 1", grey1, {"ffffffff 000000ff ffffffff ", "000000ff ffffffff 000000ff "}});

  PngSpec grey2 = grey1;
  grey2.depth = 2;
  grey2.rows = {{0x1B}, {0xE4}};  // 0 1 2 / 3 2 1
  cases.push_back({"grey 2", grey2, {"000000ff 555555ff aaaaaaff ", "ffffffff aaaaaaff 555555ff "}});

  PngSpec grey4 = grey1;
  grey4.depth = 4;
  grey4.rows = {{0x01, 0xF0}, {0x8C, 0x30}};
  cases.push_back({"grey 4", grey4, {"000000ff 111111ff ffffffff ", "888888ff ccccccff 333333ff "}});

  PngSpec grey8 = grey1;
  grey8.depth = 8;
  grey8.rows = {{0, 0x7F, 0xFF}, {1, 2, 3}};
  cases.push_back({"grey 8", grey8, {"000000ff 7f7f7fff ffffffff ", "010101ff 020202ff 030303ff "}});

  PngSpec grey16 = grey1;
  grey16.depth = 16;
  grey16.rows = {{0x12, 0x34, 0xAB, 0xCD, 0, 0xFF}, {1, 0, 2, 0, 3, 0}};
  cases.push_back({"grey 16", grey16, {"121212ff abababff 000000ff ", "010101ff 020202ff 030303ff "}});

  PngSpec pal;
  pal.colourType = PNG_COLOR_TYPE_PALETTE;
  pal.palette = {{10, 20, 30}, {40, 50, 60}, {70, 80, 90}};
  pal.rows = {{0, 1}, {2, 0}};
  cases.push_back({"palette 8", pal, {"0a141eff 28323cff ", "46505aff 0a141eff "}});

  PngSpec pal2 = pal;
  pal2.depth = 2;
  pal2.rows = {{0x60}, {0x80}};  // 1 2 / 2 0
  cases.push_back({"palette 2", pal2, {"28323cff 46505aff ", "46505aff 0a141eff "}});

  PngSpec palAlpha = pal;
  palAlpha.paletteAlpha = {0, 128};
  cases.push_back({"palette with transparency", palAlpha,
                   {"0a141e00 28323c80 ", "46505aff 0a141e00 "}});

  PngSpec rgbKey = rgb;
  rgbKey.transparent = &kRgbTransparent;
  cases.push_back({"RGB with transparent colour", rgbKey,
                   {"010203ff 040506ff ", "070809ff ff00ff00 "}});

  PngSpec greyKey = grey8;
  greyKey.transparent = &kGreyTransparent;
  cases.push_back({"grey with transparent colour is refused", greyKey, {}});

  PngSpec greyAlpha;
  greyAlpha.colourType = PNG_COLOR_TYPE_GRAY_ALPHA;
  greyAlpha.rows = {{1, 2, 3, 4}, {5, 6, 7, 8}};
  cases.push_back({"grey with alpha is refused", greyAlpha, {}});

  PngSpec interlaced;
  interlaced.width = interlaced.height = 9;
  interlaced.interlace = PNG_INTERLACE_ADAM7;
  std::vector<std::string> expected;
  for (u32 y = 0; y < 9; ++y) {
    std::vector<u8> row;
    std::string text;
    for (u32 x = 0; x < 9; ++x) {
      u8 r = static_cast<u8>(x * 16 + y), g = static_cast<u8>(255 - x), b = static_cast<u8>(y * 7);
      row.insert(row.end(), {r, g, b});
      char buf[10];
      std::snprintf(buf, sizeof buf, "%02x%02x%02xff ", r, g, b);
      text += buf;
    }
    interlaced.rows.push_back(row);
    expected.push_back(text);
  }
  cases.push_back({"interlaced", interlaced, expected});
  return cases;
}

TEST(PngReader, DecodesEveryAcceptedTypeAndRefusesTheOthers) {
  ScopedTempDir dir;
  for (const ReadCase& c : ReadCases()) {
    const std::string bytes = Encode(c.spec);
    const std::string path = dir.File("picture.png");
    ASSERT_TRUE(WriteFileBytes(path, bytes));
    for (const std::string& name : {path, MemoryName(bytes)}) {
      OwnedRgbaImage image;
      testing::internal::CaptureStdout();
      const i32 result = LoadPngImage(image.image, name.c_str(), kNoColourKey);
      EXPECT_EQ("", testing::internal::GetCapturedStdout()) << c.name;
      EXPECT_EQ(c.pixels.empty() ? 0 : 1, result) << c.name << " from " << name;
      if (result == 1) {
        EXPECT_EQ(c.pixels, Pixels(image.image)) << c.name;
      }
    }
  }
}

TEST(PngReader, KeyAppliesToThreeChannelPicturesOnly) {
  const std::vector<ReadCase> cases = ReadCases();
  struct Case { const char* name; std::vector<std::string> pixels; };
  const Case keyed[] = {
      {"RGB 8", {"010203ff 040506ff ", "070809ff 00000000 "}},
      {"RGBA 8", {"01020304 05060700 ", "ff00ffff 09090909 "}},
  };
  for (const Case& k : keyed) {
    for (const ReadCase& c : cases) {
      if (std::string(c.name) != k.name) continue;
      const std::string bytes = Encode(c.spec);
      OwnedRgbaImage image;
      ASSERT_EQ(1, LoadPngImage(image.image, MemoryName(bytes).c_str(), 0x00FF00FF));
      EXPECT_EQ(k.pixels, Pixels(image.image)) << k.name;
    }
  }
}

std::string SamplePng() {
  PngSpec spec = ReadCases().back().spec;  // the interlaced 9 x 9
  spec.interlace = PNG_INTERLACE_NONE;
  return Encode(spec);
}

TEST(PngReader, TruncatedCopiesFailAndLeaveTheImageAsItWas) {
  const std::string good = SamplePng();
  const size_t iendSize = 12;
  for (size_t n = 0; n + iendSize < good.size(); ++n) {
    const std::string cut = good.substr(0, n);
    OwnedRgbaImage image;
    SizeRgbaImage(image.image, 1, 1);
    image.image.rgba[0] = 42;
    ASSERT_EQ(0, LoadPngImage(image.image, MemoryName(cut).c_str(), kNoColourKey)) << n;
    EXPECT_EQ(1, image.image.width);
    EXPECT_EQ(42, image.image.rgba[0]);
  }
}

TEST(PngReader, CorruptedCopiesNeverCrash) {
  const std::string good = SamplePng();
  i32 accepted = 0;
  for (size_t i = 0; i < good.size(); ++i) {
    std::string damaged = good;
    damaged[i] = static_cast<char>(damaged[i] ^ 0x5A);
    OwnedRgbaImage image;
    if (LoadPngImage(image.image, MemoryName(damaged).c_str(), kNoColourKey) == 1) {
      ++accepted;
      EXPECT_GE(image.image.capacityBytes, image.image.width * image.image.height * 4);
    }
  }
  EXPECT_LT(accepted, static_cast<i32>(good.size()));  // checksums catch most damage
}

TEST(PngReader, HugeDeclaredSizeFailsSoftly) {
  PngSpec spec;
  spec.width = 20000;
  spec.height = 1;
  spec.colourType = PNG_COLOR_TYPE_GRAY;
  spec.rows = {std::vector<u8>(20000, 7)};
  const std::string wide = Encode(spec);
  OwnedRgbaImage image;
  EXPECT_EQ(0, LoadPngImage(image.image, MemoryName(wide).c_str(), kNoColourKey));
}

TEST(PngReader, SecondOpenClosesTheFirst) {
  PngSpec a;
  a.rows = {{1, 1, 1, 1, 1, 1}, {1, 1, 1, 1, 1, 1}};
  PngSpec b;
  b.width = 1;
  b.height = 1;
  b.rows = {{9, 8, 7}};
  const std::string first = Encode(a), second = Encode(b);
  u32 w, h, rowBytes, channels;
  ASSERT_EQ(1, OpenPng(MemoryName(first).c_str(), &w, &h, &rowBytes, &channels));
  ASSERT_EQ(1, OpenPng(MemoryName(second).c_str(), &w, &h, &rowBytes, &channels));
  EXPECT_EQ(1u, w);
  EXPECT_EQ(3u, rowBytes);
  EXPECT_EQ(3u, channels);
  u8 pixels[3 + 72];
  u8* rows[1];
  EXPECT_EQ(1, ReadPngRows(pixels, rows));
  EXPECT_EQ(9, pixels[0]);
  ClosePng();
  ClosePng();
  EXPECT_EQ(0, ReadPngRows(pixels, rows));
}

TEST(PngReader, MissingFileAndNonPngFail) {
  ScopedTempDir dir;
  OwnedRgbaImage image;
  EXPECT_EQ(0, LoadPngImage(image.image, dir.File("absent.png").c_str(), kNoColourKey));
  const std::string text = "not a picture at all";
  EXPECT_EQ(0, LoadPngImage(image.image, MemoryName(text).c_str(), kNoColourKey));
  EXPECT_EQ(0, LoadPngImage(static_cast<RgbaImage*>(nullptr), "x", kNoColourKey));
}

TEST(PngWriter, RoundTripsAndIsDeterministic) {
  ScopedTempDir dir;
  const i32 w = 5, h = 3;
  std::vector<u8> bgra;
  std::vector<std::string> expected;
  for (i32 y = 0; y < h; ++y) {
    std::string text;
    for (i32 x = 0; x < w; ++x) {
      u8 b = static_cast<u8>(x * 40), g = static_cast<u8>(y * 90), r = static_cast<u8>(x + y), a = static_cast<u8>(x == 2 ? 0 : 255);
      bgra.insert(bgra.end(), {b, g, r, a});
      char buf[10];
      std::snprintf(buf, sizeof buf, "%02x%02x%02x%02x ", r, g, b, a);
      text += buf;
    }
    expected.push_back(text);
  }
  const std::string path = dir.File("out.png"), again = dir.File("again.png");
  ASSERT_EQ(1, SavePng(path.c_str(), bgra.data(), w, h));
  ASSERT_EQ(1, SavePng(again.c_str(), bgra.data(), w, h));
  const std::string bytes = ReadFileBytes(path);
  EXPECT_EQ(bytes, ReadFileBytes(again));
  // The suggested palette: 256 entries, all zero.
  const size_t plte = bytes.find("PLTE");
  ASSERT_NE(std::string::npos, plte);
  EXPECT_EQ(std::string("\x00\x00\x03\x00", 4), bytes.substr(plte - 4, 4));
  EXPECT_EQ(std::string(768, '\0'), bytes.substr(plte + 4, 768));
  EXPECT_EQ(std::string::npos, bytes.find("bKGD"));
  OwnedRgbaImage image;
  ASSERT_EQ(1, LoadPngImage(image.image, path.c_str(), 0x00000000));  // key ignored: RGBA
  EXPECT_EQ(expected, Pixels(image.image));
}

TEST(PngWriter, RefusesMemoryNamesBadSizesAndUnwritablePaths) {
  const u8 pixel[4] = {1, 2, 3, 4};
  ScopedTempDir dir;
  EXPECT_EQ(0, SavePng("mem://       4.12345678", pixel, 1, 1));
  EXPECT_EQ(0, SavePng(dir.File("zero.png").c_str(), pixel, 0, 1));
  EXPECT_EQ(0, SavePng(dir.File("negative.png").c_str(), pixel, 1, -1));
  EXPECT_EQ(0, SavePng(nullptr, pixel, 1, 1));
  testing::internal::CaptureStdout();
  EXPECT_EQ(0, SavePng("/nonexistent-folder/x.png", pixel, 1, 1));
  EXPECT_EQ("can't write to file: /nonexistent-folder/x.png\n", testing::internal::GetCapturedStdout());
}

}  // namespace
