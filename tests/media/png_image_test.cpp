// PNG reading of pictures made here with libpng in every colour type and depth (and the refused
// ones), interlaced, truncated and corrupted, from files and memory blocks; the writer.
#include "media/png_image.h"

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <csetjmp>

#include "files/memory_name.h"
#include "media/bmp_image.h"
#include "tests/media/media_test_util.h"
#include "tests/support/test_support.h"

namespace {

struct Png {
  u32 width, height;
  int colourType, depth;
  std::vector<std::vector<u8>> rows;  // packed as libpng takes them
  std::vector<png_color> palette = {};
  std::vector<u8> paletteAlpha = {};
  const png_color_16* transparent = nullptr;
  int interlace = PNG_INTERLACE_NONE;
};

void Append(png_structp png, png_bytep data, png_size_t n) {
  static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<char*>(data), n);
}

// Only trivially destructible locals: libpng may longjmp out of it.
int EncodeInto(const Png* p, png_bytepp rows, std::string* out) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) return png_destroy_write_struct(&png, &info), 0;
  png_set_write_fn(png, out, Append, nullptr);
  png_set_IHDR(png, info, p->width, p->height, p->depth, p->colourType, p->interlace, 0, 0);
  if (!p->palette.empty()) png_set_PLTE(png, info, p->palette.data(), int(p->palette.size()));
  if (!p->paletteAlpha.empty())
    png_set_tRNS(png, info, p->paletteAlpha.data(), int(p->paletteAlpha.size()), nullptr);
  if (p->transparent != nullptr) png_set_tRNS(png, info, nullptr, 0, p->transparent);
  png_write_info(png, info);
  png_write_image(png, rows);
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return 1;
}

std::string Encode(const Png& p) {
  std::vector<png_bytep> rows;
  for (const auto& r : p.rows) rows.push_back(const_cast<png_bytep>(r.data()));
  std::string out;
  EXPECT_EQ(1, EncodeInto(&p, rows.data(), &out));
  return out;
}

// A memory-file name for bytes that outlive its use.
std::string MemoryName(const std::string& bytes) {
  return FormatMemoryName(static_cast<u32>(bytes.size()), bytes.data());
}

const png_color_16 kBlackIsClear = {0, 0, 0, 0, 0}, kMagentaIsClear = {0, 0xFF, 0, 0xFF, 0};
const std::vector<png_color> kPalette = {{10, 20, 30}, {40, 50, 60}, {70, 80, 90}};
constexpr int kGrey = PNG_COLOR_TYPE_GRAY, kRgb = PNG_COLOR_TYPE_RGB, kPal = PNG_COLOR_TYPE_PALETTE;

// 9 x 9 RGB picture with a different colour in every pixel.
Png Gradient(int interlace) {
  Png p{9, 9, kRgb, 8, {}};
  p.interlace = interlace;
  for (int y = 0; y < 9; ++y) {
    p.rows.emplace_back();
    for (int x = 0; x < 9; ++x)
      p.rows.back().insert(p.rows.back().end(), {u8(x * 16 + y), u8(255 - x), u8(y * 7)});
  }
  return p;
}

struct ReadCase {
  const char* name;
  Png png;
  Rows pixels;
};  // no pixels: refused

std::vector<ReadCase> ReadCases() {
  const Png rgb{2, 2, kRgb, 8, {{1, 2, 3, 4, 5, 6}, {7, 8, 9, 0xFF, 0, 0xFF}}};
  Png rgbClear = rgb, greyClear{3, 1, kGrey, 8, {{0, 0x7F, 0xFF}}},
      palAlpha{2, 1, kPal, 8, {{0, 1}}, kPalette};
  rgbClear.transparent = &kMagentaIsClear;
  greyClear.transparent = &kBlackIsClear;
  palAlpha.paletteAlpha = {0, 128};
  return {
      {"RGB 8", rgb, {"010203ff 040506ff ", "070809ff ff00ffff "}},
      {"RGBA 8",
       {2, 1, PNG_COLOR_TYPE_RGB_ALPHA, 8, {{1, 2, 3, 4, 0xFF, 0, 0xFF, 0}}},
       {"01020304 ff00ff00 "}},
      {"RGB 16 cut to 8",
       {2, 1, kRgb, 16, {{0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0, 1, 0, 2, 0, 3}}},
       {"12569aff 000000ff "}},
      {"grey 1", {3, 1, kGrey, 1, {{0xA0}}}, {"ffffffff 000000ff ffffffff "}},
      {"grey 2", {3, 1, kGrey, 2, {{0x1B}}}, {"000000ff 555555ff aaaaaaff "}},
      {"grey 4", {3, 1, kGrey, 4, {{0x01, 0xF0}}}, {"000000ff 111111ff ffffffff "}},
      {"grey 8", {3, 1, kGrey, 8, {{0, 0x7F, 0xFF}}}, {"000000ff 7f7f7fff ffffffff "}},
      {"grey 16", {2, 1, kGrey, 16, {{0x12, 0x34, 0xAB, 0xCD}}}, {"121212ff abababff "}},
      {"palette 8", {3, 1, kPal, 8, {{0, 1, 2}}, kPalette}, {"0a141eff 28323cff 46505aff "}},
      {"palette 2", {3, 1, kPal, 2, {{0x60}}, kPalette}, {"28323cff 46505aff 0a141eff "}},
      {"palette with transparency", palAlpha, {"0a141e00 28323c80 "}},
      {"RGB with a transparent colour", rgbClear, {"010203ff 040506ff ", "070809ff ff00ff00 "}},
      {"grey with a transparent colour", greyClear, {}},
      {"grey with alpha", {2, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, {{1, 2, 3, 4}}}, {}},
  };
}

TEST(PngReader, DecodesEveryAcceptedTypeAndRefusesTheOthersSilently) {
  ScopedTempDir dir;
  std::vector<ReadCase> cases = ReadCases();
  OwnedRgbaImage gradient;
  ASSERT_EQ(1,
            LoadPngImage(gradient.image, MemoryName(Encode(Gradient(PNG_INTERLACE_NONE))).c_str(),
                         kNoColourKey));
  cases.push_back({"interlaced", Gradient(PNG_INTERLACE_ADAM7), RgbaRows(gradient.image)});
  for (const ReadCase& c : cases) {
    const std::string bytes = Encode(c.png);
    ASSERT_TRUE(WriteFileBytes(dir.File("p.png"), bytes));
    for (const std::string& name : {dir.File("p.png"), MemoryName(bytes)}) {
      OwnedRgbaImage image;
      testing::internal::CaptureStdout();
      const i32 result = LoadPngImage(&image.image, name.c_str(), kNoColourKey);
      EXPECT_EQ("", testing::internal::GetCapturedStdout()) << c.name;
      ASSERT_EQ(c.pixels.empty() ? 0 : 1, result) << c.name << " from " << name;
      if (result == 1) {
        EXPECT_EQ(c.pixels, RgbaRows(image.image)) << c.name;
      }
    }
  }
}

TEST(PngReader, KeyAppliesToThreeChannelPicturesOnly) {
  const std::vector<ReadCase> cases = ReadCases();
  const std::pair<size_t, Rows> keyed[] = {{0, {"010203ff 040506ff ", "070809ff 00000000 "}},
                                           {1, {"01020304 ff00ff00 "}}};
  for (const auto& [index, pixels] : keyed) {
    const std::string bytes = Encode(cases[index].png);
    OwnedRgbaImage image;
    ASSERT_EQ(1, LoadPngImage(image.image, MemoryName(bytes).c_str(), 0x00FF00FF));
    EXPECT_EQ(pixels, RgbaRows(image.image)) << cases[index].name;
  }
}

TEST(PngReader, DamagedOrHugePicturesFailAndLeaveTheImageAsItWas) {
  const std::string good = Encode(Gradient(PNG_INTERLACE_ADAM7));
  std::vector<std::string> bad;
  for (size_t n = 0; n + 12 < good.size(); ++n) bad.push_back(good.substr(0, n));  // before IEND
  for (size_t i = 8; i < good.size() - 12; ++i)
    bad.push_back(good.substr(0, i) + char(good[i] ^ 0x5A) + good.substr(i + 1));
  bad.push_back(Encode(Png{20000, 1, kGrey, 8, {std::vector<u8>(20000, 7)}}));
  bad.push_back("not a picture at all");
  i32 accepted = 0;
  for (const std::string& bytes : bad) {
    OwnedRgbaImage image;
    SizeRgbaImage(image.image, 1, 1);
    image.image.rgba[0] = 42;
    if (LoadPngImage(image.image, MemoryName(bytes).c_str(), kNoColourKey) == 1) {
      ++accepted;  // a flipped byte the checksums let through still decodes safely
      EXPECT_EQ(9, image.image.width);
    } else {
      ASSERT_EQ(42, image.image.rgba[0]);
    }
  }
  EXPECT_LT(accepted, 20);
}

// The header of a picture with its size replaced (and its checksum made right again).
std::string WithClaimedSize(std::string png, u32 width, u32 height) {
  for (int i = 0; i < 4; ++i) {
    png[16 + i] = static_cast<char>(width >> (24 - 8 * i));
    png[20 + i] = static_cast<char>(height >> (24 - 8 * i));
  }
  const uLong crc = crc32(0L, reinterpret_cast<const Bytef*>(png.data() + 12), 17);
  for (int i = 0; i < 4; ++i) png[29 + i] = static_cast<char>(crc >> (24 - 8 * i));
  return png;
}

// Headers may claim up to 16384 pixels a side, but only a file that can hold the rows, however
// well compressed, gets that far: a short file cannot ask for gigabytes.
TEST(PngReader, SizeClaimsMustFitTheFile) {
  EXPECT_TRUE(ImageSizeAllowed(16384, 16384));
  EXPECT_FALSE(ImageSizeAllowed(16385, 1));
  const Png widest{16384, 64, kGrey, 8, std::vector<std::vector<u8>>(64, std::vector<u8>(16384))};
  const std::string small = Encode({2, 2, kRgb, 8, {{1, 2, 3, 4, 5, 6}, {7, 8, 9, 1, 2, 3}}});
  const std::pair<std::string, i32> cases[] = {
      {Encode(widest), 1},  // compressed about as well as deflate can
      {WithClaimedSize(small, 16384, 16384), 0},
      {WithClaimedSize(small, 16384, 2), 0},
      {WithClaimedSize(small, 2, 2), 1},
  };
  for (const auto& [bytes, result] : cases) {
    u32 w, h, rowBytes, channels;
    EXPECT_EQ(result, OpenPng(MemoryName(bytes).c_str(), &w, &h, &rowBytes, &channels))
        << bytes.size() << " bytes";
    ClosePng();
    OwnedRgbaImage image;
    EXPECT_EQ(result, LoadPngImage(image.image, MemoryName(bytes).c_str(), kNoColourKey));
  }
}

TEST(PngReader, SecondOpenClosesTheFirst) {
  const std::string first = Encode(Gradient(PNG_INTERLACE_NONE)),
                    second = Encode({1, 1, kRgb, 8, {{9, 8, 7}}});
  u32 w, h, rowBytes, channels;
  ASSERT_EQ(1, OpenPng(MemoryName(first).c_str(), &w, &h, &rowBytes, &channels));
  ASSERT_EQ(1, OpenPng(MemoryName(second).c_str(), &w, &h, &rowBytes, &channels));
  EXPECT_EQ(1u, w);
  EXPECT_EQ(3u, rowBytes);
  u8 pixels[3 + 72];
  u8* rows[1];
  EXPECT_EQ(1, ReadPngRows(pixels, rows));
  EXPECT_EQ(9, pixels[0]);
  ClosePng();
  ClosePng();
  EXPECT_EQ(0, ReadPngRows(pixels, rows));
}

TEST(PngWriter, RoundTripsDeterministicallyAndRefusesWhatItCannotWrite) {
  ScopedTempDir dir;
  std::vector<u8> bgra;
  for (int i = 0; i < 15; ++i)
    bgra.insert(bgra.end(), {u8(i * 16), u8(i * 3), u8(255 - i), u8(i == 2 ? 0 : 255)});
  const std::string path = dir.File("out.png"), again = dir.File("again.png");
  ASSERT_EQ(1, SavePng(path.c_str(), bgra.data(), 5, 3));
  ASSERT_EQ(1, SavePng(again.c_str(), bgra.data(), 5, 3));
  const std::string bytes = ReadFileBytes(path);
  EXPECT_EQ(bytes, ReadFileBytes(again));
  const size_t plte = bytes.find("PLTE");  // the suggested palette: 256 zero entries
  ASSERT_NE(std::string::npos, plte);
  EXPECT_EQ(std::string("\0\0\3\0", 4) + "PLTE" + std::string(768, '\0'),
            bytes.substr(plte - 4, 776));
  OwnedRgbaImage image;
  ASSERT_EQ(1, LoadPngImage(image.image, path.c_str(), 0));
  for (int i = 0; i < 15; ++i) {
    const u8* p = image.image.rgba + i * 4;
    ASSERT_EQ((std::vector<u8>{bgra[i * 4 + 2], bgra[i * 4 + 1], bgra[i * 4], bgra[i * 4 + 3]}),
              std::vector<u8>(p, p + 4));
  }
  EXPECT_EQ(0, SavePng("mem://       4.12345678", bgra.data(), 1, 1));
  EXPECT_EQ(0, SavePng(dir.File("zero.png").c_str(), bgra.data(), 0, 1));
  EXPECT_EQ(0, SavePng(dir.File("negative.png").c_str(), bgra.data(), 1, -1));
  testing::internal::CaptureStdout();
  EXPECT_EQ(0, SavePng("/nonexistent-folder/x.png", bgra.data(), 1, 1));
  EXPECT_EQ(
      "wrt-request: fopen(\"/nonexistent-folder/x.png\", \"wb\") failed\n\n"
      "can't write to file: /nonexistent-folder/x.png\n",
      testing::internal::GetCapturedStdout());
}

}  // namespace
