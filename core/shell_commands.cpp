// The two commands that hand control to other programs: a shell command (the 2D device is
// switched off while it runs) and running another program in place of this one.
#include <unistd.h>

#include <cstdio>
#include <string>

#include "core/runtime_error.h"
#include "platform/platform_ops.h"

namespace {

// True when the command, trailing blanks aside, already ends in '&'. Appending " &" again would
// give "cmd & &", which no shell runs.
bool EndsInBackgroundMark(const DynString& command) {
  for (u32 i = command.Length(); i > 0; --i) {
    const char c = command.CStr()[i - 1];
    if (c == ' ' || c == '\t') continue;
    return c == '&';
  }
  return false;
}

}  // namespace

void SetDeviceActiveHooks(DeviceActiveHooks hooks) { deviceActiveHooks = hooks; }

f32 RunShellCommand(DynString& command, f32 wait, f32 window, f32& result) {
  (void)window;  // kept for the command's signature; a shell has no window here
  const bool wasActive = deviceActiveHooks.isActive != nullptr && deviceActiveHooks.isActive();
  if (deviceActiveHooks.setActive != nullptr) deviceActiveHooks.setActive(false);
  if (wait == 0.0f && !EndsInBackgroundMark(command)) {
    command.AssignCString((std::string(command.CStr(), command.Length()) + " &").c_str());
  }
  result = static_cast<f32>(Platform().runShell(command.CStr()));
  if (wasActive && deviceActiveHooks.setActive != nullptr) deviceActiveHooks.setActive(true);
  return 1.0f;
}

void RunProgramAndExit(DynString path) {
  ShutdownRuntime();
  std::printf("end with: %s\n", path.CStr());
  PlatformOps& ops = Platform();
  ops.execProgram(path.CStr(), path.CStr());
  std::printf("failed to call: %s\n", path.CStr());
  std::fflush(stdout);
  ops.exitProcess(0);
  _exit(0);  // only a test replacement of the exit returns
}
