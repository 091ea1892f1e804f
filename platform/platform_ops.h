// The seam between the runtime and the operating system it was made for. Every call that would
// end the process, replace it, run a shell, change directory, read the clock or sleep, and every
// handheld-only device path, goes through this table. The defaults are the real calls; tests swap
// in recorders and fake clocks, and a desktop simply finds the handheld's devices absent.
// The real shell and exec flush stdout and stderr first, so no buffered line is lost or reordered
// when another program takes over the process or shares its output.
#pragma once

#include <cstddef>
#include <string>

#include "core/types.h"

struct PlatformOps {
  int (*runShell)(const char* command);                     // system(); -1 when no shell starts
  int (*execProgram)(const char* path,
                     const char* argv0);  // execl(path, argv0, NULL); returns only on failure
  int (*changeDir)(const char* path);                       // chdir()
  // Reads the link "/proc/<pid>/exe" into buffer; the byte count, or -1 (readlink semantics).
  long (*readExeLink)(char* buffer, std::size_t size);
  const char* (*getEnv)(const char* name);                  // getenv()
  void (*exitProcess)(int status);  // exit(); a test replacement may return, callers then _exit
  u32 (*ticksMs)();                                         // SDL_GetTicks()
  void (*sleepNs)(u64 seconds, u64 nanoseconds);  // nanosleep(), not resumed when interrupted

  // Handheld devices; absent on a desktop, which the runtime reports and carries on.
  std::string gpioPath = "/dev/GPIO";
  std::string batteryPath = "/dev/batt";
  std::string adcPath = "/dev/mmsp2adc";
  std::string diskPath = "/dev/hda";

  // Folder for files unpacked from packs, with a trailing '/'. Empty means the default:
  // "/mnt/sd/" when it exists and is writable, else $TMPDIR, else "/tmp/".
  std::string tempFolder;
};

PlatformOps& Platform();          // the current table
void ResetPlatformOps();          // back to the real calls (tests)
std::string PlatformTempFolder(); // tempFolder, or the default rule above
