// The runtime's process-wide state: the error fields, the start-up settings, the clocks, the
// project name and command line, and the pointers to the devices that start-up creates.
// Like every global object of the runtime, they are defined in runtime/runtime_globals.cpp, so
// their construction and destruction order is fixed; the devices themselves are created by
// InitRuntime and released by ShutdownRuntime.
#pragma once

#include "core/dyn_string.h"
#include "core/types.h"

class OpenGLRainbows;
class Rainbows3D;
class InputDevice;
class AudioDevice;
struct SoundSlot;
struct NetSession;
struct FileResolverContext;

// Error state (all zero at process start).
extern f32 errorCode;
extern f32 errorLine;
extern f32 currentLine;
extern f32 currentPosition;

// Start-up settings, stored by the program before InitRuntime.
extern i32 screenWidth;
extern i32 screenHeight;
extern i32 framesPerSecond;
extern i32 windowActive;
extern i32 videoFlag;
extern i32 debugReport;
extern u32 grabInput;

// Clocks in milliseconds, all read from GetTicksMs.
extern f64 startClockMs;
extern f64 frameClockMs;
extern f64 previousFrameClockMs;

// Texts.
extern DynString projectName;
extern DynString commandLine;

// Devices and contexts created by InitRuntime (null until then and after ShutdownRuntime).
extern OpenGLRainbows* graphicsDevice;
extern NetSession* netSession;
extern Rainbows3D* device3D;
extern InputDevice* inputDevice;
extern AudioDevice* audioDevice;
extern SoundSlot* soundSlots;  // kSoundSlotCount slots
extern FileResolverContext* musicResolver;
extern FileResolverContext* generalResolver;
extern i32 currentFont;

constexpr i32 kSoundSlotCount = 2048;
