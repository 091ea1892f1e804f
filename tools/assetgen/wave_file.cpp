// The WAV layout: "RIFF" chunk of form "WAVE" with a 16-byte "fmt " chunk (PCM) and a "data"
// chunk; every number little endian.
#include "tools/assetgen/wave_file.h"

#include <algorithm>
#include <cstring>

#include "core/byte_order.h"
#include "core/float_convert.h"

namespace {

constexpr i32 kHeaderBytes = 44;
constexpr u32 kPcmFormat = 1;
constexpr u32 kBitsPerSample = 16;

void Tag(u8* at, const char* four) { std::memcpy(at, four, 4); }

}  // namespace

i16 ToPcm16(f32 sample) {
  const f32 scaled = std::clamp(sample, -1.0f, 1.0f) * 32767.0f;
  return static_cast<i16>(TruncToI32(scaled + (scaled >= 0.0f ? 0.5f : -0.5f)));
}

std::vector<u8> EncodeWav16(const std::vector<f32>& samples, i32 channels, i32 sampleRate) {
  const u32 dataBytes = static_cast<u32>(samples.size() * 2);
  const u32 blockAlign = static_cast<u32>(channels) * (kBitsPerSample / 8);
  std::vector<u8> file(kHeaderBytes + dataBytes);
  u8* h = file.data();
  Tag(h, "RIFF");
  WriteLE32(h + 4, 36 + dataBytes);
  Tag(h + 8, "WAVE");
  Tag(h + 12, "fmt ");
  WriteLE32(h + 16, 16);
  WriteLE16(h + 20, kPcmFormat);
  WriteLE16(h + 22, static_cast<u32>(channels));
  WriteLE32(h + 24, static_cast<u32>(sampleRate));
  WriteLE32(h + 28, static_cast<u32>(sampleRate) * blockAlign);
  WriteLE16(h + 32, blockAlign);
  WriteLE16(h + 34, kBitsPerSample);
  Tag(h + 36, "data");
  WriteLE32(h + 40, dataBytes);
  for (size_t i = 0; i < samples.size(); ++i) {
    WriteLE16(h + kHeaderBytes + 2 * i, static_cast<u16>(ToPcm16(samples[i])));
  }
  return file;
}
