// The end of program: its report, its sequence and exit status (in child processes, where it may
// really end the process), its at-most-once rule, and the test hook behind EXPECT_FATAL.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "core/runtime_error.h"
#include "core/runtime_globals.h"
#include "platform/platform_ops.h"
#include "tests/core/platform_recorder.h"
#include "tests/support/test_support.h"

namespace {

class EndProgramTest : public testing::Test {
 protected:
  void SetUp() override { Reset(); }
  void TearDown() override { Reset(); }
  static void Reset() {
    ResetRuntimeGlobalsForTests();
    ResetPlatformOps();
    ResetEndProgramStateForTests();
    SetShutdownHandler(nullptr);
    SetExitWriteBackHandler(nullptr);
  }
};

const char kLauncherAttempts[] =
    "exec gp2xmenu.pge gp2xmenu.gpe\n"
    "exec gp2xmenu.pgu gp2xmenu.gpu\n"
    "exec gp2xmenu gp2xmenu\n"
    "chdir /usr/gp2x\n"
    "exec gp2xmenu gp2xmenu\n";

void PrintRelease() { std::puts("release"); }
void PrintWriteBack() { std::puts("write back"); }

int CountOf(const std::string& text, const std::string& part) {
  int count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

TEST_F(EndProgramTest, ReportThroughTheHook) {
  struct Row {
    const char* name;
    i32 debug;
    f32 code;
    i32 line;
    i32 position;
    const char* report;
  } rows[] = {
      {"regular end, no line ever set", 1, kErrRegularEnd, 0, 0, "-End On Line\n0\n-1\n0\n0\n"},
      {"index error at line 12", 1, kErrIndex, 12, 3, "-End On Line\n9\n11\n12\n3\n"},
      {"no data at line 1", 1, kErrNoData, 1, 0, "-End On Line\n20\n0\n1\n0\n"},
      {"report off", 0, kErrFile, 40, 2, ""},
  };
  for (const Row& row : rows) {
    ResetRuntimeGlobalsForTests();
    debugReport = row.debug;
    if (row.line != 0) SetLinePosition(row.position, row.line);
    testing::internal::CaptureStdout();
    EXPECT_FATAL(row.code, FatalError(row.code));
    EXPECT_EQ(row.report, testing::internal::GetCapturedStdout()) << row.name;
    EXPECT_EQ(static_cast<f32>(row.line), errorLine) << row.name;
  }
}

TEST_F(EndProgramTest, HookCatchesEveryWayIntoTheEnd) {
  SetShutdownHandler([] { ADD_FAILURE() << "the hook must not release anything"; });
  EXPECT_FATAL(kErrRegularEnd, EndCommand());
  EXPECT_FATAL(kErrStorage, FatalError(kErrStorage));
  EXPECT_FATAL(kErrAppend, (SetRuntimeError(kErrAppend), EndProgram()));
  // A stored error is kept by a later regular end only until EndCommand stores 0.
  SetRuntimeError(kErrFile);
  EXPECT_FATAL(kErrRegularEnd, EndCommand());
}

TEST_F(EndProgramTest, LinePositionTakesPositionFirst) {
  SetLinePosition(7, 42);
  EXPECT_EQ(7.0f, currentPosition);
  EXPECT_EQ(42.0f, currentLine);
  SetRuntimeError(kErrIndex);
  EXPECT_EQ(42.0f, errorLine);
  EXPECT_EQ(kErrIndex, errorCode);
}

TEST_F(EndProgramTest, ExitStatusFollowsTheStoredCode) {
  const struct {
    f32 code;
    int status;
  } rows[] = {{0, 0}, {3, 3}, {7, 7}, {8, 8}, {9, 9}, {20, 20}, {256, 1}, {-3, 1}, {2.5f, 2}};
  for (const auto& row : rows) {
    EXPECT_EQ(row.status, ExitStatusForErrorCode(row.code)) << row.code;
  }
  for (f32 code : {kErrRegularEnd, kErrFile, kErrStorage, kErrIndex, kErrNoData}) {
    const ChildResult child = RunInChild([code] {
      InstallPrintingPlatform("/a/b/game");
      FatalError(code);
    });
    EXPECT_EQ(static_cast<int>(code), child.exitStatus) << code;
  }
}

TEST_F(EndProgramTest, SequenceInOrder) {
  const ChildResult child = RunInChild([] {
    InstallPrintingPlatform("/a/b/game");
    SetShutdownHandler(PrintRelease);
    SetExitWriteBackHandler(PrintWriteBack);
    debugReport = 1;
    SetLinePosition(5, 12);
    FatalError(kErrIndex);
  });
  EXPECT_EQ(9, child.exitStatus);
  EXPECT_EQ(std::string("-End On Line\n9\n11\n12\n5\n"
                        "release\n"
                        "write back\n"
                        "shell sync\n"
                        "chdir /a/b\n") +
                kLauncherAttempts,
            child.output);
}

TEST_F(EndProgramTest, RunsOnceWhenItsOwnExitRunsTheHandler) {
  const ChildResult child = RunInChild([] {
    InstallPrintingPlatform("/a/b/game");
    SetShutdownHandler(PrintRelease);
    atexit(EndProgramAtExit);  // a child process only: start-up's registration
    FatalError(kErrAppend);
  });
  EXPECT_EQ(8, child.exitStatus);
  EXPECT_EQ(1, CountOf(child.output, "release\n"));
  EXPECT_EQ(1, CountOf(child.output, "shell sync\n"));
}

TEST_F(EndProgramTest, ExitElsewhereRunsTheSequenceAndKeepsItsStatus) {
  const ChildResult child = RunInChild([] {
    InstallPrintingPlatform("/a/b/game");
    SetShutdownHandler(PrintRelease);
    atexit(EndProgramAtExit);
    std::exit(1);  // e.g. the video start-up failing
  });
  EXPECT_EQ(1, child.exitStatus);
  EXPECT_EQ(std::string("release\nshell sync\nchdir /a/b\n") + kLauncherAttempts, child.output);
}

TEST_F(EndProgramTest, SecondEntryNeverReturnsToItsCaller) {
  // A fatal error raised inside a release step: the end must not come back into that step, nor
  // lose the lines already buffered for a pipe.
  const ChildResult child = RunInChild([] {
    InstallPrintingPlatform("/a/b/game");
    SetShutdownHandler([] {
      std::puts("release");
      FatalError(kErrStorage);
      std::puts("returned into the release step");
    });
    FatalError(kErrIndex);
  });
  EXPECT_EQ(7, child.exitStatus);
  EXPECT_EQ("release\n", child.output);
}

TEST_F(EndProgramTest, SecondEntryDuringAnExitEndsAtOnce) {
  const ChildResult child = RunInChild([] {
    InstallPrintingPlatform("/a/b/game");
    SetShutdownHandler([] {
      std::puts("release");
      FatalError(kErrFile);
    });
    atexit(EndProgramAtExit);
    std::exit(1);
  });
  EXPECT_EQ(3, child.exitStatus);
  EXPECT_EQ("release\n", child.output);
}

TEST_F(EndProgramTest, SecondShutdownFindsNothingToRelease) {
  // The handler owns the releases; ShutdownRuntime just runs it and the SDL steps each time.
  static int calls = 0;
  calls = 0;
  SetShutdownHandler([] { ++calls; });
  ShutdownRuntime();
  ShutdownRuntime();
  EXPECT_EQ(2, calls);
}

// The launcher really replaces the process: a fake launcher in the executable's directory copies
// the report file, which shows that the report reached the file before the exec.
TEST_F(EndProgramTest, LauncherStartsAfterTheReportIsWritten) {
  ScopedTempDir dir;
  ASSERT_FALSE(dir.path().empty());
  const std::string launcher = dir.File("gp2xmenu.pge");
  ASSERT_TRUE(WriteFileBytes(launcher, "#!/bin/sh\ncat report.txt > seen.txt\npwd >> seen.txt\n"));
  ASSERT_EQ(0, chmod(launcher.c_str(), 0755));
  const std::string link = dir.File("game");
  const std::string report = dir.File("report.txt");

  const ChildResult child = RunInChild([&] {
    if (std::freopen(report.c_str(), "w", stdout) == nullptr) _exit(90);
    // Real directory change and exec; the link and the shell ("sync") are stand-ins.
    const PlatformOps real = Platform();
    InstallPrintingPlatform(link);
    Platform().changeDir = real.changeDir;
    Platform().execProgram = real.execProgram;
    debugReport = 1;
    SetLinePosition(0, 3);
    FatalError(kErrFile);
  });
  EXPECT_EQ(0, child.exitStatus);  // the launcher's status: it replaced the child
  const std::string directory = std::filesystem::canonical(dir.path()).string();
  EXPECT_EQ("-End On Line\n3\n2\n3\n0\nshell sync\n" + directory + "\n",
            ReadFileBytes(dir.File("seen.txt")));
}

}  // namespace
