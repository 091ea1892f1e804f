// The landing sound: a sine thump whose pitch drops fast (the weight), a short filtered noise
// click (the contact) and a quick wooden knock an octave and a fifth up (the block's body),
// faded to silence at the end so it never clicks off.
#include "tools/assetgen/landing_sound.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/float_convert.h"
#include "tools/assetgen/noise.h"

std::vector<f32> SynthesiseLandingSound() {
  constexpr f32 kTwoPi = 2.0f * std::numbers::pi_v<f32>;
  const i32 count = TruncToI32(kLandingRate * kLandingSeconds);
  std::vector<f32> out(static_cast<size_t>(count));
  Rng rng(2024);
  f32 thumpPhase = 0.0f, knockPhase = 0.0f, lowpass = 0.0f, peak = 0.0f;
  for (i32 i = 0; i < count; ++i) {
    const f32 t = static_cast<f32>(i) / kLandingRate;
    const f32 thumpHz = 70.0f + 130.0f * std::exp(-t / 0.025f);
    thumpPhase += kTwoPi * thumpHz / kLandingRate;
    const f32 attack = std::min(1.0f, t / 0.002f);
    const f32 thump = std::sin(thumpPhase) * attack * std::exp(-t / 0.045f);
    lowpass += 0.35f * (rng.Range(-1.0f, 1.0f) - lowpass);
    const f32 click = lowpass * std::exp(-t / 0.006f) * 0.8f;
    knockPhase += kTwoPi * 560.0f / kLandingRate;
    const f32 knock = std::sin(knockPhase) * attack * std::exp(-t / 0.018f) * 0.3f;
    const f32 tail = std::min(1.0f, (kLandingSeconds - t) / 0.01f);
    out[static_cast<size_t>(i)] = (thump + click + knock) * tail;
    peak = std::max(peak, std::fabs(out[static_cast<size_t>(i)]));
  }
  if (peak > 0.0f) {
    for (f32& s : out) s *= 0.8f / peak;
  }
  return out;
}
