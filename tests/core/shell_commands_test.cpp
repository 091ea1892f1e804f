// The shell command (its switching of the 2D device is tested with the device) and running
// another program in place of this one.
#include <cstdio>
#include <string>

#include "core/runtime_error.h"
#include "core/runtime_globals.h"
#include "platform/platform_ops.h"
#include "tests/core/platform_recorder.h"
#include "tests/support/test_support.h"

namespace {

std::string lastCommand;

TEST(ShellCommand, BackgroundMarkIsAppendedToTheCallersText) {
  Platform().runShell = [](const char* command) {
    lastCommand = command;
    return 256;  // what system() gives for a command that exits with status 1
  };
  const struct {
    const char* command;
    f32 wait;
    const char* after;
  } rows[] = {{"ls", 0.0f, "ls &"}, {"ls", -0.0f, "ls &"}, {"ls", 0.5f, "ls"}, {"echo a&b", 0.0f, "echo a&b &"},
              {"ls &  ", 0.0f, "ls &  "}};  // no "ls & &" on a second run
  for (const auto& row : rows) {
    DynString command(row.command);
    f32 result = 0.0f;
    EXPECT_EQ(1.0f, RunShellCommand(command, row.wait, 0.0f, result));
    EXPECT_STREQ(row.after, command.CStr()) << row.command;
    EXPECT_EQ(row.after, lastCommand);
    EXPECT_EQ(256.0f, result);
  }
  ResetPlatformOps();
}

TEST(RunProgramAndExit, FailedStartExitsWithZeroAfterReleasing) {
  const ChildResult child = RunInChild([] {
    InstallPrintingPlatform("/a/b/game");
    SetShutdownHandler([] { std::puts("release"); });
    errorCode = kErrIndex;  // not a fatal end: the status stays 0
    RunProgramAndExit(DynString("/no/such/program"));
  });
  EXPECT_EQ(0, child.exitStatus);
  EXPECT_EQ("release\nend with: /no/such/program\nexec /no/such/program /no/such/program\n"
            "failed to call: /no/such/program\n",
            child.output);
}

}  // namespace
