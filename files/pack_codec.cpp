// PackCodec: LZO1X-1 streams through liblzo2 (mode 1) and the runtime's own LZSS format.
//
// LZSS stream: blocks of one flag byte (read from the top bit down) and up to 8 items. A 0 bit is
// a literal byte; a 1 bit is a reference b0 b1 with length (b0 & 15) + 2 and distance
// b1 + (b0 >> 4) * 128 back from the current output; b0 == 0 ends the stream.
#include "files/pack_codec.h"

#include <lzo/lzo1x.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>

#include "core/byte_order.h"

namespace {

constexpr i32 kBucketDepth = 16;
constexpr i32 kMaxMatch = 17;
constexpr i32 kMaxDistance = 2047;
constexpr i32 kOutputStep = 1024;
constexpr i32 kOutputSlack = 8;  // grown blocks hold outLength + 1032 bytes

// liblzo2 must be initialised once per process before its first use.
bool LzoReady() {
  static std::once_flag once;
  static bool ready = false;
  std::call_once(once, [] { ready = lzo_init() == LZO_E_OK; });
  return ready;
}

// The compressor's one process-wide work area (compressions never run concurrently).
lzo_voidp LzoWorkMemory() {
  static std::unique_ptr<lzo_align_t[]> work(
      new lzo_align_t[(LZO1X_1_MEM_COMPRESS + sizeof(lzo_align_t) - 1) / sizeof(lzo_align_t)]);
  return work.get();
}

// Collects the items of one LZSS block until it is written out through the codec.
class LzssBlock {
 public:
  explicit LzssBlock(PackCodec& codec) : codec_(codec) {}
  bool Full() const { return items_ == 8; }
  void Literal(u8 value) {
    bytes_[size_++] = value;
    ++items_;
  }
  void Reference(u8 b0, u8 b1) {
    flags_ |= static_cast<u8>(0x80 >> items_);
    bytes_[size_++] = b0;
    bytes_[size_++] = b1;
    ++items_;
  }
  void Flush() {
    codec_.AppendByte(flags_);
    for (i32 i = 0; i < size_; ++i) codec_.AppendByte(bytes_[i]);
    flags_ = 0;
    size_ = 0;
    items_ = 0;
  }
  // The end code: a reference bit whose b0 is 0, in this block or a fresh one.
  void Finish() {
    if (Full()) {
      Flush();
      codec_.AppendByte(0xFF);
    } else {
      flags_ |= static_cast<u8>(0x80 >> items_);
      Flush();
    }
    codec_.AppendByte(0);
  }

 private:
  PackCodec& codec_;
  u8 flags_ = 0;
  u8 bytes_[16] = {};
  i32 size_ = 0;
  i32 items_ = 0;
};

// Bucket of input position p; the byte after the input's end counts as 0 (the last position is
// only ever inserted, never matched, so its bucket does not change the output).
i32 BucketOf(const u8* source, i32 length, i32 p) {
  const u8 next = p + 1 < length ? source[p + 1] : 0;
  return (source[p] & 63) * 64 + (next & 63);
}

void InsertPosition(i32* table, i32 bucket, i32 position) {
  i32* slots = table + bucket * kBucketDepth;
  std::memmove(slots + 1, slots, (kBucketDepth - 1) * sizeof(i32));
  slots[0] = position;
}

i32 MatchLength(const u8* source, i32 length, i32 q, i32 p) {
  const i32 limit = std::min(kMaxMatch, length - p);
  i32 n = 0;
  while (n < limit && source[q + n] == source[p + n]) ++n;
  return n;
}

struct Match {
  i32 length = 0;
  i32 position = 0;
};

// Newest bucket entries first; when all of them lie in the window, every older position of the
// window is tried as well, down to its start.
Match FindMatch(const i32* table, const u8* source, i32 length, i32 p) {
  const i32 windowStart = std::max(p - kMaxDistance, 0);
  const i32* slots = table + BucketOf(source, length, p) * kBucketDepth;
  Match best;
  auto consider = [&](i32 q) {
    const i32 n = MatchLength(source, length, q, p);
    if (n > best.length) {
      best.length = n;
      best.position = q;
    }
    return best.length == kMaxMatch;
  };
  for (i32 i = 0; i < kBucketDepth; ++i) {
    const i32 q = slots[i];
    if (q < windowStart) return best;  // empty slots hold -1
    if (consider(q)) return best;
  }
  for (i32 q = slots[kBucketDepth - 1] - 1; q >= windowStart; --q) {
    if (consider(q)) return best;
  }
  return best;
}

}  // namespace

PackCodec::~PackCodec() { FreeOutput(); }

void PackCodec::FreeOutput() {
  delete[] out;
  out = nullptr;
  outLength = 0;
  ringPos = 0;
}

i32 PackCodec::AppendByte(u8 value) {
  if (outLength % kOutputStep == 0) {
    u8* grown = new u8[static_cast<std::size_t>(outLength) + kOutputStep + kOutputSlack];
    if (outLength > 0) std::memcpy(grown, out, static_cast<std::size_t>(outLength));
    delete[] out;
    out = grown;
  }
  out[outLength++] = value;
  ring[ringPos] = value;
  ringPos = static_cast<u16>((ringPos + 1) % kRingSize);
  return outLength;
}

u8* PackCodec::TakeOutput() {
  u8* block = out;
  out = nullptr;
  outLength = 0;
  return block;
}

u32 PackCodec::Decompress(const u8* source, i32 length) {
  FreeOutput();
  succeeded_ = false;
  if (source == nullptr || length < 0) return 0;
  return mode == 1 ? DecompressLzo(source, length) : DecompressLzss(source, length);
}

u32 PackCodec::Compress(const u8* source, i32 length) {
  FreeOutput();
  succeeded_ = false;
  if (length < 0 || (source == nullptr && length > 0)) return 0;
  return mode == 1 ? CompressLzo(source, length) : CompressLzss(source, length);
}

u32 PackCodec::DecompressLzo(const u8* source, i32 length) {
  // The shortest stream is the length field plus LZO's 3-byte end sequence.
  if (length < 7 || !LzoReady()) return 0;
  const u64 unpacked = ReadLE32(source);
  // LZO1X expands one input byte into at most 255 output bytes; a larger claim is damage.
  const u64 plausible = static_cast<u64>(length - 4) * 256 + 64;
  if (unpacked > kMaxUnpackedBytes || unpacked > plausible) return 0;
  out = new u8[unpacked > 0 ? unpacked : 1];
  lzo_uint produced = static_cast<lzo_uint>(unpacked);
  const int rc = lzo1x_decompress_safe(source + 4, static_cast<lzo_uint>(length - 4), out,
                                       &produced, nullptr);
  if (rc != LZO_E_OK) return 0;
  outLength = static_cast<i32>(produced);
  succeeded_ = true;
  return static_cast<u32>(outLength);
}

u32 PackCodec::DecompressLzss(const u8* source, i32 length) {
  i32 in = 0;
  // A stream cut short ends at its last whole item; only an end code makes it complete.
  while (in < length) {
    const u8 flags = source[in++];
    for (i32 bit = 7; bit >= 0; --bit) {
      if ((flags & (1 << bit)) == 0) {
        if (in >= length) return static_cast<u32>(outLength);
        AppendByte(source[in++]);
        continue;
      }
      if (in >= length) return static_cast<u32>(outLength);
      const u8 b0 = source[in++];
      if (b0 == 0) {
        succeeded_ = true;
        return static_cast<u32>(outLength);
      }
      if (in >= length) return static_cast<u32>(outLength);
      const u8 b1 = source[in++];
      const i32 distance = b1 + (b0 >> 4) * 128;
      const i32 count = (b0 & 0x0F) + 2;
      for (i32 k = 0; k < count; ++k) {
        AppendByte(ring[(ringPos - distance + kRingSize * 2) % kRingSize]);
      }
    }
  }
  return static_cast<u32>(outLength);
}

u32 PackCodec::CompressLzo(const u8* source, i32 length) {
  if (!LzoReady()) return 0;
  // The library's worst case for data that does not compress, behind the length field.
  const std::size_t n = static_cast<std::size_t>(length);
  out = new u8[4 + n + n / 16 + 64 + 3];
  WriteLE32(out, static_cast<u32>(length));
  lzo_uint packed = 0;
  static const u8 kNothing = 0;
  const int rc = lzo1x_1_compress(length > 0 ? source : &kNothing, static_cast<lzo_uint>(n),
                                  out + 4, &packed, LzoWorkMemory());
  if (rc != LZO_E_OK) {
    FreeOutput();
    return 0;
  }
  outLength = static_cast<i32>(4 + packed);
  succeeded_ = true;
  return static_cast<u32>(outLength);
}

u32 PackCodec::CompressLzss(const u8* source, i32 length) {
  std::fill(std::begin(matchTable), std::end(matchTable), -1);
  LzssBlock block(*this);
  if (length == 0) {
    block.Finish();  // an end code alone: decodes to nothing
    succeeded_ = true;
    return static_cast<u32>(outLength);
  }
  InsertPosition(matchTable, BucketOf(source, length, 0), 0);
  block.Literal(source[0]);
  i32 p = 1;
  while (p < length) {
    if (block.Full()) block.Flush();
    const Match best = FindMatch(matchTable, source, length, p);
    if (best.length < 3) {
      block.Literal(source[p]);
      InsertPosition(matchTable, BucketOf(source, length, p), p);
      ++p;
      continue;
    }
    const i32 d = p - best.position;
    block.Reference(static_cast<u8>((best.length - 2) + ((d >> 3) & 0xF0)),
                    static_cast<u8>(d & 0x7F));
    for (i32 k = p; k < p + best.length; ++k) {
      InsertPosition(matchTable, BucketOf(source, length, k), k);
    }
    p += best.length;
  }
  block.Finish();
  succeeded_ = true;
  return static_cast<u32>(outLength);
}
