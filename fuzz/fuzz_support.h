// What every fuzz target needs around the reader it drives: a private folder for its files (names
// looked up there meet no file of the machine), inputs handed over as "mem://" blocks or as files,
// the end of program turned into an exception the target catches, and the check that reports a
// broken promise.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>

#include "core/types.h"
#include "files/memory_block.h"

// Thrown in place of the end of program; carries the stored error code.
struct FuzzProgramEnd {
  f32 code;
};

// Called first by every target: on the first call creates the private folder, points the
// resolver's unpack folder there, creates both resolver contexts and installs the
// throwing end-of-program hook; on every call clears the stored error.
void BeginFuzzInput();

// Makes the private folder the working folder for the scope, for readers that open fixed names;
// the working folder before is back afterwards (the fuzzing engine names its files relatively).
class InFuzzFolder {
 public:
  InFuzzFolder();
  ~InFuzzFolder();
  InFuzzFolder(const InFuzzFolder&) = delete;
  InFuzzFolder& operator=(const InFuzzFolder&) = delete;

 private:
  int previous_;
};

// A path inside the private folder.
std::string FuzzPath(const std::string& name);
// Writes the bytes to FuzzPath(name) and returns that path.
std::string WriteFuzzFile(const std::string& name, const u8* data, std::size_t size);
// The whole file, or nullopt when it does not open.
std::optional<std::string> ReadWholeFile(const std::string& path);

// Runs fn; the error code when it ended the program, else nullopt.
template <class Fn>
std::optional<f32> CatchProgramEnd(Fn&& fn) {
  try {
    fn();
  } catch (const FuzzProgramEnd& end) {
    return end.code;
  }
  return std::nullopt;
}

// A copy of the input in a block of exactly its size, named as a memory file, so that a read one
// byte past its end is caught by AddressSanitizer.
class MemoryFile {
 public:
  MemoryFile(const u8* data, std::size_t size);
  const char* Name() const { return name_.c_str(); }
  const u8* Data() const { return bytes_.get(); }
  std::size_t Size() const { return size_; }

 private:
  std::unique_ptr<u8[]> bytes_;
  std::size_t size_;
  std::string name_;
};

// A copy of the input in a registered block of exactly its size, as the resolver hands out for
// pack entries: the readers that read only live blocks accept its name (LiveMemoryName).
SharedMemoryBlock LiveMemoryBlock(const void* data, std::size_t size);
std::string LiveMemoryName(const SharedMemoryBlock& block);

// Reads an input from the front: fields for the target's own choices, then the rest as data.
// Fields past the end read as 0.
class FuzzBytes {
 public:
  FuzzBytes(const u8* data, std::size_t size) : data_(data), size_(size) {}
  u8 Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  u16 Word() {
    const u8 low = Byte();  // two statements: the order of the reads must not be left open
    return static_cast<u16>(low | (Byte() << 8));
  }
  const u8* Rest() const { return data_ + pos_; }
  std::size_t RestSize() const { return size_ - pos_; }

 private:
  const u8* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

// A broken promise: prints where and what, then aborts (a finding for both engines).
[[noreturn]] void FuzzFailure(const char* file, int line, const char* what);

#define FUZZ_CHECK(condition, what)                            \
  do {                                                         \
    if (!(condition)) FuzzFailure(__FILE__, __LINE__, (what)); \
  } while (0)
