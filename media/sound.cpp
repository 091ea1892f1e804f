// Sound effects: the audio output, the sound slots and the sound commands.
#include "media/sound.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "core/float_convert.h"
#include "core/runtime_globals.h"
#include "files/file_open.h"
#include "files/file_resolver.h"

namespace {

constexpr int kMixerRate = 22050;
constexpr int kMixerChannels = 2;
constexpr int kMixerBufferSamples = 256;
constexpr int kStartMusicVolume = 64;

SoundSlot* SlotFor(i32 slot) {
  if (soundSlots == nullptr) return nullptr;
  return &soundSlots[ClampSoundSlot(slot)];
}

}  // namespace

void AudioDevice::Open() {
  if (Mix_OpenAudio(kMixerRate, AUDIO_S16LSB, kMixerChannels, kMixerBufferSamples) != 0) {
    std::puts("Can't init audio");
    return;
  }
  opened = true;
  Mix_Volume(-1, MIX_MAX_VOLUME);
  Mix_VolumeMusic(kStartMusicVolume);
}

void AudioDevice::Close() {
  if (opened) Mix_CloseAudio();
  opened = false;
}

// The mixer's channel table exists only while the output is open (a closed mixer still counts
// the channels it had), so the channel queries ask it only then.
i32 AudioDevice::IsChannelPlaying(i32 channel) const {
  if (!opened || channel == -1) return 0;
  return Mix_Playing(channel) != 0 ? 1 : 0;
}

i32 AudioDevice::HaltAll() const {
  if (opened) Mix_HaltChannel(-1);
  return 1;
}

i32 SoundSlot::Load(AudioDevice* device, const char* path) {
  (void)device;  // the mixer is process-wide; the device only stands for it being open
  Free();
  SDL_RWops* file = SDL_RWFromFile(path, "rb");
  if (file != nullptr) sample = Mix_LoadWAV_RW(file, 1);
  return 1;
}

i32 SoundSlot::Play(i32 pan, i32 volume) {
  (void)pan;  // the mixer plays every sample centred
  if (sample == nullptr) return -1;
  Mix_VolumeChunk(sample, volume * MIX_MAX_VOLUME / 100);
  return Mix_PlayChannelTimed(-1, sample, 0, -1);
}

void SoundSlot::Free() {
  if (sample != nullptr) Mix_FreeChunk(sample);
  sample = nullptr;
}

i32 ClampSoundSlot(i32 slot) { return std::clamp(slot, 0, kLastSoundSlot); }

i32 SoundVolumePercent(f32 volume) {
  const f64 v = static_cast<f64>(volume) * 100.0;
  if (v >= 100.0) return 100;
  return std::max(TruncToI32(v), 0);
}

i32 SoundPanValue(f32 pan) { return TruncToI32(std::clamp(pan, -1.0f, 1.0f) * 255.0f); }

void LoadSoundFile(const DynString& name, i32 slot, i32 extra) {
  (void)extra;
  char path[kResolvedPathSize];
  // On failure the resolver leaves the name (or empties the buffer); the load then finds no file
  // and the slot ends empty.
  const std::size_t length = std::min<std::size_t>(name.Length(), kResolvedPathSize - 1);
  std::memcpy(path, name.CStr(), length);
  path[length] = '\0';
  ResolveFile(generalResolver, name.CStr(), path, false);
  // The resolver answers a file found under another letter case by the name as asked, and SDL
  // opens exactly the name it is given: take the name that opens.
  char openable[kResolvedPathSize];
  const char* file = fopen_case(path, openable) != 0 ? openable : path;
  SoundSlot* s = SlotFor(slot);
  if (s != nullptr) s->Load(audioDevice, file);
}

i32 PlaySoundCommand(i32 slot, f32 pan, f32 volume) {
  SoundSlot* s = SlotFor(slot);
  if (s == nullptr) return -1;
  const i32 channel = s->Play(SoundPanValue(pan), SoundVolumePercent(volume));
  return channel >= 0 ? channel + ClampSoundSlot(slot) * 256 : channel;
}

i32 IsSoundPlaying(i32 handle) {
  if (handle < 0 || audioDevice == nullptr) return 0;
  return audioDevice->IsChannelPlaying(handle & 255);
}

void StopAllSounds() {
  if (audioDevice == nullptr) return;
  // Every channel stops on the first halt; the rest repeat it for each slot, harmlessly.
  for (i32 slot = 0; slot <= kLastSoundSlot; ++slot) audioDevice->HaltAll();
}
