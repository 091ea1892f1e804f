// Printing stand-ins for the platform calls of the end of program and the shell commands.
#include "tests/core/platform_recorder.h"

#include <cstdio>
#include <cstring>

#include "platform/platform_ops.h"

namespace {

std::string exeLinkText;
int shellAnswer = 0;

int PrintShell(const char* command) {
  std::printf("shell %s\n", command);
  return shellAnswer;
}

int PrintExec(const char* path, const char* argv0) {
  std::printf("exec %s %s\n", path, argv0);
  return -1;
}

int PrintChangeDir(const char* path) {
  std::printf("chdir %s\n", path);
  return 0;
}

long FakeExeLink(char* buffer, std::size_t size) {
  if (exeLinkText.empty()) return -1;
  const std::size_t count = exeLinkText.size() < size ? exeLinkText.size() : size;
  std::memcpy(buffer, exeLinkText.data(), count);
  return static_cast<long>(count);
}

}  // namespace

void InstallPrintingPlatform(const std::string& exeLink, int shellResult) {
  exeLinkText = exeLink;
  shellAnswer = shellResult;
  PlatformOps& ops = Platform();
  ops.runShell = PrintShell;
  ops.execProgram = PrintExec;
  ops.changeDir = PrintChangeDir;
  ops.readExeLink = FakeExeLink;
}
