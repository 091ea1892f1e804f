// FileChannel: one read handle over either a stdio file or a block in memory (a "mem://" name),
// with a read position. The numbered channels hold one each, and loaders fill their own. The
// basic operations here open a name for reading, close, and read one line; lines end at LF with a
// CR before it dropped, and a line longer than the buffer comes in pieces.
#pragma once

#include <cstdio>

#include "core/types.h"
#include "files/memory_block.h"

struct FileChannel {
  std::FILE* fp = nullptr;         // the open stream; null when closed or reading memory
  const u8* memData = nullptr;     // the memory block being read; never freed by the channel
  i32 memSize = 0;                 // size of the block, or of the file when it was opened
  i32 pos = 0;                     // read position from the start
  SharedMemoryBlock memBlock;      // keeps a resolver block alive while the channel reads it
};

// Opens `name` (a path, or a "mem://" name) for reading: 1 when open, else 0.
int OpenFileChannelRead(FileChannel* channel, const char* name);
// Closes the stream, if any, and clears every field.
void CloseFileChannel(FileChannel* channel);
// Reads one line into buffer (terminated): whole when its text, without the LF or CR LF that ends
// it, fits in maxBytes - 1 bytes, else a piece of maxBytes - 1 bytes with the rest to follow.
// 1 when something was read; 0 at the end of the data or when nothing is open.
int ReadFileChannelLine(FileChannel* channel, char* buffer, int maxBytes);
// The size of an open stream (seek to the end and back), clamped to the i32 range.
i32 StreamSize(std::FILE* fp);
