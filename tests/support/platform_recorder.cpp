// Printing stand-ins for the platform calls of the end of program and the shell commands.
#include "tests/support/test_support.h"

#include <cstdio>
#include <cstring>

#include "platform/platform_ops.h"

namespace {

std::string exeLinkText;

// Prints one line and answers `result`.
template <class... Args>
int Say(int result, const char* format, Args... args) {
  std::printf(format, args...);
  return result;
}

}  // namespace

void InstallPrintingPlatform(const std::string& exeLink) {
  exeLinkText = exeLink;
  PlatformOps& ops = Platform();
  ops.runShell = [](const char* command) { return Say(0, "shell %s\n", command); };
  ops.execProgram = [](const char* path, const char* argv0) {
    return Say(-1, "exec %s %s\n", path, argv0);
  };
  ops.changeDir = [](const char* path) { return Say(0, "chdir %s\n", path); };
  ops.readExeLink = [](char* buffer, std::size_t size) -> long {
    const std::size_t count = exeLinkText.size() < size ? exeLinkText.size() : size;
    std::memcpy(buffer, exeLinkText.data(), count);
    return static_cast<long>(count);
  };
}
