// A tiny PCM WAV file built in memory for the sound tests: 16-bit mono at 22050 Hz, a quiet
// square wave of the given length.
#pragma once

#include <string>

#include "core/types.h"

inline std::string WavBytes(u32 milliseconds) {
  const u32 rate = 22050;
  const u32 samples = rate * milliseconds / 1000;
  const u32 dataBytes = samples * 2;
  std::string out;
  auto put32 = [&out](u32 v) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>(v >> (8 * i));
  };
  auto put16 = [&out](u32 v) {
    out += static_cast<char>(v);
    out += static_cast<char>(v >> 8);
  };
  out += "RIFF";
  put32(36 + dataBytes);
  out += "WAVEfmt ";
  put32(16);
  put16(1);  // PCM
  put16(1);  // mono
  put32(rate);
  put32(rate * 2);
  put16(2);
  put16(16);
  out += "data";
  put32(dataBytes);
  for (u32 i = 0; i < samples; ++i) put16((i / 50) % 2 == 0 ? 0x0400 : 0xFC00);
  return out;
}
