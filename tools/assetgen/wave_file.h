// 16-bit PCM WAV files: the RIFF header the sound layer's WAV loader expects, then the samples.
#pragma once

#include <string>
#include <vector>

#include "core/types.h"

// Samples interleaved by channel, -1..1 (clamped).
std::vector<u8> EncodeWav16(const std::vector<f32>& samples, i32 channels, i32 sampleRate);
// Turns one sample into its 16-bit value, rounded and clamped.
i16 ToPcm16(f32 sample);
