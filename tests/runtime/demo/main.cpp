// A small program over the runtime, started as the game starts: it draws text and a sprite,
// plays a sound, steps frames at 30 per second and ends on Escape (or the window's close) in a
// real window. Arrows move the sprite, A (or Z) plays the sound again.
//
//   stakko_demo [--frames N] [--no-shell]
// --frames N ends the program after N frames; under the dummy video driver it ends after 90 when
// no limit is given, so it never waits for a key nobody can press. --no-shell skips the shell
// commands of start-up and end ("clear", "killall", "sync"), for runs inside the test suite.
#include <SDL.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/runtime_error.h"
#include "core/runtime_globals.h"
#include "runtime/frame_step.h"
#include "runtime/key_queries.h"
#include "runtime/runtime_startup.h"
#include "media/font_commands.h"
#include "media/graphics_commands.h"
#include "media/key_codes.h"
#include "media/sound.h"
#include "platform/platform_ops.h"
#include "tests/media/wav_maker.h"

namespace {

constexpr i32 kSprite = 1;
constexpr i32 kSoundSlot = 0;
constexpr i32 kSpriteSize = 16;
constexpr i32 kDummyDriverFrames = 90;

bool UsesDummyVideo() {
  char driver[32] = {};
  const char* name = SDL_VideoDriverName(driver, sizeof driver);
  return name != nullptr && std::strcmp(name, "dummy") == 0;
}

// A framed square, drawn into the back buffer and grabbed as a sprite.
void MakeSprite() {
  FillRectCommand(0, 0, kSpriteSize, kSpriteSize, 0x00FFFF);
  FillRectCommand(3, 3, kSpriteSize - 6, kSpriteSize - 6, 0x0000FF);
  GrabSpriteCommand(kSprite, 0, 0, kSpriteSize, kSpriteSize);
  ResetDrawState();
}

// A short tone written to a temporary file, loaded, and the file removed again.
void MakeSound() {
  const std::string path =
      PlatformTempFolder() + "stakko-demo-" + std::to_string(getpid()) + ".wav";
  const std::string bytes = WavBytes(150);
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  if (std::fclose(file) == 0 && written) LoadSoundFile(DynString(path.c_str()), kSoundSlot, 0);
  std::remove(path.c_str());
}

// Edge-triggered A: the sound plays once per press.
bool APressed() {
  static bool held = false;
  const bool now = IsKeyDown(kKeyA) != 0 || IsKeyDown(kKeyZ) != 0;
  const bool pressed = now && !held;
  held = now;
  return pressed;
}

}  // namespace

int main(int argc, char** argv) {
  long frameLimit = 0;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--frames") == 0 && i + 1 < argc) frameLimit = std::atol(argv[++i]);
    if (std::strcmp(argv[i], "--no-shell") == 0)
      Platform().runShell = [](const char*) { return 0; };
  }
  screenWidth = 320;
  screenHeight = 240;
  framesPerSecond = 30;
  windowActive = 1;
  InitRuntime(0, 0, 0, 0, "Stakko demo");
  errorCode = errorLine = currentLine = 0.0f;
  if (frameLimit <= 0 && UsesDummyVideo()) frameLimit = kDummyDriverFrames;

  MakeSprite();
  MakeSound();
  PlaySoundCommand(kSoundSlot, 0.0f, 0.5f);
  i32 x = (screenWidth - kSpriteSize) / 2;
  i32 y = (screenHeight - kSpriteSize) / 2;
  for (long frame = 0; frameLimit <= 0 || frame < frameLimit; ++frame) {
    x += 2 * (IsKeyDown(kKeyRight) - IsKeyDown(kKeyLeft));
    y += 2 * (IsKeyDown(kKeyDown) - IsKeyDown(kKeyUp));
    if (APressed()) PlaySoundCommand(kSoundSlot, 0.0f, 1.0f);
    PrintTextCommand(DynString("Stakko runtime demo"), 8.0f, 8.0f);
    PrintTextCommand(DynString("Arrows move, A plays, Esc ends"), 8.0f, 20.0f);
    PrintTextCommand(DynString::FromInt(static_cast<i32>(frame)), 8.0f, 32.0f);
    DrawSpriteCommand(kSprite, x, y);
    FlipFrame();
  }
  EndCommand();
}
