// Where the bytes of an image come from: a FileChannel opened on a file (through the
// case-insensitive opener) or on a "mem://" block, read in order from position 0. The two differ
// in one rule the image readers rely on: a field that a file cannot deliver whole fails, while a
// field cut by the end of a memory block reads as zeros.
#pragma once

#include <cstddef>

#include "core/types.h"
#include "files/file_channel.h"

class ImageSource {
 public:
  ImageSource() = default;
  ~ImageSource() { Close(); }
  ImageSource(const ImageSource&) = delete;
  ImageSource& operator=(const ImageSource&) = delete;

  // A "mem://" name opens its block, any other name the file; false when neither is there.
  bool Open(const char* name);
  void Close() { CloseFileChannel(&channel_); }

  i64 Remaining() const {
    return channel_.pos < channel_.memSize ? channel_.memSize - channel_.pos : 0;
  }

  // One field of n bytes; see the file/memory rule above.
  bool ReadField(void* dst, size_t n);
  // Up to n bytes; returns how many arrived.
  size_t ReadSome(void* dst, size_t n);
  // Moves forward over n bytes, as ReadField would.
  bool Skip(i64 n);

 private:
  FileChannel channel_;
};
