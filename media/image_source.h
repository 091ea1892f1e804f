// Where the bytes of an image come from and where a written image goes. A reader opens either a
// file (through the case-insensitive opener, mode "rb") or a "mem://" block and reads it in
// order from position 0. The two differ in one rule the image readers rely on: a field that a
// file cannot deliver whole fails, while a field cut by the end of a memory block reads as zeros.
#pragma once

#include <cstddef>
#include <cstdio>

#include "core/types.h"

class ImageSource {
 public:
  ImageSource() = default;
  ~ImageSource() { Close(); }
  ImageSource(const ImageSource&) = delete;
  ImageSource& operator=(const ImageSource&) = delete;

  // A "mem://" name opens its block, any other name the file; false when neither is there.
  bool Open(const char* name);
  // Reads the given bytes as if they were a memory block (they must outlive the source).
  void OpenBytes(const u8* bytes, size_t size);
  void Close();

  bool IsOpen() const { return file_ != nullptr || memory_ != nullptr; }
  bool IsMemory() const { return memory_ != nullptr; }
  i64 Size() const { return size_; }
  i64 Position() const { return position_; }
  i64 Remaining() const { return position_ < size_ ? size_ - position_ : 0; }

  // One field of n bytes; see the file/memory rule above.
  bool ReadField(void* dst, size_t n);
  // Up to n bytes; returns how many arrived.
  size_t ReadSome(void* dst, size_t n);
  // Moves forward over n bytes, as ReadField would.
  bool Skip(i64 n);

 private:
  std::FILE* file_ = nullptr;
  const u8* memory_ = nullptr;
  i64 size_ = 0;
  i64 position_ = 0;
};

// Opens a file for writing an image: refuses "mem://" names, removes the file, then opens it
// through the case-insensitive opener or else directly; prints "can't write to file: %s\n" and
// returns null when neither works.
std::FILE* OpenImageFileForWrite(const char* name);

// True for names that begin with "mem://".
bool IsMemoryName(const char* name);
