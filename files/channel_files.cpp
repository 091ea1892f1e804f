// The commands that work on a file by name: its size, whether it exists, copying it. They open
// the name directly (exact, case-insensitive or "mem://"), without the pack.
#include <cstdio>
#include <cstring>

#include "files/channel_table.h"
#include "files/file_open.h"
#include "files/memory_name.h"

namespace {

constexpr std::size_t kCopyChunk = 4096;

// Reads the next chunk of a source: a file must deliver it whole, a memory block gives what it
// has up to its size.
bool ReadChunk(FileChannel& source, u8* into, std::size_t count) {
  if (source.fp != nullptr) return std::fread(into, 1, count, source.fp) == count;
  const i64 left = static_cast<i64>(source.memSize) - source.pos;
  if (source.pos < 0 || left < static_cast<i64>(count)) return false;
  std::memcpy(into, source.memData + source.pos, count);
  source.pos += static_cast<i32>(count);
  return true;
}

bool CopyAll(FileChannel& source, std::FILE* destination) {
  u8 chunk[kCopyChunk];
  std::size_t left = source.memSize > 0 ? static_cast<std::size_t>(source.memSize) : 0;
  while (left > 0) {
    const std::size_t n = left < kCopyChunk ? left : kCopyChunk;
    if (!ReadChunk(source, chunk, n) || std::fwrite(chunk, 1, n, destination) != n) return false;
    left -= n;
  }
  return true;
}

}  // namespace

i32 GetFileSize(const DynString& name) {
  FileChannel record;
  if (!OpenFileChannelRead(&record, name.CStr())) return 0;
  const i32 size = record.memSize;
  CloseFileChannel(&record);
  return size;
}

f32 FileExists(const DynString& name) {
  FileChannel record;
  const int opened = OpenFileChannelRead(&record, name.CStr());
  CloseFileChannel(&record);
  return opened ? 1.0f : 0.0f;
}

void CopyFileContents(const DynString& source, const DynString& destination) {
  FileChannel from;
  if (!OpenFileChannelRead(&from, source.CStr())) return;
  if (IsMemoryName(destination.CStr())) {
    CloseFileChannel(&from);
    return;
  }
  std::FILE* to = CreateFileForWriting(destination.CStr());
  if (to == nullptr) {
    CloseFileChannel(&from);
    return;
  }
  const bool copied = CopyAll(from, to);
  const bool closed = std::fclose(to) == 0;
  CloseFileChannel(&from);
  // A copy that went wrong half way leaves no destination rather than a cut one.
  if (!copied || !closed) std::remove(destination.CStr());
}
