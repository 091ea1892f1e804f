// BMP reading from hand-built files and memory blocks (every header size and depth, padding,
// row order, palettes, colour keys), damaged and hostile files, and the 24-bit writer.
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <string>
#include <vector>

#include "media/bmp_image.h"
#include "media/image_source.h"
#include "media/rgba_image.h"
#include "tests/support/test_support.h"

namespace {

void Put16(std::string& s, u32 v) {
  s += static_cast<char>(v & 0xFF);
  s += static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& s, u32 v) {
  Put16(s, v);
  Put16(s, v >> 16);
}

// A BMP as a file would hold it. The palette entries are B, G, R; the rows are the raw pixel
// rows in file order, padding included.
struct BmpBytes {
  u32 headerSize = 40;
  i32 width = 1;
  i32 height = 1;
  u32 bits = 24;
  u32 compression = 0;
  std::vector<std::array<u8, 3>> palette;
  std::string rows;
  i64 dataOffset = -1;  // -1: right after the palette

  std::string Build() const {
    std::string s = "BM";
    u32 entrySize = headerSize == 12 ? 3 : 4;
    u32 offset = dataOffset >= 0 ? static_cast<u32>(dataOffset)
                                 : 14 + headerSize + entrySize * static_cast<u32>(palette.size());
    Put32(s, offset + static_cast<u32>(rows.size()));
    Put32(s, 0);
    Put32(s, offset);
    Put32(s, headerSize);
    if (headerSize == 12) {
      Put16(s, static_cast<u32>(width));
      Put16(s, static_cast<u32>(height));
      Put16(s, 1);
      Put16(s, bits);
    } else {
      Put32(s, static_cast<u32>(width));
      Put32(s, static_cast<u32>(height));
      Put16(s, 1);
      Put16(s, bits);
      Put32(s, compression);
      for (int i = 0; i < 5; ++i) Put32(s, 0);
      for (u32 i = 40; i < headerSize; ++i) s += '\0';
    }
    for (const auto& e : palette) {
      s.append(reinterpret_cast<const char*>(e.data()), 3);
      if (entrySize == 4) s += '\0';
    }
    return s + rows;
  }
};

std::string Bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s += static_cast<char>(v);
  return s;
}

i32 DecodeBytes(RgbaImage& image, const std::string& bytes, u32 key = kNoColourKey) {
  ImageSource source;
  source.OpenBytes(reinterpret_cast<const u8*>(bytes.data()), bytes.size());
  return DecodeBmp(image, source, key);
}

// The picture as "RRGGBBAA" per pixel, row by row.
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

struct ReadCase {
  const char* name;
  BmpBytes bmp;
  std::vector<std::string> pixels;
};

std::vector<ReadCase> ReadCases() {
  std::vector<ReadCase> cases;
  {
    // 3 pixels of 3 bytes: 9 bytes plus 3 of padding per row; bottom row first.
    BmpBytes b;
    b.width = 3;
    b.height = 2;
    b.rows = Bytes({1, 2, 3, 4, 5, 6, 7, 8, 9, 0xEE, 0xEE, 0xEE,
                    0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x80, 0x90, 0xEE, 0xEE, 0xEE});
    cases.push_back({"24-bit, 3 wide, padded", b,
                     {"302010ff 605040ff 908070ff ", "030201ff 060504ff 090807ff "}});
  }
  {
    BmpBytes b;
    b.width = 4;
    b.rows = Bytes({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
    cases.push_back({"24-bit, 4 wide, no padding", b, {"030201ff 060504ff 090807ff 0c0b0aff "}});
  }
  {
    BmpBytes b;
    b.width = 3;
    b.bits = 32;
    b.rows = Bytes({1, 2, 3, 0, 4, 5, 6, 0x7F, 7, 8, 9, 0xFF});
    cases.push_back({"32-bit ignores the fourth byte", b, {"030201ff 060504ff 090807ff "}});
  }
  {
    BmpBytes b;
    b.width = 3;
    b.height = -2;  // top row first
    b.rows = Bytes({1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0, 0x10, 0x20, 0x30, 0x40, 0x50, 0x60,
                    0x70, 0x80, 0x90, 0, 0, 0});
    cases.push_back({"negative height", b,
                     {"030201ff 060504ff 090807ff ", "302010ff 605040ff 908070ff "}});
  }
  {
    BmpBytes b;
    b.width = 12;
    b.bits = 1;
    b.palette = {{{0, 0, 0}}, {{0xFF, 0x80, 0x01}}};
    b.rows = Bytes({0xA5, 0xF0, 0xEE, 0xEE});  // 12 bits used, row of 4 bytes
    std::string one = "0180ffff ", zero = "000000ff ";
    cases.push_back({"1-bit, 12 wide, most significant bit first", b,
                     {one + zero + one + zero + zero + one + zero + one + one + one + one + one}});
  }
  {
    BmpBytes b;
    b.width = 3;
    b.height = 2;
    b.bits = 4;
    b.palette.resize(16);
    for (u8 i = 0; i < 16; ++i) b.palette[i] = {{i, static_cast<u8>(i * 2), static_cast<u8>(i * 3)}};
    b.rows = Bytes({0x12, 0x30, 0, 0, 0xF1, 0xE0, 0, 0});
    cases.push_back({"4-bit, high nibble first", b,
                     {"2d1e0fff 030201ff 2a1c0eff ", "030201ff 060402ff 090603ff "}});
  }
  {
    BmpBytes b;
    b.width = 3;
    b.bits = 8;
    b.palette = {{{1, 2, 3}}, {{4, 5, 6}}};
    b.rows = Bytes({1, 5, 0, 0});
    cases.push_back({"8-bit index past the palette is opaque black", b,
                     {"060504ff 000000ff 030201ff "}});
  }
  {
    BmpBytes b;
    b.headerSize = 12;
    b.width = 2;
    b.bits = 8;
    b.palette.resize(256);
    b.palette[7] = {{0x11, 0x22, 0x33}};
    b.rows = Bytes({7, 0, 0, 0});
    cases.push_back({"12-byte header, 3-byte palette entries", b, {"332211ff 000000ff "}});
  }
  {
    BmpBytes b;
    b.headerSize = 12;
    b.width = 1;
    b.rows = Bytes({1, 2, 3, 0});
    cases.push_back({"12-byte header, 24-bit", b, {"030201ff "}});
  }
  {
    // The rows follow the palette even when the data offset points elsewhere.
    BmpBytes b;
    b.width = 1;
    b.dataOffset = 200;
    b.rows = std::string(146, '\0') + Bytes({9, 8, 7, 0});  // 146 bytes of "palette"
    cases.push_back({"rows follow the palette directly", b, {"070809ff "}});
  }
  return cases;
}

TEST(BmpReader, DecodesEveryDepthAndLayout) {
  for (const ReadCase& c : ReadCases()) {
    OwnedRgbaImage image;
    ASSERT_EQ(1, DecodeBytes(image.image, c.bmp.Build())) << c.name;
    EXPECT_EQ(c.pixels, Pixels(image.image)) << c.name;
  }
}

TEST(BmpReader, ReadsFilesByName) {
  ScopedTempDir dir;
  for (const ReadCase& c : ReadCases()) {
    std::string path = dir.File("picture.bmp");
    ASSERT_TRUE(WriteFileBytes(path, c.bmp.Build()));
    OwnedRgbaImage image;
    ASSERT_EQ(1, LoadBmpImage(image.image, path.c_str(), kNoColourKey)) << c.name;
    EXPECT_EQ(c.pixels, Pixels(image.image)) << c.name;
  }
}

TEST(BmpReader, ColourKeyMatchesExactly) {
  BmpBytes b;
  b.width = 2;
  b.rows = Bytes({0xFF, 0, 0xFF, 0xFE, 0, 0xFF, 0, 0});  // magenta, then almost magenta
  struct Case { u32 key; std::vector<std::string> pixels; };
  const Case cases[] = {
      {0x00FF00FF, {"00000000 ff00feff "}},
      {0x01FF00FF, {"ff00ffff ff00feff "}},  // a top byte never matches a pixel
      {kNoColourKey, {"ff00ffff ff00feff "}},
  };
  for (const Case& c : cases) {
    OwnedRgbaImage image;
    ASSERT_EQ(1, DecodeBytes(image.image, b.Build(), c.key));
    EXPECT_EQ(c.pixels, Pixels(image.image)) << std::hex << c.key;
  }
}

TEST(BmpReader, ReusedImageKeepsItsLargerBuffer) {
  OwnedRgbaImage image;
  BmpBytes big;
  big.width = 4;
  big.height = 4;
  big.rows = std::string(48, '\x7F');
  ASSERT_EQ(1, DecodeBytes(image.image, big.Build()));
  u8* buffer = image.image.rgba;
  BmpBytes small;
  small.rows = Bytes({1, 2, 3, 0});
  ASSERT_EQ(1, DecodeBytes(image.image, small.Build()));
  EXPECT_EQ(buffer, image.image.rgba);
  EXPECT_EQ(64, image.image.capacityBytes);
  EXPECT_EQ(1, image.image.width);
}

std::vector<std::pair<const char*, std::string>> BadFiles() {
  std::vector<std::pair<const char*, std::string>> bad;
  auto with = [](auto change) {
    BmpBytes b;
    b.width = 2;
    b.height = 2;
    b.rows = std::string(16, '\x40');
    change(b);
    return b.Build();
  };
  bad.push_back({"108-byte header", with([](BmpBytes& b) { b.headerSize = 108; })});
  bad.push_back({"16-bit", with([](BmpBytes& b) { b.bits = 16; })});
  bad.push_back({"2-bit", with([](BmpBytes& b) { b.bits = 2; })});
  bad.push_back({"run-length", with([](BmpBytes& b) { b.bits = 8; b.compression = 1; })});
  bad.push_back({"zero width", with([](BmpBytes& b) { b.width = 0; })});
  bad.push_back({"negative width", with([](BmpBytes& b) { b.width = -2; })});
  bad.push_back({"zero height", with([](BmpBytes& b) { b.height = 0; })});
  bad.push_back({"most negative height", with([](BmpBytes& b) { b.height = INT_MIN; })});
  bad.push_back({"overflowing size", with([](BmpBytes& b) { b.width = b.height = 0x40000000; })});
  bad.push_back({"huge size", with([](BmpBytes& b) { b.width = b.height = 20000; })});
  bad.push_back({"rows cut short", with([](BmpBytes& b) { b.rows.resize(15); })});
  bad.push_back({"palette of 2^24 entries", with([](BmpBytes& b) {
                   b.headerSize = 12;
                   b.dataOffset = 100;
                 })});
  bad.push_back({"palette of 2^32 entries", with([](BmpBytes& b) {
                   b.headerSize = 12;
                   b.bits = 32;
                   b.dataOffset = 100;
                 })});
  bad.push_back({"palette past the end", with([](BmpBytes& b) { b.dataOffset = 0x7FFFFFF0; })});
  bad.push_back({"bad magic", "BX" + with([](BmpBytes&) {}).substr(2)});
  bad.push_back({"header cut short", with([](BmpBytes&) {}).substr(0, 30)});
  bad.push_back({"empty", ""});
  return bad;
}

TEST(BmpReader, RejectsDamagedAndHostileFilesAndEmptiesTheImage) {
  ScopedTempDir dir;
  for (const auto& [name, bytes] : BadFiles()) {
    OwnedRgbaImage fromMemory;
    SizeRgbaImage(fromMemory.image, 2, 2);
    EXPECT_EQ(0, DecodeBytes(fromMemory.image, bytes)) << name;
    EXPECT_EQ(nullptr, fromMemory.image.rgba) << name;
    EXPECT_EQ(0, fromMemory.image.width) << name;
    std::string path = dir.File("bad.bmp");
    ASSERT_TRUE(WriteFileBytes(path, bytes));
    OwnedRgbaImage fromFile;
    EXPECT_EQ(0, LoadBmpImage(fromFile.image, path.c_str(), kNoColourKey)) << name;
  }
}

TEST(BmpReader, MissingFileFails) {
  ScopedTempDir dir;
  OwnedRgbaImage image;
  EXPECT_EQ(0, LoadBmpImage(image.image, dir.File("absent.bmp").c_str(), kNoColourKey));
  EXPECT_EQ(0, LoadBmpImage(static_cast<RgbaImage*>(nullptr), "x", kNoColourKey));
}

// Every truncation and every single-byte change of a valid file either decodes or fails; none
// reads outside its buffers (the sanitizer build checks that).
TEST(BmpReader, SurvivesEveryTruncationAndByteFlip) {
  BmpBytes b;
  b.width = 5;
  b.height = 3;
  b.bits = 4;
  b.palette.resize(16);
  b.rows = std::string(12, '\x5A');
  const std::string good = b.Build();
  for (size_t n = 0; n < good.size(); ++n) {
    OwnedRgbaImage image;
    DecodeBytes(image.image, good.substr(0, n));
  }
  for (size_t i = 0; i < good.size(); ++i) {
    for (int flip : {0x01, 0x80, 0xFF}) {
      std::string damaged = good;
      damaged[i] = static_cast<char>(damaged[i] ^ flip);
      OwnedRgbaImage image;
      if (DecodeBytes(image.image, damaged) == 1) {
        EXPECT_GT(image.image.width, 0);
        EXPECT_GE(image.image.capacityBytes, image.image.width * image.image.height * 4);
      }
    }
  }
}

TEST(BmpWriter, HeaderAndPaddingAreExact) {
  ScopedTempDir dir;
  std::string path = dir.File("out.bmp");
  // 3 x 2 picture: rows of 9 pixel bytes and 3 zero padding bytes, bottom row first.
  std::string rows = Bytes({1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0, 11, 12, 13, 14, 15, 16, 17, 18, 19, 0, 0, 0});
  ASSERT_EQ(1, SaveBmp24(path.c_str(), 3, 2, reinterpret_cast<const u8*>(rows.data())));
  std::string expected = "BM";
  Put32(expected, 54 + 24);
  Put32(expected, 0);
  Put32(expected, 54);
  Put32(expected, 40);
  Put32(expected, 3);
  Put32(expected, 2);
  Put16(expected, 1);
  Put16(expected, 24);
  Put32(expected, 0);
  Put32(expected, 0);
  Put32(expected, 10000);
  Put32(expected, 10000);
  Put32(expected, 0);
  Put32(expected, 0);
  EXPECT_EQ(expected + rows, ReadFileBytes(path));
  OwnedRgbaImage image;
  ASSERT_EQ(1, LoadBmpImage(image.image, path.c_str(), kNoColourKey));
  EXPECT_EQ((std::vector<std::string>{"0d0c0bff 100f0eff 131211ff ", "030201ff 060504ff 090807ff "}),
            Pixels(image.image));
}

TEST(BmpWriter, RefusesMemoryNamesAndUnwritablePaths) {
  const u8 row[4] = {};
  EXPECT_EQ(0, SaveBmp24("mem://       4.12345678", 1, 1, row));
  testing::internal::CaptureStdout();
  EXPECT_EQ(0, SaveBmp24("/nonexistent-folder/x.bmp", 1, 1, row));
  EXPECT_NE(std::string::npos,
            testing::internal::GetCapturedStdout().find("can't write to file: /nonexistent-folder/x.bmp\n"));
}

}  // namespace
