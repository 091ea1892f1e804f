// The end of program: report, release, write back, sync, change to the executable's directory,
// start the launcher and, when none starts, exit.
//
// The sequence runs at most once. Callers of EndProgram assume it never returns (an array accessor
// would carry on with the bad index), so a second entry, for instance a fatal error raised inside
// a release step, flushes and ends the process at once instead of returning. Only the exit
// handler returns: it is entered by an exit already under way, which then finishes with its own
// status.
#include <unistd.h>

#include <SDL.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>

#include "core/exe_path.h"
#include "core/float_convert.h"
#include "core/runtime_error.h"
#include "core/runtime_globals.h"
#include "platform/platform_ops.h"

namespace {

std::atomic<bool> endBegun{false};
// Set once the exit handler has been entered: from then on only _exit may end the process, since
// calling exit() again from inside an exit is undefined.
std::atomic<bool> exitUnderWay{false};
ShutdownHandler shutdownHandler = nullptr;
ExitWriteBackHandler writeBackHandler = nullptr;
EndProgramHook endProgramHook = nullptr;

void PrintReport() {
  if (debugReport == 0) return;
  std::puts("-End On Line");
  std::printf("%d\n", TruncToI32(errorCode));
  // Widened so that the line before the first one cannot overflow.
  std::printf("%lld\n", static_cast<long long>(TruncToI32(errorLine)) - 1);
  std::printf("%d\n", TruncToI32(currentLine));
  std::printf("%d\n", TruncToI32(currentPosition));
}

// Each attempt replaces the process when it succeeds. The first two argument zeros end in "gpe"
// and "gpu" while the files end in "pge" and "pgu"; both are fixed names of the handheld's
// launcher and are kept exactly as they are.
void StartLauncher() {
  PlatformOps& ops = Platform();
  ops.execProgram("gp2xmenu.pge", "gp2xmenu.gpe");
  ops.execProgram("gp2xmenu.pgu", "gp2xmenu.gpu");
  ops.execProgram("gp2xmenu", "gp2xmenu");
  ops.changeDir("/usr/gp2x");
  ops.execProgram("gp2xmenu", "gp2xmenu");
}

// Everything but the final exit.
void RunEndSequence() {
  PrintReport();
  ShutdownRuntime();
  if (writeBackHandler != nullptr) writeBackHandler();
  Platform().runShell("sync");
  ChangeToExecutableDirectory();
  StartLauncher();
}

[[noreturn]] void LeaveProcess(int status) {
  std::fflush(stdout);
  std::fflush(stderr);
  Platform().exitProcess(status);
  // Only a test replacement of the exit returns; the end must not.
  _exit(status);
}

}  // namespace

int ExitStatusForErrorCode(f32 code) {
  const i32 value = TruncToI32(code);
  if (value == 0) return 0;
  // Exit statuses are 8 bits wide: a code that would read as 0 there still reports a failure.
  return (value > 0 && value < 256) ? value : 1;
}

void EndProgram() {
  if (endProgramHook != nullptr) {
    PrintReport();
    endProgramHook();
    std::fputs("end-of-program test hook returned\n", stderr);
    std::abort();
  }
  if (endBegun.exchange(true)) {
    // A second entry ends the process at once. Outside an exit the normal exit still runs the
    // exit-time destructors; inside one the status of the exit under way is not known here, so
    // the stored code decides it.
    const int status = ExitStatusForErrorCode(errorCode);
    if (exitUnderWay) {
      std::fflush(stdout);
      std::fflush(stderr);
      _exit(status);
    }
    LeaveProcess(status);
  }
  RunEndSequence();
  LeaveProcess(ExitStatusForErrorCode(errorCode));
}

void EndProgramAtExit() {
  exitUnderWay = true;
  if (endBegun.exchange(true)) return;
  RunEndSequence();
}

void ShutdownRuntime() {
  if (shutdownHandler != nullptr) shutdownHandler();
  SDL_WM_GrabInput(SDL_GRAB_OFF);
  SDL_Quit();
}

void SetShutdownHandler(ShutdownHandler handler) { shutdownHandler = handler; }

void SetExitWriteBackHandler(ExitWriteBackHandler handler) { writeBackHandler = handler; }

void SetEndProgramHookForTests(EndProgramHook hook) { endProgramHook = hook; }

void ResetEndProgramStateForTests() {
  endBegun = false;
  exitUnderWay = false;
}
