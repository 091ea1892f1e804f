// Definitions of the core's process-wide state. They live in this one file so that their
// initialisation order is the order written here (C++ fixes it only within one translation unit).
// Plain values are constant-initialised to zero; the two texts start as the shared empty value.
#include "core/runtime_globals.h"

f32 errorCode = 0.0f;
f32 errorLine = 0.0f;
f32 currentLine = 0.0f;
f32 currentPosition = 0.0f;

i32 screenWidth = 0;
i32 screenHeight = 0;
i32 framesPerSecond = 0;
i32 windowActive = 0;
i32 videoFlag = 0;
i32 debugReport = 0;
u32 grabInput = 0;

f64 startClockMs = 0.0;
f64 frameClockMs = 0.0;
f64 previousFrameClockMs = 0.0;

DynString projectName;
DynString commandLine;

OpenGLRainbows* graphicsDevice = nullptr;
NetSession* netSession = nullptr;
Rainbows3D* device3D = nullptr;
InputDevice* inputDevice = nullptr;
AudioDevice* audioDevice = nullptr;
SoundSlot* soundSlots = nullptr;
FileResolverContext* musicResolver = nullptr;
FileResolverContext* generalResolver = nullptr;
i32 currentFont = 0;

void ResetRuntimeGlobalsForTests() {
  errorCode = 0.0f;
  errorLine = 0.0f;
  currentLine = 0.0f;
  currentPosition = 0.0f;

  screenWidth = 0;
  screenHeight = 0;
  framesPerSecond = 0;
  windowActive = 0;
  videoFlag = 0;
  debugReport = 0;
  grabInput = 0;

  startClockMs = 0.0;
  frameClockMs = 0.0;
  previousFrameClockMs = 0.0;

  projectName.Reset();
  commandLine.Reset();

  graphicsDevice = nullptr;
  netSession = nullptr;
  device3D = nullptr;
  inputDevice = nullptr;
  audioDevice = nullptr;
  soundSlots = nullptr;
  musicResolver = nullptr;
  generalResolver = nullptr;
  currentFont = 0;
}
