// PackCodec: exact LZSS vectors, round trips in both formats, and damaged streams.
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

TEST(PackCodecLzss, DecodesHandMadeStreams) {
  struct Case {
    const char* what;
    Bytes in;
    Bytes out;
    bool ok;
  } cases[] = {
      {"end code alone", {0x80, 0x00}, {}, true},
      {"distance 1 length 17", {0x60, 'a', 0x0F, 0x01, 0x00}, Bytes(18, 'a'), true},
      {"literals then end", {0x10, 'x', 'y', 'z', 0x00}, Text("xyz"), true},
      {"overlapping copy", {0x30, 'a', 'b', 0x02, 0x02, 0x00}, Text("ababab"), true},
      {"cut after a literal", {0x00, 'a'}, Text("a"), false},
      {"cut before b0", {0x40, 'a'}, Text("a"), false},
      {"cut before b1", {0x40, 'a', 0x05}, Text("a"), false},
      {"empty input", {}, {}, false},
  };
  for (const Case& c : cases) {
    const Result r = Decode(0, c.in);
    EXPECT_EQ(r.out, c.out) << c.what;
    EXPECT_EQ(r.ok, c.ok) << c.what;
  }
}

// An LZSS stream of items (a literal is one byte, a reference two) with the end code added.
Bytes LzssStream(const std::vector<Bytes>& items) {
  std::vector<Bytes> all = items;
  all.push_back({0x00});
  Bytes s;
  for (std::size_t i = 0; i < all.size(); i += 8) {
    u8 flags = 0;
    Bytes body;
    for (std::size_t k = i; k < std::min(i + 8, all.size()); ++k) {
      if (all[k].size() == 2 || k + 1 == all.size()) flags |= static_cast<u8>(0x80 >> (k - i));
      body.insert(body.end(), all[k].begin(), all[k].end());
    }
    s.push_back(flags);
    s.insert(s.end(), body.begin(), body.end());
  }
  return s;
}

TEST(PackCodecLzss, HighDistanceBitsAndLargeB1CountTheSame) {
  const Bytes prefix = RandomBytes(300, 7);
  auto decodeWith = [&](u8 b0, u8 b1) {
    std::vector<Bytes> items;
    for (u8 b : prefix) items.push_back({b});
    items.push_back({b0, b1});
    return Decode(0, LzssStream(items));
  };
  const Result viaHighBits = decodeWith(0x10 | 3, 0x00);  // 1 x 128 + 0, length 5
  const Result viaB1 = decodeWith(3, 0x80);               // 0 x 128 + 128
  ASSERT_TRUE(viaHighBits.ok);
  EXPECT_EQ(viaHighBits.out, viaB1.out);
  EXPECT_EQ(Bytes(viaHighBits.out.end() - 5, viaHighBits.out.end()),
            Bytes(prefix.end() - 128, prefix.end() - 123));
}

TEST(PackCodec, EncodesExactBytes) {
  struct Case {
    i32 mode;
    Bytes in;
    Bytes out;
  } cases[] = {
      {0, Bytes(10, 'a'), {0x60, 'a', 0x07, 0x01, 0x00}},
      {0, {}, {0x80, 0x00}},
      {0, {'q'}, {0x40, 'q', 0x00}},
      {0, Text("abc"), {0x10, 'a', 'b', 'c', 0x00}},
      {0, Text("abcdefgh"), {0x00, 'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 0xFF, 0x00}},
      {1, {}, {0, 0, 0, 0, 0x11, 0, 0}},  // the length and LZO's end sequence
  };
  for (const Case& c : cases) EXPECT_EQ(Encode(c.mode, c.in), c.out);
}

TEST(PackCodec, RoundTripsInBothModes) {
  const std::vector<Bytes> inputs = {
      {},
      {0x42},
      Bytes(10, 'a'),
      RandomBytes(5000, 1),           // incompressible
      RandomBytes(70000, 2, 4),       // long matches, distances up to the window
      Bytes(1 << 20, 0),              // 1 MB of one byte
  };
  for (i32 mode : {0, 1}) {
    for (const Bytes& in : inputs) {
      const Result r = Decode(mode, Encode(mode, in));
      EXPECT_TRUE(r.ok) << "mode " << mode << " size " << in.size();
      EXPECT_EQ(r.out, in) << "mode " << mode << " size " << in.size();
    }
  }
}

TEST(PackCodecLzo, RejectsBadStreams) {
  Bytes good = Encode(1, Text("hello hello hello hello hello"));
  Bytes shortLength = good;
  shortLength[0] = 5;  // the data holds more than the stored length
  Bytes huge = good;
  huge[3] = 0x7F;  // claims far more than the stream could hold
  Bytes corrupt = good;
  corrupt[good.size() - 2] ^= 0xFF;  // the end sequence damaged
  for (const Bytes& in : {shortLength, huge, corrupt, Bytes{1, 0, 0, 0, 0x11, 0}, Bytes{}}) {
    const Result r = Decode(1, in);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.out.empty());
  }
}

// Every single flipped bit and every truncation of valid streams: decoding may fail but must stay
// inside its buffers (the sanitizer build checks that).
TEST(PackCodec, SurvivesDamagedStreams) {
  const Bytes source = RandomBytes(600, 3, 6);
  for (i32 mode : {0, 1}) {
    const Bytes good = Encode(mode, source);
    for (std::size_t cut = 0; cut < good.size(); ++cut) {
      Decode(mode, Bytes(good.begin(), good.begin() + cut));
    }
    for (std::size_t i = 0; i < good.size(); ++i) {
      for (int bit = 0; bit < 8; ++bit) {
        Bytes damaged = good;
        damaged[i] ^= static_cast<u8>(1 << bit);
        const Result r = Decode(mode, damaged);
        if (mode == 1 && r.ok) {
          EXPECT_LE(r.out.size(), source.size() * 2 + 64);
        }
      }
    }
  }
}

}  // namespace
