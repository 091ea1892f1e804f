// Picture files. BMP reading from hand-built bytes (header sizes, depths, padding, row order,
// palettes, keys), damaged and hostile files in files and memory, the 24-bit writer's exact
// layout; PNG reading of pictures made here with libpng in every colour type and depth (and the
// refused ones), truncated and corrupted pictures, size claims; the PNG writer.
#include <gtest/gtest.h>

#include <climits>
#include <csetjmp>
#include <png.h>
#include <zlib.h>

#include "files/memory_name.h"
#include "media/bmp_image.h"
#include "media/png_image.h"
#include "tests/media/media_test_util.h"
#include "tests/support/test_support.h"

namespace {

std::string B(std::initializer_list<int> values) {
  return std::string(values.begin(), values.end());
}

// A BMP file: palette as raw entries (3 bytes each for a 12-byte header, else 4), then rows.
struct Bmp {
  i32 width = 1, height = 1;
  u32 bits = 24, header = 40, compression = 0;
  std::string palette, rows;
  i64 dataOffset = -1;  // -1: right after the palette
  std::string Bytes() const {
    u32 offset = dataOffset >= 0 ? u32(dataOffset) : 14 + header + u32(palette.size());
    std::string s =
        "BM" + LE(offset + u32(rows.size()), 4) + LE(0, 4) + LE(offset, 4) + LE(header, 4);
    if (header == 12)
      return s + LE(width, 2) + LE(height, 2) + LE(1, 2) + LE(bits, 2) + palette + rows;
    s += LE(width, 4) + LE(height, 4) + LE(1, 2) + LE(bits, 2) + LE(compression, 4) +
         std::string(20, '\0');
    return s + std::string(header > 40 ? header - 40 : 0, '\0') + palette + rows;
  }
};

// The red, green and blue masks of a bit-field file whose pixels lie as in an uncompressed one.
const std::string kUsualMasks = LE(0x00FF0000, 4) + LE(0x0000FF00, 4) + LE(0x000000FF, 4);

// A memory-file name for bytes that outlive its use.
std::string MemoryName(const std::string& bytes) {
  return FormatMemoryName(static_cast<u32>(bytes.size()), bytes.data());
}

TEST(BmpReader, DecodesEveryDepthAndLayout) {
  std::string pal4;
  for (int i = 0; i < 16; ++i) pal4 += B({i, 2 * i, 3 * i, 0});
  const std::pair<Bmp, Rows> cases[] = {
      {{3, 2, 24, 40, 0, "", B({1, 2, 3, 4, 5, 6, 7, 8, 9, 0xEE, 0xEE, 0xEE,  // bottom row first,
                                16, 32, 48, 64, 80, 96, 112, 128, 144, 0, 0, 0})},  // padded
       {"302010ff 605040ff 908070ff ", "030201ff 060504ff 090807ff "}},
      {{3, 1, 32, 40, 0, "", B({1, 2, 3, 0, 4, 5, 6, 0x7F, 7, 8, 9, 0xFF})},  // no alpha
       {"030201ff 060504ff 090807ff "}},
      {{1, -2, 24, 40, 0, "", B({1, 2, 3, 0, 4, 5, 6, 0})},  // top row first
       {"030201ff ", "060504ff "}},
      {{12, 1, 1, 40, 0, B({0, 0, 0, 0, 0xFF, 0x80, 1, 0}), B({0xA5, 0xF0, 0xEE, 0xEE})},
       {"0180ffff 000000ff 0180ffff 000000ff 000000ff 0180ffff 000000ff 0180ffff 0180ffff 0180ffff "
        "0180ffff 0180ffff "}},
      {{3, 1, 4, 40, 0, pal4, B({0x12, 0xF0, 0, 0})}, {"030201ff 060402ff 2d1e0fff "}},
      {{3, 1, 8, 40, 0, B({1, 2, 3, 0, 4, 5, 6, 0}), B({1, 5, 0, 0})},  // 5: past the palette
       {"060504ff 000000ff 030201ff "}},
      {{2, 1, 8, 12, 0, std::string(21, '\0') + B({0x11, 0x22, 0x33}) + std::string(744, '\0'),
        B({7, 0, 0, 0})},
       {"332211ff 000000ff "}},  // 12-byte header, 3-byte palette entries
      {{1, 1, 24, 40, 0, std::string(146, '\0'), B({9, 8, 7, 0}), 200},  // rows follow the palette,
       {"070809ff "}},                                                  // not the data offset
  };
  for (const auto& [bmp, pixels] : cases) {
    OwnedRgbaImage image;
    ASSERT_EQ(1, LoadBmpImage(image.image, MemoryName(bmp.Bytes()).c_str(), kNoColourKey))
        << pixels[0];
    EXPECT_EQ(pixels, RgbaRows(image.image));
  }
  // Only a key without a top byte matches, and only exactly.
  const Bmp magenta{2, 1, 24, 40, 0, "", B({0xFF, 0, 0xFF, 0xFE, 0, 0xFF, 0, 0})};
  for (auto [key, pixels] : {std::pair{0x00FF00FFu, Rows{"00000000 ff00feff "}},
                             {0x01FF00FFu, Rows{"ff00ffff ff00feff "}}}) {
    OwnedRgbaImage image;
    ASSERT_EQ(1, LoadBmpImage(image.image, MemoryName(magenta.Bytes()).c_str(), key));
    EXPECT_EQ(pixels, RgbaRows(image.image)) << std::hex << key;
  }
}

// A 32-bit bit-field file with the usual masks holds its rows as an uncompressed file does, and
// a fourth (alpha) mask changes nothing: the fourth byte is ignored either way.
TEST(BmpReader, BitFieldsWithTheUsualMasksReadAsUncompressed) {
  const std::string rows = B({1, 2, 3, 0, 4, 5, 6, 0x7F, 7, 8, 9, 0xFF, 10, 11, 12, 0x80,
                              13, 14, 15, 1, 16, 17, 18, 0, 19, 20, 21, 0xFE, 22, 23, 24, 0x40});
  const Rows expected = {"0f0e0dff 121110ff 151413ff 181716ff ",
                         "030201ff 060504ff 090807ff 0c0b0aff "};
  const Bmp files[] = {{4, 2, 32, 40, 0, "", rows},
                       {4, 2, 32, 40, 3, kUsualMasks, rows},  // data offset 66
                       {4, 2, 32, 40, 3, kUsualMasks + LE(0xFF000000, 4), rows}};
  ScopedTempDir dir;
  for (const Bmp& bmp : files) {
    const std::string bytes = bmp.Bytes();
    ASSERT_TRUE(WriteFileBytes(dir.File("pic.bmp"), bytes));
    for (const std::string& name : {MemoryName(bytes), dir.File("pic.bmp")}) {
      OwnedRgbaImage image;
      ASSERT_EQ(1, LoadBmpImage(image.image, name.c_str(), kNoColourKey)) << bytes.size();
      EXPECT_EQ(expected, RgbaRows(image.image)) << bytes.size();
    }
  }
}

TEST(BmpReader, RejectsDamagedAndHostileFilesAndEmptiesTheImage) {
  auto with = [](auto change) {
    Bmp b{2, 2, 24, 40, 0, "", std::string(16, '\x40')};
    change(b);
    return b.Bytes();
  };
  const std::pair<const char*, std::string> cases[] = {
      {"108-byte header", with([](Bmp& b) { b.header = 108; })},
      {"16-bit", with([](Bmp& b) { b.bits = 16; })},
      // Compressed files, whose bytes would otherwise be taken for raw pixels.
      {"8-bit run-length", with([](Bmp& b) { b.bits = 8, b.compression = 1; })},
      {"4-bit run-length", with([](Bmp& b) { b.bits = 4, b.compression = 2; })},
      // Bit fields other than the usual masks of a 32-bit file: raw reading would mix channels.
      {"swapped masks", with([](Bmp& b) {
         b.bits = 32, b.compression = 3;
         b.palette = LE(0x000000FF, 4) + LE(0x0000FF00, 4) + LE(0x00FF0000, 4);
       })},
      {"red mask narrowed", with([](Bmp& b) {
         b.bits = 32, b.compression = 3;
         b.palette = LE(0x00F80000, 4) + LE(0x0000FF00, 4) + LE(0x000000FF, 4);
       })},
      {"green mask moved", with([](Bmp& b) {
         b.bits = 32, b.compression = 3;
         b.palette = LE(0x00FF0000, 4) + LE(0xFF000000, 4) + LE(0x000000FF, 4);
       })},
      {"blue mask narrowed", with([](Bmp& b) {
         b.bits = 32, b.compression = 3;
         b.palette = LE(0x00FF0000, 4) + LE(0x0000FF00, 4) + LE(0x0000007F, 4);
       })},
      {"24-bit bit fields",
       with([](Bmp& b) { b.bits = 24, b.compression = 3, b.palette = kUsualMasks; })},
      {"no room for the masks", with([](Bmp& b) {
         b.bits = 32, b.compression = 3, b.palette = kUsualMasks, b.dataOffset = 54;
       })},
      {"room for two masks", with([](Bmp& b) {
         b.bits = 32, b.compression = 3, b.palette = kUsualMasks, b.dataOffset = 62;
       })},
      {"cut inside the masks", with([](Bmp& b) {
         b.bits = 32, b.compression = 3, b.palette = kUsualMasks, b.rows.clear();
       }).substr(0, 62)},
      {"negative width", with([](Bmp& b) { b.width = -2; })},
      {"zero height", with([](Bmp& b) { b.height = 0; })},
      {"most negative height", with([](Bmp& b) { b.height = INT_MIN; })},
      {"overflowing size", with([](Bmp& b) { b.width = b.height = 0x40000000; })},
      {"huge size", with([](Bmp& b) { b.width = b.height = 20000; })},
      {"rows cut short", with([](Bmp& b) { b.rows.resize(15); })},
      {"12-byte header, 32-bit palette",
       with([](Bmp& b) { b.header = 12, b.bits = 32, b.dataOffset = 100; })},
      {"palette past the end", with([](Bmp& b) { b.dataOffset = 0x7FFFFFF0; })},
      {"bad magic", "BX" + with([](Bmp&) {}).substr(2)},
      {"header cut short", with([](Bmp&) {}).substr(0, 30)},
  };
  ScopedTempDir dir;
  for (const auto& [name, bytes] : cases) {
    OwnedRgbaImage image;
    SizeRgbaImage(image.image, 2, 2);
    EXPECT_EQ(0, LoadBmpImage(image.image, MemoryName(bytes).c_str(), kNoColourKey)) << name;
    EXPECT_EQ(nullptr, image.image.rgba) << name;
    ASSERT_TRUE(WriteFileBytes(dir.File("bad.bmp"), bytes));
    EXPECT_EQ(0, LoadBmpImage(image.image, dir.File("bad.bmp").c_str(), kNoColourKey)) << name;
  }
  OwnedRgbaImage image;
  EXPECT_EQ(0, LoadBmpImage(image.image, dir.File("absent.bmp").c_str(), kNoColourKey));
}

TEST(BmpWriter, WritesTheExactLayoutAndRefusesMemoryNames) {
  ScopedTempDir dir;
  const std::string path = dir.File("out.bmp");
  const std::string rows =
      B({1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0, 11, 12, 13, 14, 15, 16, 17, 18, 19, 0, 0, 0});
  ASSERT_EQ(1, SaveBmp24(path.c_str(), 3, 2, reinterpret_cast<const u8*>(rows.data())));
  const std::string header = "BM" + LE(78, 4) + LE(0, 4) + LE(54, 4) + LE(40, 4) + LE(3, 4) +
                             LE(2, 4) + LE(1, 2) + LE(24, 2) + LE(0, 8) + LE(10000, 4) +
                             LE(10000, 4) + LE(0, 8);
  EXPECT_EQ(header + rows, ReadFileBytes(path));
  const u8 row[4] = {};
  EXPECT_EQ(0, SaveBmp24("mem://       4.12345678", 1, 1, row));
  testing::internal::CaptureStdout();
  EXPECT_EQ(0, SaveBmp24("/nonexistent-folder/x.bmp", 1, 1, row));
  testing::internal::GetCapturedStdout();
}

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

const png_color_16 kBlackIsClear = {0, 0, 0, 0, 0}, kMagentaIsClear = {0, 0xFF, 0, 0xFF, 0};
const std::vector<png_color> kPalette = {{10, 20, 30}, {40, 50, 60}, {70, 80, 90}};
constexpr int kGrey = PNG_COLOR_TYPE_GRAY, kRgb = PNG_COLOR_TYPE_RGB, kPal = PNG_COLOR_TYPE_PALETTE;

struct ReadCase {
  const char* name;
  Png png;
  Rows pixels;  // none: refused
  u32 key = kNoColourKey;
};

std::vector<ReadCase> ReadCases() {
  const Png rgb{2, 2, kRgb, 8, {{1, 2, 3, 4, 5, 6}, {7, 8, 9, 0xFF, 0, 0xFF}}};
  const Png rgba{2, 1, PNG_COLOR_TYPE_RGB_ALPHA, 8, {{1, 2, 3, 4, 0xFF, 0, 0xFF, 0x80}}};
  Png rgbClear = rgb, greyClear{3, 1, kGrey, 8, {{0, 0x7F, 0xFF}}},
      palAlpha{2, 1, kPal, 8, {{0, 1}}, kPalette};
  rgbClear.transparent = &kMagentaIsClear;
  greyClear.transparent = &kBlackIsClear;
  palAlpha.paletteAlpha = {0, 128};
  return {
      {"RGB 8", rgb, {"010203ff 040506ff ", "070809ff ff00ffff "}},
      {"RGBA 8", rgba, {"01020304 ff00ff80 "}},
      // A key applies to three-channel pictures only.
      {"RGB 8 keyed", rgb, {"010203ff 040506ff ", "070809ff 00000000 "}, 0x00FF00FF},
      {"RGBA 8 keyed", rgba, {"01020304 ff00ff80 "}, 0x00FF00FF},
      {"RGB 16 cut to 8",
       {2, 1, kRgb, 16, {{0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0, 1, 0, 2, 0, 3}}},
       {"12569aff 000000ff "}},
      {"grey 2", {3, 1, kGrey, 2, {{0x1B}}}, {"000000ff 555555ff aaaaaaff "}},
      {"grey 8", {3, 1, kGrey, 8, {{0, 0x7F, 0xFF}}}, {"000000ff 7f7f7fff ffffffff "}},
      {"palette 8", {3, 1, kPal, 8, {{0, 1, 2}}, kPalette}, {"0a141eff 28323cff 46505aff "}},
      {"palette with transparency", palAlpha, {"0a141e00 28323c80 "}},
      {"RGB with a transparent colour", rgbClear, {"010203ff 040506ff ", "070809ff ff00ff00 "}},
      {"grey with a transparent colour", greyClear, {}},
      {"grey with alpha", {2, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, {{1, 2, 3, 4}}}, {}},
  };
}

TEST(PngReader, DecodesEveryAcceptedTypeAndRefusesTheOthersSilently) {
  for (const ReadCase& c : ReadCases()) {
    OwnedRgbaImage image;
    testing::internal::CaptureStdout();
    const i32 result = LoadPngImage(&image.image, MemoryName(Encode(c.png)).c_str(), c.key);
    EXPECT_EQ("", testing::internal::GetCapturedStdout()) << c.name;
    ASSERT_EQ(c.pixels.empty() ? 0 : 1, result) << c.name;
    if (result == 1) {
      EXPECT_EQ(c.pixels, RgbaRows(image.image)) << c.name;
    }
  }
}

TEST(PngReader, DamagedOrHugePicturesFailAndLeaveTheImageAsItWas) {
  Png gradient{9, 9, kRgb, 8, std::vector<std::vector<u8>>(9)};  // interlaced, every pixel its own
  gradient.interlace = PNG_INTERLACE_ADAM7;
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 9; ++x)
      gradient.rows[y].insert(gradient.rows[y].end(), {u8(x * 16 + y), u8(255 - x), u8(y * 7)});
  const std::string good = Encode(gradient);
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
    // Left open: the load's own open must close it (the leak check sees it otherwise).
    EXPECT_EQ(result, OpenPng(MemoryName(bytes).c_str(), &w, &h, &rowBytes, &channels))
        << bytes.size() << " bytes";
    OwnedRgbaImage image;
    EXPECT_EQ(result, LoadPngImage(image.image, MemoryName(bytes).c_str(), kNoColourKey));
  }
}

TEST(PngWriter, WritesAZeroPaletteAndRefusesWhatItCannotWrite) {
  ScopedTempDir dir;
  const u8 bgra[8] = {0x10, 0x20, 0x30, 0xFF, 0x40, 0x50, 0x60, 0};
  ASSERT_EQ(1, SavePng(dir.File("out.png").c_str(), bgra, 2, 1));
  const std::string bytes = ReadFileBytes(dir.File("out.png"));
  const size_t plte = bytes.find("PLTE");  // the suggested palette: 256 zero entries
  ASSERT_NE(std::string::npos, plte);
  EXPECT_EQ(std::string("\0\0\3\0", 4) + "PLTE" + std::string(768, '\0'),
            bytes.substr(plte - 4, 776));
  EXPECT_EQ(0, SavePng("mem://       4.12345678", bgra, 1, 1));
  EXPECT_EQ(0, SavePng(dir.File("zero.png").c_str(), bgra, 0, 1));
  EXPECT_EQ(0, SavePng(dir.File("negative.png").c_str(), bgra, 1, -1));
  testing::internal::CaptureStdout();
  EXPECT_EQ(0, SavePng("/nonexistent-folder/x.png", bgra, 1, 1));
  testing::internal::GetCapturedStdout();
}

}  // namespace
