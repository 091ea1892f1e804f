// A tiny PCM WAV file built in memory for the sound tests: 16-bit mono at 22050 Hz, a quiet
// square wave of the given length.
#pragma once

#include <string>

#include "core/types.h"
#include "tests/support/test_support.h"

inline std::string WavBytes(u32 milliseconds) {
  const u32 rate = 22050;
  const u32 samples = rate * milliseconds / 1000;
  const u32 dataBytes = samples * 2;
  // PCM, mono, the rate, bytes a second, bytes a frame, bits.
  std::string out = "RIFF" + LE(36 + dataBytes, 4) + "WAVEfmt " + LE(16, 4) + LE(1, 2) + LE(1, 2) +
                    LE(rate, 4) + LE(rate * 2, 4) + LE(2, 2) + LE(16, 2) + "data" + LE(dataBytes, 4);
  for (u32 i = 0; i < samples; ++i) out += LE((i / 50) % 2 == 0 ? 0x0400 : 0xFC00, 2);
  return out;
}
