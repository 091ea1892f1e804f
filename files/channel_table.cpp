// The numbered channels: opening, closing, positioning, and the value, text and line transfers.
#include "files/channel_table.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "core/byte_order.h"
#include "core/int_clamp.h"
#include "core/runtime_error.h"
#include "core/runtime_globals.h"
#include "files/file_open.h"
#include "files/file_resolver.h"
#include "files/memory_name.h"

namespace {

// Raw texts are read from files in slices, so a huge count allocates no more than the file gives.
constexpr std::size_t kStringSlice = 64 * 1024;

FileChannel& Checked(u32 channel) {
  if (channel >= kChannelCount) FatalError(kErrStorage);
  return channelTable.channels[channel];
}

// Writes a block whole to a stream channel; anything else ends the program with error 3.
void WriteBytes(u32 channel, const void* bytes, std::size_t count) {
  FileChannel& ch = Checked(channel);
  if (ch.fp == nullptr) FatalError(kErrFile);
  if (count == 0) return;
  if (std::fwrite(bytes, 1, count, ch.fp) != count) FatalError(kErrFile);
}

// Reads w bytes (1 to 8). A file must deliver all of them. A memory block delivers what it has
// and reads as zero beyond its end; a position outside the block is error 3.
void ReadBytes(u32 channel, u8* into, i32 w) {
  FileChannel& ch = Checked(channel);
  std::memset(into, 0, static_cast<std::size_t>(w));
  if (ch.fp != nullptr) {
    ch.pos = ClampToI32(static_cast<i64>(ch.pos) + w);
    if (std::fread(into, 1, static_cast<std::size_t>(w), ch.fp) != static_cast<std::size_t>(w)) {
      FatalError(kErrFile);
    }
    return;
  }
  if (ch.memData == nullptr || ch.pos < 0) FatalError(kErrFile);
  const i64 n = std::min<i64>(w, static_cast<i64>(ch.memSize) - ch.pos);
  if (n < 0) FatalError(kErrFile);
  std::memcpy(into, ch.memData + ch.pos, static_cast<std::size_t>(n));
  ch.pos += static_cast<i32>(n);
}

void WriteLine(u32 channel, const char* text, std::size_t length) {
  WriteBytes(channel, text, length);
  WriteBytes(channel, "\r\n", 2);
}

// A text becomes the bytes up to its first zero byte.
void AssignUpToZero(DynString& text, const char* bytes, std::size_t count) {
  text = DynString::FromBytes(bytes, static_cast<u32>(strnlen(bytes, count)));
}

std::string ReadFileString(FileChannel& ch, i32 count) {
  ch.pos = ClampToI32(static_cast<i64>(ch.pos) + count);
  std::string bytes;
  std::size_t left = static_cast<std::size_t>(count);
  while (left > 0) {
    const std::size_t slice = std::min(left, kStringSlice);
    const std::size_t have = bytes.size();
    bytes.resize(have + slice);
    if (std::fread(bytes.data() + have, 1, slice, ch.fp) != slice) FatalError(kErrFile);
    left -= slice;
  }
  return bytes;
}

std::string ReadMemoryString(FileChannel& ch, i32 count) {
  if (ch.memData == nullptr || ch.pos < 0) FatalError(kErrFile);
  const i64 n = std::min<i64>(count, static_cast<i64>(ch.memSize) - ch.pos);
  if (n < 0) FatalError(kErrFile);
  // The zero-filled tail a short block leaves cannot change a text that ends at its first zero.
  std::string bytes(reinterpret_cast<const char*>(ch.memData) + ch.pos,
                    static_cast<std::size_t>(n));
  ch.pos += static_cast<i32>(n);
  return bytes;
}

}  // namespace

i32 OpenFileChannel(u32 channel, const DynString& name, i32 mode) {
  FileChannel& ch = Checked(channel);
  CloseFileChannel(&ch);
  const char* text = name.CStr();
  if (mode > 0) {
    char path[kResolvedPathSize];
    if (name.Length() >= kResolvedPathSize) return 0;
    std::memcpy(path, text, name.Length() + 1);
    ResolveFile(generalResolver, text, path, true);
    return OpenFileChannelRead(&ch, path);
  }
  if (IsMemoryName(text)) return 0;
  ch.fp = mode == 0 ? CreateFileForWriting(text) : FopenCase(text, "ab");
  return ch.fp != nullptr ? 1 : 0;
}

void CloseChannel(u32 channel) { CloseFileChannel(&Checked(channel)); }

void CloseAllChannels() {
  for (u32 i = 0; i < kChannelCount; ++i) CloseFileChannel(&channelTable.channels[i]);
}

void DestroyChannelTable() {
  for (u32 i = kChannelCount; i-- > 0;) CloseFileChannel(&channelTable.channels[i]);
}

void WriteChannelInt8(u32 channel, i32 value) {
  const u8 byte = static_cast<u8>(value);
  WriteBytes(channel, &byte, 1);
}
void WriteChannelUInt8(u32 channel, i32 value) { WriteChannelInt8(channel, value); }

void WriteChannelInt16(u32 channel, i32 value) {
  u8 bytes[2];
  WriteLE16(bytes, static_cast<u32>(value));
  WriteBytes(channel, bytes, 2);
}
void WriteChannelUInt16(u32 channel, i32 value) { WriteChannelInt16(channel, value); }

void WriteChannelInt32(u32 channel, i32 value) {
  u8 bytes[4];
  WriteLE32(bytes, static_cast<u32>(value));
  WriteBytes(channel, bytes, 4);
}
void WriteChannelUInt32(u32 channel, i32 value) { WriteChannelInt32(channel, value); }

void WriteChannelFloat32(u32 channel, f32 value) {
  u8 bytes[4];
  WriteLE32(bytes, F32ToBits(value));
  WriteBytes(channel, bytes, 4);
}

void WriteChannelFloat64(u32 channel, f32 value) {
  u8 bytes[8];
  WriteLE64(bytes, F64ToBits(static_cast<f64>(value)));
  WriteBytes(channel, bytes, 8);
}

void WriteChannelString(u32 channel, const DynString& text) {
  WriteBytes(channel, text.CStr(), text.Length());
}

void WriteChannelLine(u32 channel, const DynString& text) {
  WriteLine(channel, text.CStr(), text.Length());
}

void WriteChannelLineInt(u32 channel, i32& value) {
  WriteChannelLine(channel, DynString::FromInt(value));
}

void WriteChannelLineFloat(u32 channel, f32& value) {
  WriteChannelLine(channel, DynString::FromFloat(value));
}

void ReadChannelInt8(u32 channel, i32& value) {
  u8 byte;
  ReadBytes(channel, &byte, 1);
  value = byte;
}
void ReadChannelUInt8(u32 channel, i32& value) { ReadChannelInt8(channel, value); }

void ReadChannelInt16(u32 channel, i32& value) {
  u8 bytes[2];
  ReadBytes(channel, bytes, 2);
  value = static_cast<i16>(ReadLE16(bytes));
}

void ReadChannelUInt16(u32 channel, i32& value) {
  u8 bytes[2];
  ReadBytes(channel, bytes, 2);
  value = ReadLE16(bytes);
}

void ReadChannelInt32(u32 channel, i32& value) {
  u8 bytes[4];
  ReadBytes(channel, bytes, 4);
  value = static_cast<i32>(ReadLE32(bytes));
}
void ReadChannelUInt32(u32 channel, i32& value) { ReadChannelInt32(channel, value); }

void ReadChannelFloat32(u32 channel, f32& value) {
  u8 bytes[4];
  ReadBytes(channel, bytes, 4);
  value = BitsToF32(ReadLE32(bytes));
}

void ReadChannelFloat64(u32 channel, f32& value) {
  u8 bytes[8];
  ReadBytes(channel, bytes, 8);
  value = static_cast<f32>(BitsToF64(ReadLE64(bytes)));
}

void ReadChannelString(u32 channel, DynString& text, i32 count) {
  if (count < 1) {
    text.Reset();
    return;
  }
  FileChannel& ch = Checked(channel);
  std::string bytes;
  if (ch.fp != nullptr) {
    bytes = ReadFileString(ch, count);
  } else {
    bytes = ReadMemoryString(ch, count);
  }
  AssignUpToZero(text, bytes.data(), bytes.size());
}

void ReadChannelLine(u32 channel, DynString& text) {
  FileChannel& ch = Checked(channel);
  char line[kLineBytes + 1];
  if (!ReadFileChannelLine(&ch, line, kLineBytes + 1)) FatalError(kErrFile);
  AssignUpToZero(text, line, sizeof line);
}

void ReadChannelLineInt(u32 channel, i32& value) {
  DynString text;
  ReadChannelLine(channel, text);
  value = DynStringToInt(text);
}

void ReadChannelLineFloat(u32 channel, f32& value) {
  DynString text;
  ReadChannelLine(channel, text);
  value = text.ToNumber();
}

void SeekChannel(u32 channel, i32 offset, i32 mode) {
  FileChannel& ch = Checked(channel);
  if (ch.fp == nullptr && ch.memData == nullptr) return;
  const i64 base = mode > 0 ? ch.pos : (mode < 0 ? ch.memSize : 0);
  ch.pos = ClampToI32(base + offset);
  if (ch.fp != nullptr) std::fseek(ch.fp, ch.pos, SEEK_SET);
}

i32 ChannelPosition(u32 channel) { return Checked(channel).pos; }

i32 ChannelAtEnd(u32 channel) {
  const FileChannel& ch = Checked(channel);
  return ch.memSize <= ch.pos ? 1 : 0;
}
