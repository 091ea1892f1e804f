// Definitions of the game's runtime commands for the test program.
#include "tests/game/runtime_double.h"

#include "game/runtime_calls.h"

RuntimeDouble runtime;

void ResetRuntimeDouble() { runtime = RuntimeDouble{}; }

i32 RuntimeDouble::TotalKeyReads() const {
  i32 total = 0;
  for (const auto& [code, reads] : keyReads) total += reads;
  return total;
}

i32 IsKeyDown(i32 code) {
  ++runtime.keyReads[code];
  return runtime.heldKeys.count(code) != 0 ? 1 : 0;
}

void FlipFrame() { ++runtime.flips; }

void DrawSpriteCommand(i32 sprite, i32 x, i32 y) { runtime.sprites.push_back({sprite, x, y}); }

void SetCurrentFont(i32 font) { runtime.currentFont = font < 0 ? 0 : font > 31 ? 31 : font; }

void PrintTextCommand(const DynString& text, f32 x, f32 y) {
  runtime.texts.push_back({std::string(text.CStr(), text.Length()), x, y, runtime.currentFont});
}

i32 PlaySoundCommand(i32 slot, f32 pan, f32 volume) {
  runtime.sounds.push_back({slot, pan, volume});
  return 0;
}

void SetMusicVolume(f32 v) { runtime.musicVolumes.push_back(v); }
