// The music stream and its stored volume.
#include "media/music.h"

#include <SDL_mixer.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "core/float_convert.h"
#include "core/runtime_globals.h"
#include "files/file_open.h"
#include "files/file_resolver.h"

namespace {

void FreeCurrentMusic() {
  if (currentMusic != nullptr) Mix_FreeMusic(currentMusic);
  currentMusic = nullptr;
}

// The path that opens for a resolved name: the name itself, else its case-insensitive match in
// its folder; empty when neither exists.
void FindOpenablePath(const char* resolved, char* out) {
  if (fopen_case(resolved, out) == 0) out[0] = '\0';
}

}  // namespace

void PlayMusic(const DynString& name, i32 loop) {
  storedMusicVolume = kNoMusicVolume;
  FreeCurrentMusic();
  char resolved[kResolvedPathSize];
  if (ResolveFile(musicResolver, name.CStr(), resolved, false) == 0) return;
  char path[kResolvedPathSize];
  FindOpenablePath(resolved, path);
  if (path[0] != '\0') currentMusic = Mix_LoadMUS(path);
  if (currentMusic == nullptr) {
    std::puts("PLAYMUSIC:");
    std::puts(Mix_GetError());
  } else {
    Mix_PlayMusic(currentMusic, loop != 0 ? -1 : 1);
    Mix_VolumeMusic(MIX_MAX_VOLUME);
  }
  SetMusicVolume(1.0f);
}

void SetMusicVolume(f32 v) {
  if (v == storedMusicVolume) return;
  storedMusicVolume = v;
  const f64 level = std::clamp(static_cast<f64>(v) * MIX_MAX_VOLUME, 0.0, f64{MIX_MAX_VOLUME});
  Mix_VolumeMusic(TruncToI32(level));
}

i32 IsMusicPlaying() { return Mix_PlayingMusic() != 0 ? 1 : 0; }

void StopMusic() {
  storedMusicVolume = kNoMusicVolume;
  FreeCurrentMusic();
}

f32 StoredMusicVolume() { return storedMusicVolume; }
