// Sound effects over SDL_mixer: the audio output (AudioDevice), the table of sound slots that
// start-up allocates (runtime_globals.h: audioDevice, soundSlots) and the sound commands.
// Programs load a sound file into a numbered slot and play it; a play answers with a handle,
// channel + slot * 256, or -1 when nothing plays. Slot numbers are limited to 0..127.
// When the audio output cannot open, loads leave slots empty and plays answer -1.
#pragma once

#include "core/dyn_string.h"
#include "core/types.h"

struct Mix_Chunk;

constexpr i32 kLastSoundSlot = 127;

class AudioDevice {
 public:
  // Opens the mixer output (22050 Hz, signed 16-bit, stereo, 256-sample buffer), every channel at
  // volume 128, music at 64. When it cannot open, prints "Can't init audio" and carries on.
  void Open();
  void Close();
  // 1 while the channel plays; 0 for channel -1.
  i32 IsChannelPlaying(i32 channel) const;
  // Stops every channel; 1.
  i32 HaltAll() const;

  bool opened = false;
};

struct SoundSlot {
  Mix_Chunk* sample = nullptr;  // owned; null = empty

  SoundSlot() = default;
  ~SoundSlot() { Free(); }
  SoundSlot(const SoundSlot&) = delete;
  SoundSlot& operator=(const SoundSlot&) = delete;

  // Frees the old sample and loads the file; always 1 (a failed load leaves the slot empty).
  i32 Load(AudioDevice* device, const char* path);
  // Plays once on the first free channel at volume (0..100) * 128 / 100; the channel, or -1.
  // pan has no audible effect.
  i32 Play(i32 pan, i32 volume);
  void Free();
};

// The slot number a command uses: limited to 0..127.
i32 ClampSoundSlot(i32 slot);
// The chunk volume (0..100) for a command's volume (1.0 = full); NaN and negatives give 0.
i32 SoundVolumePercent(f32 volume);
// The pan value passed on: clamped to -1..1, times 255, truncated; NaN gives 0.
i32 SoundPanValue(f32 pan);

// Resolves name through the general context without memory results (a packed sound becomes a
// temporary file) and loads it into the slot. `extra` is not used.
void LoadSoundFile(const DynString& name, i32 slot, i32 extra);
// Plays the slot; the handle (channel + slot * 256), or -1.
i32 PlaySoundCommand(i32 slot, f32 pan, f32 volume);
// 1 while the channel of the handle plays; 0 for a negative handle.
i32 IsSoundPlaying(i32 handle);
void StopAllSounds();
