// The real operating-system calls behind the platform seam, and the temporary-folder rule.
// Anything that hands the process to another program (a shell, an exec) flushes the standard
// streams first: otherwise lines still buffered in this process are lost when stdout is a file or
// a pipe, or appear after the child's output.
#include "platform/platform_ops.h"

#include <SDL.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

void FlushStandardStreams() {
  std::fflush(stdout);
  std::fflush(stderr);
}

int RealRunShell(const char* command) {
  FlushStandardStreams();
  return std::system(command);
}

int RealExecProgram(const char* path, const char* argv0) {
  FlushStandardStreams();
  return execl(path, argv0, static_cast<char*>(nullptr));
}

int RealChangeDir(const char* path) { return chdir(path); }

long RealReadExeLink(char* buffer, std::size_t size) {
  char link[64];
  std::snprintf(link, sizeof link, "/proc/%d/exe", static_cast<int>(getpid()));
  return static_cast<long>(readlink(link, buffer, size));
}

const char* RealGetEnv(const char* name) { return std::getenv(name); }

void RealExitProcess(int status) { std::exit(status); }

u32 RealTicksMs() { return SDL_GetTicks(); }

void RealSleepNs(u64 seconds, u64 nanoseconds) {
  timespec wanted{};
  wanted.tv_sec = static_cast<time_t>(seconds);
  wanted.tv_nsec = static_cast<long>(nanoseconds);
  nanosleep(&wanted, nullptr);  // an interrupted sleep is not resumed
}

PlatformOps MakeRealOps() {
  PlatformOps ops{};
  ops.runShell = RealRunShell;
  ops.execProgram = RealExecProgram;
  ops.changeDir = RealChangeDir;
  ops.readExeLink = RealReadExeLink;
  ops.getEnv = RealGetEnv;
  ops.exitProcess = RealExitProcess;
  ops.ticksMs = RealTicksMs;
  ops.sleepNs = RealSleepNs;
  return ops;
}

bool IsWritableFolder(const char* path) {
  struct stat info {};
  return stat(path, &info) == 0 && S_ISDIR(info.st_mode) && access(path, W_OK) == 0;
}

}  // namespace

PlatformOps& Platform() {
  static PlatformOps ops = MakeRealOps();
  return ops;
}

void ResetPlatformOps() { Platform() = MakeRealOps(); }

std::string PlatformTempFolder() {
  const PlatformOps& ops = Platform();
  if (!ops.tempFolder.empty()) return ops.tempFolder;
  if (IsWritableFolder("/mnt/sd/")) return "/mnt/sd/";
  const char* tmp = ops.getEnv ? ops.getEnv("TMPDIR") : nullptr;
  if (tmp != nullptr && tmp[0] != '\0') {
    std::string folder(tmp);
    if (folder.back() != '/') folder += '/';
    return folder;
  }
  return "/tmp/";
}
