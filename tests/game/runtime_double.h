// A stand-in for the runtime commands the game calls (declared in game/runtime_calls.h): it
// records every drawing, text, sound, font, volume and frame-step call and answers the key query
// from a scripted set of held keys, counting the reads.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/types.h"

struct SpriteDraw {
  i32 sprite;
  i32 x;
  i32 y;
  bool operator==(const SpriteDraw&) const = default;
};

struct TextPrint {
  std::string text;
  f32 x;
  f32 y;
  i32 font;  // the current font when printed
  bool operator==(const TextPrint&) const = default;
};

struct SoundPlay {
  i32 slot;
  f32 pan;
  f32 volume;
  bool operator==(const SoundPlay&) const = default;
};

struct RuntimeDouble {
  std::set<i32> heldKeys;
  std::map<i32, i32> keyReads;  // IsKeyDown calls per code
  std::vector<SpriteDraw> sprites;
  std::vector<TextPrint> texts;
  std::vector<SoundPlay> sounds;
  std::vector<f32> musicVolumes;
  i32 currentFont = 0;
  i32 flips = 0;

  void Press(i32 code) { heldKeys.insert(code); }
  void Release(i32 code) { heldKeys.erase(code); }
  i32 TotalKeyReads() const;
};

// The one double the commands answer from; reset by the game fixture.
extern RuntimeDouble runtime;
void ResetRuntimeDouble();
