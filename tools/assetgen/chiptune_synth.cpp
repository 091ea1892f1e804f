// The synthesiser: band-limited pulse waves for the lead, harmony and arpeggio, a 16-step
// triangle for the bass, and noise and swept sines for the drums, mixed in stereo with an echo
// on the melody. Every sound that rings past the end of the loop is folded onto its start, so
// the loop joins without a cut.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/float_convert.h"
#include "tools/assetgen/chiptune.h"
#include "tools/assetgen/noise.h"

namespace {

constexpr f32 kTwoPi = 2.0f * std::numbers::pi_v<f32>;

struct Envelope {
  f32 attack, decay, sustain, release;  // seconds, seconds, level, seconds
  f32 At(f32 t, f32 held) const {
    if (t < attack) return t / attack;
    const f32 level = t < attack + decay ? 1.0f - (1.0f - sustain) * (t - attack) / decay : sustain;
    if (t < held) return level;
    return std::max(0.0f, level * (1.0f - (t - held) / release));
  }
};

struct Tone {
  enum Wave { kPulse, kTriangle } wave;
  f32 duty;  // for pulses
  Envelope env;
  f32 gain, pan;  // pan -1 left .. 1 right
  f32 echoSend;
  bool vibrato;
};

Tone ToneFor(Instrument instrument) {
  switch (instrument) {
    case Instrument::kLead:
      return {Tone::kPulse, 0.25f, {0.005f, 0.12f, 0.65f, 0.06f}, 0.30f, 0.0f, 0.35f, true};
    case Instrument::kHarmony:
      return {Tone::kPulse, 0.5f, {0.008f, 0.12f, 0.6f, 0.06f}, 0.13f, -0.4f, 0.25f, true};
    case Instrument::kArpeggio:
      return {Tone::kPulse, 0.125f, {0.002f, 0.07f, 0.3f, 0.03f}, 0.14f, 0.4f, 0.1f, false};
    default:
      return {Tone::kTriangle, 0.5f, {0.003f, 0.05f, 0.9f, 0.02f}, 0.34f, 0.0f, 0.0f, false};
  }
}

// The step that a naive square makes at a phase wrap, smoothed over one sample (polyBLEP).
f32 PolyBlep(f32 t, f32 dt) {
  if (t < dt) {
    t /= dt;
    return t + t - t * t - 1.0f;
  }
  if (t > 1.0f - dt) {
    t = (t - 1.0f) / dt;
    return t * t + t + t + 1.0f;
  }
  return 0.0f;
}

f32 Pulse(f32 phase, f32 dt, f32 duty) {
  f32 v = phase < duty ? 1.0f : -1.0f;
  v += PolyBlep(phase, dt);
  f32 fall = phase + 1.0f - duty;
  fall -= std::floor(fall);
  v -= PolyBlep(fall, dt);
  return v - (2.0f * duty - 1.0f);  // no DC
}

f32 SteppedTriangle(f32 phase) {
  const f32 tri = 4.0f * std::fabs(phase - 0.5f) - 1.0f;
  return std::round((tri + 1.0f) * 7.5f) / 7.5f - 1.0f;
}

f32 Hz(f32 midi) { return 440.0f * std::pow(2.0f, (midi - 69.0f) / 12.0f); }

class Mixer {
 public:
  explicit Mixer(size_t frames) : left_(frames, 0.0f), right_(frames, 0.0f), send_(frames, 0.0f) {}

  // Adds a mono sample at frame index (wrapped into the loop).
  void Put(i64 frame, f32 value, f32 pan, f32 echoSend) {
    const size_t i = static_cast<size_t>(frame % static_cast<i64>(left_.size()));
    left_[i] += value * std::min(1.0f, 1.0f - pan);
    right_[i] += value * std::min(1.0f, 1.0f + pan);
    send_[i] += value * echoSend;
  }

  // A dotted-eighth echo with feedback, run round the loop twice so the tail of the last bars
  // sounds over the first; the right side hears it a little later for width.
  void Echo(f32 delaySeconds) {
    const size_t n = send_.size();
    const size_t delay = static_cast<size_t>(TruncToI32(delaySeconds * kMusicRate));
    const size_t offset = static_cast<size_t>(TruncToI32(0.012f * kMusicRate));
    std::vector<f32> line(n, 0.0f);
    for (int pass = 0; pass < 2; ++pass) {
      for (size_t i = 0; i < n; ++i) {
        const size_t from = (i + n - delay % n) % n;
        line[i] = send_[from] + 0.35f * line[from];
      }
    }
    for (size_t i = 0; i < n; ++i) {
      left_[i] += 0.5f * line[i];
      right_[i] += 0.5f * line[(i + n - offset) % n];
    }
  }

  StereoBuffer Normalised(f32 peakLevel) {
    f32 peak = 0.0f;
    for (size_t i = 0; i < left_.size(); ++i) {
      peak = std::max(peak, std::max(std::fabs(left_[i]), std::fabs(right_[i])));
    }
    const f32 gain = peak > 0.0f ? peakLevel / peak : 1.0f;
    for (f32& v : left_) v *= gain;
    for (f32& v : right_) v *= gain;
    return {std::move(left_), std::move(right_)};
  }

 private:
  std::vector<f32> left_, right_, send_;
};

void RenderTone(Mixer& mix, const Note& note, f32 secondsPerBeat) {
  const Tone tone = ToneFor(note.instrument);
  const f32 held = note.length * secondsPerBeat;
  const i64 start = TruncToI32(note.beat * secondsPerBeat * kMusicRate);
  const i64 frames = TruncToI32((held + tone.env.release) * kMusicRate);
  const f32 baseHz = Hz(static_cast<f32>(note.midi));
  f32 phase = 0.0f;
  for (i64 k = 0; k < frames; ++k) {
    const f32 t = static_cast<f32>(k) / kMusicRate;
    f32 hz = baseHz;
    if (tone.vibrato && t > 0.15f)
      hz *= std::pow(2.0f, 0.12f / 12.0f * std::sin(kTwoPi * 5.5f * t));
    const f32 dt = hz / kMusicRate;
    const f32 wave =
        tone.wave == Tone::kPulse ? Pulse(phase, dt, tone.duty) : SteppedTriangle(phase);
    phase += dt;
    phase -= std::floor(phase);
    mix.Put(start + k, wave * tone.env.At(t, held) * tone.gain * note.velocity, tone.pan,
            tone.echoSend);
  }
}

// 15-bit noise register of the kind old sound chips clock at a chosen rate.
class NoiseRegister {
 public:
  f32 Next(f32 clocksPerSample) {
    acc_ += clocksPerSample;
    while (acc_ >= 1.0f) {
      acc_ -= 1.0f;
      const u32 bit = (state_ ^ (state_ >> 1)) & 1u;
      state_ = (state_ >> 1) | (bit << 14);
    }
    return (state_ & 1u) ? 1.0f : -1.0f;
  }

 private:
  u32 state_ = 1;
  f32 acc_ = 0.0f;
};

void RenderDrum(Mixer& mix, const Note& note, f32 secondsPerBeat) {
  const i64 start = TruncToI32(note.beat * secondsPerBeat * kMusicRate);
  NoiseRegister noise;
  f32 phase = 0.0f, lowpass = 0.0f;
  const bool hat = note.instrument == Instrument::kHat || note.instrument == Instrument::kOpenHat;
  const f32 length = note.instrument == Instrument::kOpenHat ? 0.3f : hat ? 0.06f : 0.25f;
  const i64 frames = TruncToI32(length * kMusicRate);
  for (i64 k = 0; k < frames; ++k) {
    const f32 t = static_cast<f32>(k) / kMusicRate;
    const f32 fade = std::min(1.0f, (length - t) / 0.01f);
    f32 v = 0.0f, pan = 0.0f;
    switch (note.instrument) {
      case Instrument::kKick: {
        phase += (45.0f + 110.0f * std::exp(-t / 0.03f)) / kMusicRate;
        v = std::sin(kTwoPi * phase) * std::exp(-t / 0.14f) * 0.55f;
        break;
      }
      case Instrument::kSnare: {
        phase += (120.0f + 60.0f * std::exp(-t / 0.02f)) / kMusicRate;
        const f32 body = std::sin(kTwoPi * phase) * std::exp(-t / 0.05f) * 0.5f;
        v = (noise.Next(0.5f) * std::exp(-t / 0.09f) * 0.8f + body) * 0.32f;
        break;
      }
      default: {
        const f32 n = noise.Next(1.0f);
        lowpass += 0.3f * (n - lowpass);
        const f32 tau = note.instrument == Instrument::kOpenHat ? 0.12f : 0.022f;
        v = (n - lowpass) * std::exp(-t / tau) * 0.12f;
        pan = -0.25f;
        break;
      }
    }
    mix.Put(start + k, v * fade * note.velocity, pan, 0.0f);
  }
}

}  // namespace

StereoBuffer RenderSong(const Song& song) {
  const f32 secondsPerBeat = 60.0f / song.bpm;
  const size_t frames = static_cast<size_t>(TruncToI32(song.beats * secondsPerBeat * kMusicRate));
  Mixer mix(std::max<size_t>(frames, 1));
  for (const Note& note : song.notes) {
    switch (note.instrument) {
      case Instrument::kKick:
      case Instrument::kSnare:
      case Instrument::kHat:
      case Instrument::kOpenHat:
        RenderDrum(mix, note, secondsPerBeat);
        break;
      default:
        RenderTone(mix, note, secondsPerBeat);
    }
  }
  mix.Echo(0.75f * secondsPerBeat);
  return mix.Normalised(0.9f);
}
