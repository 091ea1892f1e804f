// Opening, closing and line reading of FileChannels.
#include "files/file_channel.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "core/int_clamp.h"
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

// Where the line at the start of `window` ends. The window holds the next `count` bytes of the
// data, up to limit + 2 of them: enough to see the LF, or CR LF, that follows a text of exactly
// `limit` bytes, so that such a line (a full slot of the line file, written back) reads whole
// instead of as a piece and an empty line. `dataEnds` says the window reaches the end of the data.
struct LineCut {
  int textBytes;  // the bytes that go to the caller
  int consumed;   // the bytes the position moves over
};

LineCut CutLine(const char* window, int count, bool dataEnds, int limit) {
  const void* lf = std::memchr(window, '\n', static_cast<std::size_t>(count));
  if (lf != nullptr || dataEnds) {
    const int end = lf != nullptr ? static_cast<int>(static_cast<const char*>(lf) - window) : count;
    const int text = (end > 0 && window[end - 1] == '\r') ? end - 1 : end;
    if (text <= limit) return {text, lf != nullptr ? end + 1 : end};
  }
  return {limit, limit};  // a piece of a longer line, kept as it is; the rest comes next
}

int DeliverLine(const char* window, const LineCut& cut, char* buffer) {
  std::memcpy(buffer, window, static_cast<std::size_t>(cut.textBytes));
  buffer[cut.textBytes] = '\0';
  return 1;
}

// Reads ahead in chunks, stopping at the first LF, and sets the stream back to just after what
// the line used.
int ReadStreamLine(FileChannel* channel, char* buffer, int limit) {
  const int want = ClampToI32(i64{limit} + 2);
  std::string window(static_cast<std::size_t>(want), '\0');
  int got = 0;
  bool dataEnds = false;
  while (got < want) {
    const int chunk = std::min(kChunkBytes, want - got);
    const int n = static_cast<int>(
        std::fread(window.data() + got, 1, static_cast<std::size_t>(chunk), channel->fp));
    const bool sawLf = std::memchr(window.data() + got, '\n', static_cast<std::size_t>(n));
    got += n;
    if (n < chunk) dataEnds = true;
    if (sawLf || dataEnds) break;
  }
  if (got == 0) return 0;
  const LineCut cut = CutLine(window.data(), got, dataEnds, limit);
  channel->pos = static_cast<i32>(static_cast<i64>(channel->pos) + cut.consumed);
  std::fseek(channel->fp, channel->pos, SEEK_SET);  // give back what was read ahead
  return DeliverLine(window.data(), cut, buffer);
}

int ReadMemoryLine(FileChannel* channel, char* buffer, int limit) {
  if (channel->pos < 0 || channel->pos >= channel->memSize) return 0;
  const int remaining = channel->memSize - channel->pos;
  const int count = static_cast<int>(std::min<i64>(i64{limit} + 2, remaining));
  const char* window = reinterpret_cast<const char*>(channel->memData) + channel->pos;
  const LineCut cut = CutLine(window, count, count == remaining, limit);
  channel->pos += cut.consumed;
  return DeliverLine(window, cut, buffer);
}

}  // namespace

i32 StreamSize(std::FILE* fp) {
  const long here = std::ftell(fp);
  std::fseek(fp, 0, SEEK_END);
  const long size = std::ftell(fp);
  std::fseek(fp, here < 0 ? 0 : here, SEEK_SET);
  return size < 0 ? 0 : ClampToI32(size);
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
