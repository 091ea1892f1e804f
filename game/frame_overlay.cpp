// The per-pass overlay step: timer events, frame time, statistics and the volume keys.
#include "game/frame_overlay.h"

#include "core/clocks.h"
#include "core/number_text_concat.h"
#include "game/game_data.h"
#include "game/game_globals.h"
#include "game/key_latches.h"
#include "media/font_commands.h"
#include "media/music.h"

namespace game {

namespace {

void DrawFrameStatistics() {
  SetCurrentFont(0);
  PrintTextCommand(ConcatCStringFloat("Frames per Second: ", 1000.0f / frameTime), 0.0f, 0.0f);
  PrintTextCommand(ConcatCStringFloat("Time per Frame   : ", frameTime), 0.0f, 10.0f);
  SetCurrentFont(1);
}

}  // namespace

f32 VolumeStepUp(f32 volume) {
  const f64 v = volume;
  return v <= 0.9 ? static_cast<f32>(v + 0.1) : volume;
}

f32 VolumeStepDown(f32 volume) {
  const f64 v = volume;
  return v >= 0.1 ? static_cast<f32>(v - 0.1) : volume;
}

void UpdateFrameOverlay() {
  timerEvents.Redim(0);
  frameTime = GetFrameTime();
  if (statisticsSwitch == 1) DrawFrameStatistics();
  // Volume down is asked only in a pass without a volume-up release.
  if (KeyReleased(kKeyVolumeUp) == 1) {
    if (static_cast<f64>(musicVolume) <= 0.9) {
      musicVolume = VolumeStepUp(musicVolume);
      SetMusicVolume(musicVolume);
    }
  } else if (KeyReleased(kKeyVolumeDown) == 1) {
    if (static_cast<f64>(musicVolume) >= 0.1) {
      musicVolume = VolumeStepDown(musicVolume);
      SetMusicVolume(musicVolume);
    }
  }
}

}  // namespace game
