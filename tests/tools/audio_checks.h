// Test helpers that read sound files the way a player would: the fields of a PCM WAV header and
// the frame headers of an MPEG-1 Layer III stream.
#pragma once

#include <string>
#include <vector>

#include "core/byte_order.h"
#include "core/types.h"

struct WavInfo {
  bool valid = false;
  u32 format = 0, channels = 0, rate = 0, bits = 0;
  u32 dataBytes = 0;
  std::vector<i16> samples;
};

// A 44-byte header with "RIFF", "WAVE", "fmt " and "data" in place, and data that is all there.
inline WavInfo ReadWav(const std::string& bytes) {
  WavInfo info;
  if (bytes.size() < 44) return info;
  const u8* p = reinterpret_cast<const u8*>(bytes.data());
  if (bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0 ||
      bytes.compare(12, 4, "fmt ") != 0 || bytes.compare(36, 4, "data") != 0) {
    return info;
  }
  info.format = ReadLE16(p + 20);
  info.channels = ReadLE16(p + 22);
  info.rate = ReadLE32(p + 24);
  info.bits = ReadLE16(p + 34);
  info.dataBytes = ReadLE32(p + 40);
  if (ReadLE32(p + 4) != bytes.size() - 8 || info.dataBytes != bytes.size() - 44) return info;
  for (size_t i = 44; i + 1 < bytes.size(); i += 2)
    info.samples.push_back(static_cast<i16>(ReadLE16(p + i)));
  info.valid = true;
  return info;
}

struct Mp3Info {
  bool valid = false;  // the stream is nothing but whole MPEG-1 Layer III frames
  i32 frames = 0;
  u32 rate = 0;
  f64 seconds = 0;
};

inline Mp3Info ReadMp3Frames(const std::vector<u8>& bytes) {
  static constexpr u32 kBitrates[16] = {0,   32,  40,  48,  56,  64,  80,  96,
                                        112, 128, 160, 192, 224, 256, 320, 0};
  static constexpr u32 kRates[4] = {44100, 48000, 32000, 0};
  Mp3Info info;
  size_t at = 0;
  while (at + 4 <= bytes.size()) {
    const u8* h = bytes.data() + at;
    const bool sync = h[0] == 0xFF && (h[1] & 0xE0) == 0xE0;
    const bool mpeg1Layer3 = ((h[1] >> 3) & 3) == 3 && ((h[1] >> 1) & 3) == 1;
    const u32 bitrate = kBitrates[h[2] >> 4], rate = kRates[(h[2] >> 2) & 3];
    if (!sync || !mpeg1Layer3 || bitrate == 0 || rate == 0) return info;
    if (info.rate != 0 && rate != info.rate) return info;
    info.rate = rate;
    at += 144 * bitrate * 1000 / rate + ((h[2] >> 1) & 1);
    ++info.frames;
  }
  info.valid = at == bytes.size() && info.frames > 0;
  info.seconds = info.valid ? info.frames * 1152.0 / info.rate : 0.0;
  return info;
}
