// The game's runtime commands for the test program, over the recording double.
#include "tests/game/runtime_double.h"

#include "game/runtime_calls.h"

RuntimeDouble runtime;

i32 IsKeyDown(i32 code) {
  ++runtime.keyReads[code];
  return runtime.held.count(code) != 0 ? 1 : 0;
}
void FlipFrame() { ++runtime.flips; }
void DrawSpriteCommand(i32 sprite, i32 x, i32 y) { runtime.sprites.emplace_back(sprite, x, y); }
void SetCurrentFont(i32 font) { runtime.font = font; }
void PrintTextCommand(const DynString& text, f32 x, f32 y) {
  runtime.texts.emplace_back(std::string(text.CStr(), text.Length()), x, y, runtime.font);
}
i32 PlaySoundCommand(i32 slot, f32 pan, f32 volume) {
  runtime.sounds.emplace_back(slot, pan, volume);
  return 0;
}
void SetMusicVolume(f32 v) { runtime.musicVolumes.push_back(v); }
