// Little-endian reading and writing of fixed-width values in byte buffers. Every binary format the
// runtime reads or writes (packs, pack streams, channel values, images, device words, packets) is
// little endian whatever the host is, so values are assembled byte by byte rather than copied
// from memory.
#pragma once

#include <bit>

#include "core/types.h"

inline u16 ReadLE16(const u8* p) { return static_cast<u16>(p[0] | (p[1] << 8)); }

inline u32 ReadLE32(const u8* p) {
  return static_cast<u32>(p[0]) | (static_cast<u32>(p[1]) << 8) | (static_cast<u32>(p[2]) << 16) |
         (static_cast<u32>(p[3]) << 24);
}

inline u64 ReadLE64(const u8* p) {
  return static_cast<u64>(ReadLE32(p)) | (static_cast<u64>(ReadLE32(p + 4)) << 32);
}

inline void WriteLE16(u8* p, u32 v) {
  p[0] = static_cast<u8>(v);
  p[1] = static_cast<u8>(v >> 8);
}

inline void WriteLE32(u8* p, u32 v) {
  WriteLE16(p, v);
  WriteLE16(p + 2, v >> 16);
}

inline void WriteLE64(u8* p, u64 v) {
  WriteLE32(p, static_cast<u32>(v));
  WriteLE32(p + 4, static_cast<u32>(v >> 32));
}

// IEEE 754 values travel as their bit patterns.
inline f32 BitsToF32(u32 bits) { return std::bit_cast<f32>(bits); }
inline u32 F32ToBits(f32 v) { return std::bit_cast<u32>(v); }
inline f64 BitsToF64(u64 bits) { return std::bit_cast<f64>(bits); }
inline u64 F64ToBits(f64 v) { return std::bit_cast<u64>(v); }
