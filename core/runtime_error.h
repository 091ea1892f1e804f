// Fatal errors and the end of program. The runtime has no exceptions at its command interface:
// an operation that finds its input invalid stores an error code with the current line and calls
// EndProgram, which never returns. The end releases every runtime object, syncs, changes to the
// executable's directory and starts the handheld's launcher; only when none starts does the
// process exit.
#pragma once

#include "core/dyn_string.h"
#include "core/types.h"

// Runtime error codes.
constexpr f32 kErrRegularEnd = 0.0f;
constexpr f32 kErrFile = 3.0f;          // channel not open, read past the end, I/O failed
constexpr f32 kErrStorage = 7.0f;       // no storage, channel above 7, line index above 255
constexpr f32 kErrAppend = 8.0f;        // append to a multi-dimensional array, bad removal index
constexpr f32 kErrIndex = 9.0f;         // index out of range
constexpr f32 kErrNoData = 20.0f;       // no DATA item left

void SetRuntimeError(f32 code);             // errorCode = code; errorLine = currentLine
void SetLinePosition(i32 position, i32 line);
[[noreturn]] void EndCommand();             // the program's END statement
[[noreturn]] void EndProgram();             // the end of program; never returns
[[noreturn]] void FatalError(f32 code);     // SetRuntimeError(code), then EndProgram()
// The exit handler (registered with atexit by start-up, never by a test process): the only way in
// that returns. It runs the sequence once and lets the exit under way finish with its own status.
void EndProgramAtExit();
// The process exit status of the end of program: the stored error code when it is not 0 (so a
// fatal error is never reported as success), 0 for the regular end.
int ExitStatusForErrorCode(f32 code);
void ShutdownRuntime();                     // releases what start-up created; safe to repeat
f32 RunShellCommand(DynString& command, f32 wait, f32 window, f32& result);
[[noreturn]] void RunProgramAndExit(DynString path);

// The layer above the core (start-up) installs the release of every subsystem here, so the core
// links without them. Null means nothing to release. ShutdownRuntime calls the handler, which
// performs, in this order and each only while its global pointer is set (clearing it after):
//   1. close file channels 0 to 7;
//   2. set the stored music volume to -1.0 and free the current music;
//   3. delete the 2D graphics device;
//   4. close and delete the input device;
//   5. free every sound slot, last to first, then delete the slot array;
//   6. close and delete the audio device;
//   7. stop and delete the network session (NetShutdownSession);
//   8. reset and delete the music resolver context, then the general one.
// ShutdownRuntime itself then releases the input grab and quits SDL. The 3D device is never
// released here.
using ShutdownHandler = void (*)();
void SetShutdownHandler(ShutdownHandler handler);
// The file layer installs here the write-back of the line file and the INI store. The end of
// program runs it after ShutdownRuntime and before "sync", so changes held in memory reach the
// disk even when the launcher then replaces the process; the handler clears the stores' changed
// flags so that their exit-time destructors have nothing left to write. Null means nothing to do.
using ExitWriteBackHandler = void (*)();
void SetExitWriteBackHandler(ExitWriteBackHandler handler);
// The shell command deactivates the 2D device while the shell runs; the media layer installs the
// getter/setter of its active flag here.
struct DeviceActiveHooks {
  bool (*isActive)() = nullptr;
  void (*setActive)(bool active) = nullptr;
};
extern DeviceActiveHooks deviceActiveHooks;
void SetDeviceActiveHooks(DeviceActiveHooks hooks);

// Test seam: when set, EndProgram prints its report and calls the hook instead of releasing
// anything and leaving the process (the hook throws or _exits). Never set in the program.
using EndProgramHook = void (*)();
void SetEndProgramHookForTests(EndProgramHook hook);
// Forgets that the end has begun (tests that run the sequence more than once).
void ResetEndProgramStateForTests();
