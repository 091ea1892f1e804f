// The start-up settings and the order of the program's start.
#include "game/start_up.h"

#include "core/runtime_error.h"
#include "core/runtime_globals.h"
#include "runtime/runtime_startup.h"
#include "game/game_main.h"

namespace game {

DynString JoinCommandLine(int argc, const char* const* argv) {
  DynString line;
  for (int i = 0; i < argc; ++i) {
    line.AppendCString(argv[i] != nullptr ? argv[i] : "");
    line.AppendCString(" ");
  }
  return line;
}

void StoreStartUpSettings(const DynString& line) {
  commandLine = line;
  screenWidth = 320;
  screenHeight = 240;
  windowActive = 1;
  framesPerSecond = 30;
  videoFlag = 0;
  debugReport = 0;
  grabInput = 0;
}

void StartRuntime() {
  // Its answer is not looked at: a video that cannot start has already ended the process.
  InitRuntime(0, 0, 0, 0, "Stakko");
  errorLine = 0.0f;
  currentLine = 0.0f;
  errorCode = 0.0f;
}

void StartUp(const DynString& line) {
  StoreStartUpSettings(line);
  StartRuntime();
  GameMain();
}

}  // namespace game
