// Shared test helpers: fatal-error expectations through the end-of-program test hook, running a
// function in a child process (for the real end of program, or with little memory) over a
// printing platform, temporary folders, a fake clock, files and texts as exact bytes,
// little-endian fields of hand-made files, and a tiny WAV file.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "core/dyn_string.h"
#include "core/types.h"

// Thrown by the test hook of EndProgram; carries the stored error code.
struct FatalEndForTests {
  f32 code;
};

// Installs the throwing end-of-program hook for the current scope.
class ScopedFatalHook {
 public:
  ScopedFatalHook();
  ~ScopedFatalHook();
};

// EXPECT_FATAL(code, statement): the statement ends the program with that error code.
#define EXPECT_FATAL(expected_code, statement)                                      \
  do {                                                                              \
    ScopedFatalHook stakko_fatal_hook_;                                             \
    bool stakko_fatal_seen_ = false;                                                \
    try {                                                                           \
      statement;                                                                    \
    } catch (const FatalEndForTests& stakko_fatal_end_) {                           \
      stakko_fatal_seen_ = true;                                                    \
      EXPECT_EQ(static_cast<f32>(expected_code), stakko_fatal_end_.code)            \
          << "statement: " #statement;                                              \
    }                                                                               \
    EXPECT_TRUE(stakko_fatal_seen_) << "no end of program from: " #statement;       \
  } while (0)

// Runs fn in a forked child with stdout captured; the child exits with status 0 after fn unless
// fn ends the process itself.
struct ChildResult {
  int exitStatus = -1;     // WEXITSTATUS, or 128 + signal number
  std::string output;      // everything the child wrote to stdout
};
ChildResult RunInChild(const std::function<void()>& fn);

// RunInChild with the child's address space limited to what it already uses plus headroomBytes,
// so that a larger allocation fails there. Not for the sanitizer build, whose runtime reserves
// its address space up front and ends the process when an allocation fails.
ChildResult RunInChildWithMemoryHeadroom(std::size_t headroomBytes,
                                         const std::function<void()>& fn);
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kSanitizerBuild = true;
#else
inline constexpr bool kSanitizerBuild = false;
#endif

// Replaces the platform calls that end, replace or move the process with stand-ins that print
// one line per call on stdout ("shell sync", "chdir /a/b", "exec path argv0"), so a test sees the
// order of a whole sequence in a child's output. exeLink is what reading the executable's link
// gives; execs fail (-1), directory changes and the shell succeed (0).
void InstallPrintingPlatform(const std::string& exeLink);

// A fresh folder under the system temp folder, removed with its contents at scope end.
class ScopedTempDir {
 public:
  ScopedTempDir();
  ~ScopedTempDir();
  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// Replaces the platform clock and sleep: time moves only on every sleep, by the slept amount, and
// by `stepPerReadMs` on every read.
class ScopedFakeClock {
 public:
  explicit ScopedFakeClock(u32 startMs = 1000, u32 stepPerReadMs = 0);
  ~ScopedFakeClock();
  u32 Now() const;
  u64 SleptNs() const;  // total asked of sleep
};

// Writes bytes to a file; returns false on failure.
bool WriteFileBytes(const std::string& path, const std::string& bytes);
std::string ReadFileBytes(const std::string& path);

// Texts with every byte kept, NULs included.
inline DynString TextOf(std::string_view bytes) {
  return DynString::FromBytes(bytes.data(), static_cast<u32>(bytes.size()));
}
inline std::string BytesOf(const DynString& s) { return std::string(s.data, s.length); }

// The low `bytes` bytes of v, least significant first.
inline std::string LE(u64 v, int bytes) {
  std::string s;
  for (int i = 0; i < bytes; ++i) s += static_cast<char>(v >> (8 * i));
  return s;
}

// A PCM WAV file: 16-bit mono at 22050 Hz, a quiet square wave of the given length.
inline std::string WavBytes(u32 milliseconds) {
  const u32 rate = 22050;
  const u32 samples = rate * milliseconds / 1000;
  const u32 dataBytes = samples * 2;
  // PCM, mono, the rate, bytes a second, bytes a frame, bits.
  std::string out = "RIFF" + LE(36 + dataBytes, 4) + "WAVEfmt " + LE(16, 4) + LE(1, 2) + LE(1, 2) +
                    LE(rate, 4) + LE(rate * 2, 4) + LE(2, 2) + LE(16, 2) + "data" +
                    LE(dataBytes, 4);
  for (u32 i = 0; i < samples; ++i) out += LE((i / 50) % 2 == 0 ? 0x0400 : 0xFC00, 2);
  return out;
}
