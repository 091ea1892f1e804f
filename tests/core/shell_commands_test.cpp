// The shell command and running another program in place of this one.
#include <sys/stat.h>

#include <cstdio>
#include <string>
#include <vector>

#include "core/runtime_error.h"
#include "core/runtime_globals.h"
#include "platform/platform_ops.h"
#include "tests/core/platform_recorder.h"
#include "tests/support/test_support.h"

namespace {

std::vector<std::string> shellCalls;
bool deviceActive = false;
std::vector<bool> activeDuringShell;

int RecordShell(const char* command) {
  shellCalls.push_back(command);
  activeDuringShell.push_back(deviceActive);
  return 256;  // what system() gives for a command that exits with status 1
}

class ShellCommandTest : public testing::Test {
 protected:
  void SetUp() override {
    shellCalls.clear();
    activeDuringShell.clear();
    Platform().runShell = RecordShell;
  }
  void TearDown() override {
    ResetPlatformOps();
    SetDeviceActiveHooks(DeviceActiveHooks{});
    SetShutdownHandler(nullptr);
  }
};

TEST_F(ShellCommandTest, BackgroundMarkIsAppendedToTheCallersText) {
  const struct {
    const char* command;
    f32 wait;
    const char* after;
  } rows[] = {
      {"ls", 0.0f, "ls &"},
      {"ls", 1.0f, "ls"},
      {"ls", -0.0f, "ls &"},
      {"ls", 0.5f, "ls"},
      {"ls &", 0.0f, "ls &"},  // already in the background: no "ls & &"
      {"ls &  ", 0.0f, "ls &  "},
      {"echo a&b", 0.0f, "echo a&b &"},
  };
  for (const auto& row : rows) {
    shellCalls.clear();
    DynString command(row.command);
    f32 result = 0.0f;
    EXPECT_EQ(1.0f, RunShellCommand(command, row.wait, 0.0f, result));
    EXPECT_STREQ(row.after, command.CStr()) << row.command;
    ASSERT_EQ(1u, shellCalls.size());
    EXPECT_EQ(row.after, shellCalls[0]);
    EXPECT_EQ(256.0f, result);
  }
}

TEST_F(ShellCommandTest, SecondBackgroundRunStillRuns) {
  DynString command("ls");
  f32 result = 0.0f;
  RunShellCommand(command, 0.0f, 0.0f, result);
  RunShellCommand(command, 0.0f, 0.0f, result);
  EXPECT_EQ((std::vector<std::string>{"ls &", "ls &"}), shellCalls);
}

TEST_F(ShellCommandTest, DeviceIsOffWhileTheShellRuns) {
  SetDeviceActiveHooks({[] { return deviceActive; }, [](bool active) { deviceActive = active; }});
  for (bool startActive : {true, false}) {
    activeDuringShell.clear();
    deviceActive = startActive;
    DynString command("true");
    f32 result = 0.0f;
    RunShellCommand(command, 1.0f, 0.0f, result);
    ASSERT_EQ(1u, activeDuringShell.size());
    EXPECT_FALSE(activeDuringShell[0]);
    EXPECT_EQ(startActive, deviceActive);
  }
}

TEST_F(ShellCommandTest, RealShellResultIsPassedOn) {
  ResetPlatformOps();
  DynString command("exit 3");
  f32 result = 0.0f;
  RunShellCommand(command, 1.0f, 0.0f, result);
  EXPECT_EQ(3.0f * 256.0f, result);
}

TEST(RunProgramAndExit, FailedStartExitsWithZeroAfterReleasing) {
  const ChildResult child = RunInChild([] {
    InstallPrintingPlatform("/a/b/game");
    SetShutdownHandler([] { std::puts("release"); });
    errorCode = kErrIndex;  // not a fatal end: the status stays 0
    RunProgramAndExit(DynString("/no/such/program"));
  });
  EXPECT_EQ(0, child.exitStatus);
  EXPECT_EQ(
      "release\n"
      "end with: /no/such/program\n"
      "exec /no/such/program /no/such/program\n"
      "failed to call: /no/such/program\n",
      child.output);
}

TEST(RunProgramAndExit, ProgramReplacesTheProcess) {
  ScopedTempDir dir;
  const std::string program = dir.File("next.sh");
  ASSERT_TRUE(WriteFileBytes(program, "#!/bin/sh\necho \"next: $0\"\nexit 5\n"));
  ASSERT_EQ(0, chmod(program.c_str(), 0755));
  const ChildResult child = RunInChild([&] { RunProgramAndExit(DynString(program.c_str())); });
  EXPECT_EQ(5, child.exitStatus);
  // The line printed before the exec is not lost in the pipe's buffer.
  EXPECT_EQ("end with: " + program + "\nnext: " + program + "\n", child.output);
}

}  // namespace
