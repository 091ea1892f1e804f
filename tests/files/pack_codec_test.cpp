// PackCodec: exact streams in both directions, round trips in both formats, and the soft failure
// of cut and damaged streams.
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "files/pack_codec.h"

namespace {

using Bytes = std::vector<u8>;

struct Result {
  Bytes out;
  bool ok;
  bool operator==(const Result&) const = default;
};

Result Decode(i32 mode, const Bytes& in) {
  PackCodec codec;
  codec.mode = mode;
  const u32 n = codec.Decompress(in.data(), static_cast<i32>(in.size()));
  EXPECT_EQ(n, static_cast<u32>(codec.outLength));
  return {Bytes(codec.out, codec.out + codec.outLength), codec.Succeeded()};
}

Bytes Encode(i32 mode, const Bytes& in) {
  PackCodec codec;
  codec.mode = mode;
  codec.Compress(in.data(), static_cast<i32>(in.size()));
  EXPECT_TRUE(codec.Succeeded());
  return Bytes(codec.out, codec.out + codec.outLength);
}

Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

Bytes RandomBytes(std::size_t n, unsigned seed, int alphabet = 256) {
  std::mt19937 gen(seed);
  Bytes b(n);
  for (u8& v : b) v = static_cast<u8>(gen() % alphabet);
  return b;
}

TEST(PackCodec, ExactStreamsDistancesRoundTripsAndDamage) {
  struct Case { i32 mode; Bytes plain; Bytes packed; };
  const Case cases[] = {
      {0, Bytes(10, 'a'), {0x60, 'a', 0x07, 0x01, 0x00}},
      {0, Bytes(18, 'a'), {0x60, 'a', 0x0F, 0x01, 0x00}},      // the longest reference
      {0, Text("ababab"), {0x30, 'a', 'b', 0x02, 0x02, 0x00}},  // a copy of what it writes
      {0, {}, {0x80, 0x00}},
      {0, {'q'}, {0x40, 'q', 0x00}},
      {0, Text("abcdefgh"), {0x00, 'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 0xFF, 0x00}},
      {1, {}, {0, 0, 0, 0, 0x11, 0, 0}},  // the length and LZO's end sequence
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Encode(c.mode, c.plain), c.packed);
    EXPECT_EQ(Decode(c.mode, c.packed), (Result{c.plain, true}));
  }
  // 128 different bytes, then the first three again: one reference 128 back, whose distance b0
  // carries as 1 x 128 (0x11: length 3) or b1 as 128.
  Bytes plain(128);
  std::iota(plain.begin(), plain.end(), 0);
  plain.insert(plain.end(), {0, 1, 2});
  Bytes packed = Encode(0, plain);
  ASSERT_EQ(Bytes(packed.end() - 4, packed.end()), (Bytes{0xC0, 0x11, 0x00, 0x00}));
  EXPECT_EQ(Decode(0, packed), (Result{plain, true}));
  packed.end()[-3] = 0x01;
  packed.end()[-2] = 0x80;
  EXPECT_EQ(Decode(0, packed), (Result{plain, true}));
  // Round trips in both modes.
  const std::vector<Bytes> inputs = {
      {0x42},
      RandomBytes(5000, 1),      // incompressible
      RandomBytes(70000, 2, 4),  // long matches, distances up to the window
      Bytes(1 << 20, 0),         // 1 MB of one byte
  };
  for (i32 mode : {0, 1}) {
    for (const Bytes& in : inputs) {
      EXPECT_EQ(Decode(mode, Encode(mode, in)), (Result{in, true})) << mode << " " << in.size();
    }
  }
  // A cut LZSS stream keeps what came before the cut; a damaged LZO stream gives nothing.
  const Bytes good = Encode(1, Text("hello hello hello hello hello"));
  auto damaged = [&](std::size_t at, u8 value) {
    Bytes b = good;
    b[at] = value;
    return b;
  };
  const std::size_t end = good.size() - 2;
  struct Damage { const char* what; i32 mode; Bytes in; Bytes out; };
  const Damage damages[] = {
      {"cut after a literal", 0, {0x00, 'a'}, Text("a")},
      {"cut before b0", 0, {0x40, 'a'}, Text("a")},
      {"cut before b1", 0, {0x40, 'a', 0x05}, Text("a")},
      {"empty", 0, {}, {}},
      {"length short of the data", 1, damaged(0, 5), {}},
      {"length beyond any stream", 1, damaged(3, 0x7F), {}},
      {"end sequence damaged", 1, damaged(end, static_cast<u8>(good[end] ^ 0xFF)), {}},
      {"cut inside the length", 1, {1, 0, 0}, {}},
      {"shorter than the end sequence", 1, {1, 0, 0, 0, 0x11, 0}, {}},
      {"empty", 1, {}, {}},
  };
  for (const Damage& c : damages) EXPECT_EQ(Decode(c.mode, c.in), (Result{c.out, false})) << c.what;
}

}  // namespace
