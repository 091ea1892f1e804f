// Background music over SDL_mixer: one stream at a time, resolved through the music context,
// with a stored volume that persists across calls (-1.0 = none set). Main thread only.
#pragma once

#include "core/dyn_string.h"
#include "core/types.h"

typedef struct _Mix_Music Mix_Music;

// The music playing and its stored volume (defined with the runtime's globals).
constexpr f32 kNoMusicVolume = -1.0f;
extern Mix_Music* currentMusic;
extern f32 storedMusicVolume;

// Frees the current music, resolves name through the music context (a packed file becomes a
// temporary file), loads it and plays it forever when loop is non-zero, else once, at full
// volume, storing 1.0 as the volume. A name that does not resolve: nothing plays, silently; one
// that does not load: the lines "PLAYMUSIC:" and SDL's error text.
void PlayMusic(const DynString& name, i32 loop);
// When v differs from the stored volume: stores it and sets the mixer's music volume to
// v * 128, limited to 0..128 (NaN gives 0).
void SetMusicVolume(f32 v);
i32 IsMusicPlaying();
// The stored volume becomes -1.0; the current music is freed (which stops it).
void StopMusic();
// The stored music volume (-1.0 when none is set).
f32 StoredMusicVolume();
