// PackCodec: unpacks (and produces) the packed bytes of pack entries. Mode 1 is a u32 length
// followed by an LZO1X-1 stream (the only format the resolver meets); every other mode is the
// runtime's own LZSS format with a 2048-byte window, kept for data that programs pack themselves.
//
// The output belongs to the codec until a caller takes it with TakeOutput. Every input is treated
// as untrusted: a damaged stream ends decoding with a failure, never with a read or write outside
// the buffers.
#pragma once

#include "core/types.h"

class PackCodec {
 public:
  static constexpr i32 kRingSize = 2048;
  static constexpr i32 kMatchTableSize = 65536;  // 4096 buckets of 16 positions
  // The largest unpacked length a mode-1 stream may announce.
  static constexpr u64 kMaxUnpackedBytes = 512ull * 1024 * 1024;

  // The LZSS encoder's table, set to empty (-1) at the start of every compression. It is left
  // unset on construction: the resolver builds a codec for every pack lookup only to decompress,
  // and 256 KB of writes per lookup would be spent for nothing.
  i32 matchTable[kMatchTableSize];
  u8* out = nullptr;
  i32 outLength = 0;
  u8 ring[kRingSize] = {};
  u16 ringPos = 0;
  i32 mode = 0;

  PackCodec() = default;
  ~PackCodec();
  PackCodec(const PackCodec&) = delete;
  PackCodec& operator=(const PackCodec&) = delete;

  void FreeOutput();
  i32 AppendByte(u8 value);
  // Result: the output length; 0 on failure (see Succeeded, since an empty result is valid too).
  u32 Decompress(const u8* source, i32 length);
  u32 Compress(const u8* source, i32 length);
  // Whether the last Decompress or Compress produced a complete, valid output.
  bool Succeeded() const { return succeeded_; }
  // Hands the output block (allocated with new[]) to the caller and empties the codec.
  u8* TakeOutput();

 private:
  u32 DecompressLzo(const u8* source, i32 length);
  u32 DecompressLzss(const u8* source, i32 length);
  u32 CompressLzo(const u8* source, i32 length);
  u32 CompressLzss(const u8* source, i32 length);

  bool succeeded_ = false;
};
