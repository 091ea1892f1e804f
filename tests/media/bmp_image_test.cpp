// BMP reading from hand-built bytes in files and memory (header sizes, depths, padding, row
// order, palettes, keys), damaged and hostile files, and the 24-bit writer's exact layout.
#include "media/bmp_image.h"

#include <gtest/gtest.h>

#include <climits>

#include "files/memory_name.h"
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

// Reads the bytes as a memory file.
i32 Decode(RgbaImage& image, const std::string& bytes, u32 key = kNoColourKey) {
  return LoadBmpImage(image, FormatMemoryName(u32(bytes.size()), bytes.data()).c_str(), key);
}

TEST(BmpReader, DecodesEveryDepthAndLayoutFromMemoryAndFiles) {
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
  ScopedTempDir dir;
  for (const auto& [bmp, pixels] : cases) {
    OwnedRgbaImage image;
    ASSERT_EQ(1, Decode(image.image, bmp.Bytes())) << pixels[0];
    EXPECT_EQ(pixels, RgbaRows(image.image));
    ASSERT_TRUE(WriteFileBytes(dir.File("p.bmp"), bmp.Bytes()));
    // The name is matched ignoring the letter case of its last part.
    ASSERT_EQ(1, LoadBmpImage(&image.image, dir.File("P.Bmp").c_str(), kNoColourKey));
    EXPECT_EQ(pixels, RgbaRows(image.image));
  }
  // Only a key without a top byte matches, and only exactly.
  const Bmp magenta{2, 1, 24, 40, 0, "", B({0xFF, 0, 0xFF, 0xFE, 0, 0xFF, 0, 0})};
  for (auto [key, pixels] : {std::pair{0x00FF00FFu, Rows{"00000000 ff00feff "}},
                             {0x01FF00FFu, Rows{"ff00ffff ff00feff "}}}) {
    OwnedRgbaImage image;
    ASSERT_EQ(1, Decode(image.image, magenta.Bytes(), key));
    EXPECT_EQ(pixels, RgbaRows(image.image)) << std::hex << key;
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
      {"run-length", with([](Bmp& b) { b.bits = 8, b.compression = 1; })},
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
    EXPECT_EQ(0, Decode(image.image, bytes)) << name;
    EXPECT_EQ(nullptr, image.image.rgba) << name;
    ASSERT_TRUE(WriteFileBytes(dir.File("bad.bmp"), bytes));
    EXPECT_EQ(0, LoadBmpImage(image.image, dir.File("bad.bmp").c_str(), kNoColourKey)) << name;
  }
  OwnedRgbaImage image;
  EXPECT_EQ(0, LoadBmpImage(image.image, dir.File("absent.bmp").c_str(), kNoColourKey));
}

// Every truncation and every single-byte change of a valid file either decodes or fails without
// reading outside a buffer (which the sanitizer build checks).
TEST(BmpReader, SurvivesEveryTruncationAndByteFlip) {
  const std::string good = Bmp{5, 3, 4, 40, 0, std::string(64, '3'), std::string(12, 'Z')}.Bytes();
  for (size_t i = 0; i <= good.size(); ++i) {
    OwnedRgbaImage image;
    Decode(image.image, good.substr(0, i));
    for (int flip : {0x01, 0x80, 0xFF}) {
      std::string damaged = good;
      if (i < good.size()) damaged[i] = static_cast<char>(damaged[i] ^ flip);
      const i32 result = Decode(image.image, damaged);
      EXPECT_GE(image.image.capacityBytes, result * image.image.width * image.image.height * 4);
    }
  }
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
  EXPECT_EQ(
      "wrt-request: fopen(\"/nonexistent-folder/x.bmp\", \"wb\") failed\n\n"
      "can't write to file: /nonexistent-folder/x.bmp\n",
      testing::internal::GetCapturedStdout());
}

}  // namespace
