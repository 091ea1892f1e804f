// The end of program: its report through the test hook, and its sequence, exit status and
// at-most-once rule in child processes, where it really ends or replaces the process.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "core/runtime_error.h"
#include "core/runtime_globals.h"
#include "platform/platform_ops.h"
#include "runtime/runtime_globals.h"
#include "tests/core/platform_recorder.h"
#include "tests/support/test_support.h"

namespace {

class EndProgramTest : public testing::Test {
 protected:
  void TearDown() override {
    ResetRuntimeGlobalsForTests();
    ResetPlatformOps();
    ResetEndProgramStateForTests();
    SetShutdownHandler(nullptr);
    SetExitWriteBackHandler(nullptr);
  }
};

const std::string kTail =
    "shell sync\nchdir /a/b\n"
    "exec gp2xmenu.pge gp2xmenu.gpe\nexec gp2xmenu.pgu gp2xmenu.gpu\nexec gp2xmenu gp2xmenu\n"
    "chdir /usr/gp2x\nexec gp2xmenu gp2xmenu\n";

void PrintRelease() { std::puts("release"); }

void FatalInRelease() {
  std::puts("release");
  FatalError(kErrStorage);
  std::puts("returned");
}

TEST_F(EndProgramTest, ReportAndStatusThroughTheHook) {
  const struct {
    i32 debug;
    f32 code;
    i32 line, position;
    const char* report;
  } rows[] = {
      {1, kErrRegularEnd, 0, 0, "-End On Line\n0\n-1\n0\n0\n"},  // no line ever set
      {1, kErrIndex, INT32_MIN, 3, "-End On Line\n9\n-2147483649\n-2147483648\n3\n"},
      {0, kErrFile, 40, 2, ""},
  };
  SetShutdownHandler([] { ADD_FAILURE() << "the hook must not release anything"; });
  for (const auto& row : rows) {
    debugReport = row.debug;
    SetLinePosition(row.position, row.line);
    testing::internal::CaptureStdout();
    EXPECT_FATAL(row.code, FatalError(row.code));
    EXPECT_EQ(row.report, testing::internal::GetCapturedStdout()) << row.code;
  }
  EXPECT_FATAL(kErrRegularEnd, EndCommand());  // over the stored kErrFile
  EXPECT_FATAL(kErrAppend, (SetRuntimeError(kErrAppend), EndProgram()));
  // Exit statuses are 8 bits wide: a failure must not read as 0 or as another code.
  for (const auto& [code, status] : {std::pair<f32, int>{20, 20}, {255.5f, 255}, {256, 1}, {-3, 1}}) {
    EXPECT_EQ(status, ExitStatusForErrorCode(code)) << code;
  }
}

TEST_F(EndProgramTest, SequenceRunsOnceAndNeverReturns) {
  const struct {
    const char* name;
    void (*release)();
    bool exitHandler;  // start-up's registration of the exit handler, in a child only
    void (*end)();
    int status;
    std::string output;
  } rows[] = {
      {"fatal error", PrintRelease, false, [] {
         SetExitWriteBackHandler([] { std::puts("write back"); });
         debugReport = 1;
         SetLinePosition(5, 12);
         FatalError(kErrIndex);
       }, 9, "-End On Line\n9\n11\n12\n5\nrelease\nwrite back\n" + kTail},
      {"regular end", PrintRelease, false, [] { EndCommand(); }, 0, "release\n" + kTail},
      {"its own exit enters the handler, which returns at once", PrintRelease, true, [] { FatalError(kErrAppend); },
       8, "release\n" + kTail},
      {"an exit started elsewhere keeps its status", PrintRelease, true, [] { std::exit(1); }, 1, "release\n" + kTail},
      {"a fatal error inside a release step does not return into it", FatalInRelease, false,
       [] { FatalError(kErrIndex); }, 7, "release\n"},
      {"the same inside an exit under way", FatalInRelease, true, [] { std::exit(1); }, 7, "release\n"},
  };
  for (const auto& row : rows) {
    const ChildResult child = RunInChild([&row] {
      InstallPrintingPlatform("/a/b/game");
      SetShutdownHandler(row.release);
      if (row.exitHandler) atexit(EndProgramAtExit);
      row.end();
    });
    EXPECT_EQ(row.status, child.exitStatus) << row.name;
    EXPECT_EQ(row.output, child.output) << row.name;
  }
}

// The launcher really replaces the process: a fake launcher in the executable's directory copies
// the report file, which shows that the report reached the file before the exec.
TEST_F(EndProgramTest, LauncherStartsAfterTheReportIsWritten) {
  ScopedTempDir dir;
  const std::string launcher = dir.File("gp2xmenu.pge"), link = dir.File("game"), report = dir.File("report.txt");
  ASSERT_TRUE(WriteFileBytes(launcher, "#!/bin/sh\ncat report.txt > seen.txt\npwd >> seen.txt\n"));
  ASSERT_EQ(0, chmod(launcher.c_str(), 0755));
  const ChildResult child = RunInChild([&] {
    if (std::freopen(report.c_str(), "w", stdout) == nullptr) _exit(90);
    const PlatformOps real = Platform();
    InstallPrintingPlatform(link);  // fake link and "sync"; real chdir and exec
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
