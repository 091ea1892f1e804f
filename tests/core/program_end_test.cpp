// Leaving and replacing the program: the end of program (its report through the test hook, its
// sequence, exit status and at-most-once rule in child processes), the shell command and running
// another program, the executable's directory, the temporary-folder rule of the platform seam,
// and calls by name and external functions.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "core/call_by_name.h"
#include "core/exe_path.h"
#include "core/program_services.h"
#include "core/runtime_error.h"
#include "core/runtime_globals.h"
#include "platform/platform_ops.h"
#include "runtime/runtime_globals.h"
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

TEST_F(EndProgramTest, ReportStatusSequenceAndTheLauncherAfterTheReport) {
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
  for (const auto& [code, status] :
       {std::pair<f32, int>{20, 20}, {255.5f, 255}, {256, 1}, {-3, 1}}) {
    EXPECT_EQ(status, ExitStatusForErrorCode(code)) << code;
  }
  // The whole sequence in child processes: it runs once and never returns.
  const struct {
    const char* name;
    void (*release)();
    bool exitHandler;  // start-up's registration of the exit handler, in a child only
    void (*end)();
    int status;
    std::string output;
  } ends[] = {
      {"fatal error", PrintRelease, false,
       [] {
         SetExitWriteBackHandler([] { std::puts("write back"); });
         debugReport = 1;
         SetLinePosition(5, 12);
         FatalError(kErrIndex);
       },
       9, "-End On Line\n9\n11\n12\n5\nrelease\nwrite back\n" + kTail},
      {"regular end", PrintRelease, false, [] { EndCommand(); }, 0, "release\n" + kTail},
      {"its own exit enters the handler, which returns at once", PrintRelease, true,
       [] { FatalError(kErrAppend); }, 8, "release\n" + kTail},
      {"an exit started elsewhere keeps its status", PrintRelease, true, [] { std::exit(1); }, 1,
       "release\n" + kTail},
      {"a fatal error inside a release step does not return into it", FatalInRelease, false,
       [] { FatalError(kErrIndex); }, 7, "release\n"},
      {"the same inside an exit under way", FatalInRelease, true, [] { std::exit(1); }, 7,
       "release\n"},
  };
  for (const auto& row : ends) {
    const ChildResult child = RunInChild([&row] {
      InstallPrintingPlatform("/a/b/game");
      SetShutdownHandler(row.release);
      if (row.exitHandler) atexit(EndProgramAtExit);
      row.end();
    });
    EXPECT_EQ(row.status, child.exitStatus) << row.name;
    EXPECT_EQ(row.output, child.output) << row.name;
  }
  SetShutdownHandler(nullptr);
  // The launcher really replaces the process: a fake launcher in the executable's directory copies
  // the report file, which shows that the report reached the file before the exec.
  ScopedTempDir dir;
  const std::string launcher = dir.File("gp2xmenu.pge"), link = dir.File("game"),
                    report = dir.File("report.txt");
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

std::string linkText;
long linkResult = 0;  // what the fake read reports; -2: the length of linkText
const char* underscore = nullptr;
const char* tmpdirValue = nullptr;
std::string lastCommand;

TEST(ShellCommand, ProgramStartExecutablePathAndTemporaryFolder) {
  Platform().runShell = [](const char* command) {
    lastCommand = command;
    return 256;  // what system() gives for a command that exits with status 1
  };
  const struct {
    const char* command;
    f32 wait;
    const char* after;
  } commands[] = {{"ls", 0.0f, "ls &"},
                  {"ls", -0.0f, "ls &"}, {"ls", 0.5f, "ls"}, {"echo a&b", 0.0f, "echo a&b &"},
                  {"ls &  ", 0.0f, "ls &  "}};  // no "ls & &" on a rerun
  for (const auto& row : commands) {
    DynString command(row.command);
    f32 result = 0.0f;
    EXPECT_EQ(1.0f, RunShellCommand(command, row.wait, 0.0f, result));
    EXPECT_STREQ(row.after, command.CStr()) << row.command;
    EXPECT_EQ(row.after, lastCommand);
    EXPECT_EQ(256.0f, result);
  }
  ResetPlatformOps();
  const ChildResult shell = RunInChild([] {  // a real shell: what was printed before comes first
    std::printf("printed first\n");
    Platform().runShell("echo then the shell");
  });
  EXPECT_EQ("printed first\nthen the shell\n", shell.output);
  // Another program that fails to start: the program ends with 0 after releasing.
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
  // The executable's path: the link and its fall-backs, and its directory.
  const char* cuts[][2] = {
      {"/a/b/game", "/a/b"},      {"/a/b/", "/a/b"}, {"game", "game"}, {"/game", "/game"},
      {"a\\b\\game.exe", "a\\b"}, {"a/b\\c", "a/b"}, {"./", "."},      {"", ""}};
  for (const auto& row : cuts) EXPECT_EQ(row[1], CutToDirectory(row[0])) << row[0];
  ScopedTempDir dir;
  const std::string file = dir.File("game");
  ASSERT_TRUE(WriteFileBytes(file, "x"));
  const std::string resolved = std::filesystem::canonical(file).string();
  std::string deep = dir.path();  // a path longer than the runtime's 1024-character buffer
  while (deep.size() < 1100)
    ASSERT_EQ(0, mkdir((deep += "/" + std::string(200, 'd')).c_str(), 0700));
  ASSERT_TRUE(WriteFileBytes(deep += "/game", "x"));
  const std::string missing = dir.File("missing"), longest = "/" + std::string(1021, 'y');

  Platform().readExeLink = [](char* buffer, std::size_t size) -> long {
    if (linkResult != -2) return linkResult;
    const std::size_t count = std::min(linkText.size(), size);
    std::memcpy(buffer, linkText.data(), count);
    return static_cast<long>(count);
  };
  Platform().getEnv = [](const char* name) {
    return std::strcmp(name, "_") == 0 ? underscore : nullptr;
  };
  const struct {
    long result;
    std::string link;
    const char* env;
    std::string expected;
  } links[] = {
      {-2, longest, file.c_str(), longest},                    // the longest link that fits
      {-2, std::string(1023, 'x'), file.c_str(), resolved},  // fills the buffer: taken as cut off
      {-1, "", file.c_str(), resolved},  {0, "", file.c_str(), resolved},
      {-1, "", nullptr, "./"},           {-1, "", missing.c_str(), "./"},
      {-1, "", deep.c_str(), "./"},  // resolves longer than the buffer
  };
  for (const auto& row : links) {
    linkResult = row.result;
    linkText = row.link;
    underscore = row.env;
    EXPECT_EQ(row.expected, ReadExecutablePath())
        << row.link.size() << " " << (row.env ? row.env : "unset");
  }
  ResetPlatformOps();
  EXPECT_NE(std::string::npos, ReadExecutablePath().find("/test_core"));  // the real link
  // The temporary-folder rule of the platform seam.
  if (access("/mnt/sd/", W_OK) == 0) GTEST_SKIP() << "a writable /mnt/sd/ takes precedence";
  Platform().getEnv = [](const char* name) {
    return std::strcmp(name, "TMPDIR") == 0 ? tmpdirValue : nullptr;
  };
  const char* folders[][3] = {{"/data/unpack/", "/x", "/data/unpack/"},
                              {"", "/var/tmp", "/var/tmp/"}, {"", "/var/tmp/", "/var/tmp/"},
                              {"", "", "/tmp/"},
                              {"", nullptr, "/tmp/"}};
  for (const auto& row : folders) {
    Platform().tempFolder = row[0];
    tmpdirValue = row[1];
    EXPECT_EQ(row[2], PlatformTempFolder()) << row[0] << " / " << (row[1] ? row[1] : "unset");
  }
  ResetPlatformOps();
}

int calls = 0;

template <class Fn>
std::string Output(Fn fn) {
  testing::internal::CaptureStdout();
  fn();
  return testing::internal::GetCapturedStdout();
}

TEST(CallByName, SearchesTheProgramTableExactlyAndExternalFunctionsByModule) {
  static const CallableFunction entries[] = {{[] { calls += 1; }, "Tick"},
                                             {nullptr, "Empty"},
                                             {[] { calls += 10; }, "Tick"},
                                             {[] { calls += 100; }, "Last"}};
  RegisterProgramServices(
      ProgramServices{[] { return DynString("test"); }, {entries, 3}});  // stops before "Last"
  EXPECT_EQ("test", std::string(GetBuildStamp().CStr()));
  for (const char* name : {"Tick", "tick", "Empty", "Last"}) {
    calls = 0;
    f32 result = -1;
    const std::string out = Output([&] { result = CallByName(DynString(name)); });
    const bool found = std::string(name) == "Tick";
    EXPECT_EQ(found ? 1.0f : 0.0f, result) << name;
    EXPECT_EQ(found ? 1 : 0, calls) << name;
    EXPECT_EQ(found ? "" : "CALLBYNAME \"" + std::string(name) + "\" *** failed ***\n", out);
  }
  EXPECT_EQ(nullptr, LookupFunctionByName(DynString::FromBytes("Tick\0x", 6)));
  RegisterProgramServices(ProgramServices{nullptr, {nullptr, 3}});  // taken as empty
  EXPECT_EQ(0, GetCallableTable().count);
  ResetProgramServicesForTests();
  void* result = &result;
  DynString module("SDL");
  EXPECT_EQ("DECLARE module not found: sdl\n",
            Output([&] { DeclareExternalFunction(module, DynString("SDL_Init"), &result); }));
  EXPECT_EQ(nullptr, result);
  void* libm = dlopen("libm.so.6", RTLD_NOW);
  ASSERT_NE(nullptr, libm);
  loadedLibraries.handles.Append(libm);
  loadedLibraries.names.Append(DynString("libm"));
  module.AssignCString("LibM");
  EXPECT_EQ("", Output([&] { DeclareExternalFunction(module, DynString("cos"), &result); }));
  EXPECT_EQ(dlsym(libm, "cos"), result);
  UnloadSharedLibraries();
  UnloadSharedLibraries();
  EXPECT_EQ(0, loadedLibraries.handles.count + loadedLibraries.names.count);
}

}  // namespace
