// Opening, closing and line reading of FileChannels.
#include "files/file_channel.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "files/file_open.h"
#include "files/memory_name.h"

namespace {

constexpr int kChunkBytes = 64;

// Opens a "mem://" name. A block that the resolver handed out is held for the channel's life,
// and the channel never reads beyond it.
int OpenMemoryChannel(FileChannel* channel, const char* name) {
  MemoryName parsed;
  if (!ParseMemoryName(name, parsed)) return 0;
  channel->memBlock = FindMemoryBlock(parsed.address);
  channel->memData = parsed.address;
  channel->memSize = parsed.size;
  if (channel->memBlock && static_cast<u32>(parsed.size) > channel->memBlock->Size()) {
    channel->memSize = static_cast<i32>(channel->memBlock->Size());
  }
  channel->pos = 0;
  return 1;
}

// Ends a line at buffer[end], dropping a CR just before it.
void TerminateLine(char* buffer, int end) {
  if (end > 0 && buffer[end - 1] == '\r') --end;
  buffer[end] = '\0';
}

int ReadStreamLine(FileChannel* channel, char* buffer, int limit) {
  const i64 start = channel->pos;
  int got = 0;
  while (got < limit) {
    const int want = std::min(kChunkBytes, limit - got);
    const int n = static_cast<int>(std::fread(buffer + got, 1, static_cast<std::size_t>(want),
                                              channel->fp));
    if (n == 0) break;
    if (const void* lf = std::memchr(buffer + got, '\n', static_cast<std::size_t>(n))) {
      const int at = static_cast<int>(static_cast<const char*>(lf) - buffer);
      TerminateLine(buffer, at);
      channel->pos = static_cast<i32>(start + at + 1);
      std::fseek(channel->fp, channel->pos, SEEK_SET);  // give back what was read ahead
      return 1;
    }
    got += n;
    channel->pos = static_cast<i32>(start + got);
  }
  if (got == 0) return 0;
  if (got == limit) {
    buffer[got] = '\0';  // a piece of a longer line: nothing dropped
  } else {
    TerminateLine(buffer, got);  // the data ended before a line feed
  }
  return 1;
}

int ReadMemoryLine(FileChannel* channel, char* buffer, int limit) {
  if (channel->pos < 0 || channel->pos >= channel->memSize) return 0;
  const int available = std::min(limit, channel->memSize - channel->pos);
  const char* from = reinterpret_cast<const char*>(channel->memData) + channel->pos;
  const void* lf = std::memchr(from, '\n', static_cast<std::size_t>(available));
  const int length = lf ? static_cast<int>(static_cast<const char*>(lf) - from) : available;
  std::memcpy(buffer, from, static_cast<std::size_t>(length));
  if (lf != nullptr) {
    TerminateLine(buffer, length);
    channel->pos += length + 1;
  } else if (length == limit) {
    buffer[length] = '\0';
    channel->pos += length;
  } else {
    TerminateLine(buffer, length);
    channel->pos += length;
  }
  return 1;
}

}  // namespace

i32 StreamSize(std::FILE* fp) {
  const long here = std::ftell(fp);
  std::fseek(fp, 0, SEEK_END);
  const long size = std::ftell(fp);
  std::fseek(fp, here < 0 ? 0 : here, SEEK_SET);
  if (size < 0) return 0;
  return static_cast<i32>(std::min<long>(size, std::numeric_limits<i32>::max()));
}

int OpenFileChannelRead(FileChannel* channel, const char* name) {
  if (channel == nullptr) return 0;
  CloseFileChannel(channel);
  if (name == nullptr) return 0;
  if (IsMemoryName(name)) return OpenMemoryChannel(channel, name);
  channel->fp = FopenCase(name, "rb");
  channel->pos = 0;
  if (channel->fp == nullptr) return 0;
  channel->memSize = StreamSize(channel->fp);
  return 1;
}

void CloseFileChannel(FileChannel* channel) {
  if (channel == nullptr) return;
  if (channel->fp != nullptr) std::fclose(channel->fp);
  channel->fp = nullptr;
  channel->memData = nullptr;
  channel->memSize = 0;
  channel->pos = 0;
  channel->memBlock.reset();
}

int ReadFileChannelLine(FileChannel* channel, char* buffer, int maxBytes) {
  // A buffer without room for one byte and the terminator could never make progress.
  if (channel == nullptr || buffer == nullptr || maxBytes < 2) return 0;
  if (channel->fp != nullptr) return ReadStreamLine(channel, buffer, maxBytes - 1);
  if (channel->memData != nullptr) return ReadMemoryLine(channel, buffer, maxBytes - 1);
  return 0;
}
