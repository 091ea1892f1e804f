// The eight numbered file channels (0 to 7) of the command interface. A channel opens a name for
// reading (through the general resolver, so pack entries read as memory files), writing or
// appending; fixed-width values are little endian whatever the host, lines end with CR LF.
// Every misuse a program can make of a channel (a number above 7, a channel that is not open,
// reading past the end of a file, a failed write) ends the program with error 7 or 3; only
// opening fails softly.
#pragma once

#include "core/dyn_string.h"
#include "core/types.h"
#include "files/file_channel.h"

constexpr u32 kChannelCount = 8;
// The longest line a channel read returns; a longer one comes in pieces of this size.
constexpr int kLineBytes = 1024;

struct ChannelTable {
  FileChannel channels[kChannelCount];
};
extern ChannelTable channelTable;

// Open modes (any mode > 0 reads, any mode < 0 appends) and seek origins.
constexpr i32 kChannelRead = 1;
constexpr i32 kChannelWrite = 0;  // create or truncate
constexpr i32 kChannelAppend = -1;
constexpr i32 kSeekFromStart = 0;
constexpr i32 kSeekFromPosition = 1;
constexpr i32 kSeekFromEnd = -1;

// mode > 0 read, mode == 0 write (create or truncate), mode < 0 append; 1 when open.
i32 OpenFileChannel(u32 channel, const DynString& name, i32 mode);
void CloseChannel(u32 channel);
void CloseAllChannels();     // 0 to 7 (the runtime's shutdown)
void DestroyChannelTable();  // 7 down to 0 (the exit handler)

void WriteChannelInt8(u32 channel, i32 value);
void WriteChannelUInt8(u32 channel, i32 value);
void WriteChannelInt16(u32 channel, i32 value);
void WriteChannelUInt16(u32 channel, i32 value);
void WriteChannelInt32(u32 channel, i32 value);
void WriteChannelUInt32(u32 channel, i32 value);
void WriteChannelFloat32(u32 channel, f32 value);
void WriteChannelFloat64(u32 channel, f32 value);
void WriteChannelString(u32 channel, const DynString& text);
void WriteChannelLine(u32 channel, const DynString& text);
void WriteChannelLineInt(u32 channel, i32& value);
void WriteChannelLineFloat(u32 channel, f32& value);

void ReadChannelInt8(u32 channel, i32& value);    // 0 to 255, like ReadChannelUInt8
void ReadChannelUInt8(u32 channel, i32& value);
void ReadChannelInt16(u32 channel, i32& value);   // sign-extended
void ReadChannelUInt16(u32 channel, i32& value);  // zero-extended
void ReadChannelInt32(u32 channel, i32& value);
void ReadChannelUInt32(u32 channel, i32& value);
void ReadChannelFloat32(u32 channel, f32& value);
void ReadChannelFloat64(u32 channel, f32& value);  // narrowed to the nearest float
void ReadChannelString(u32 channel, DynString& text, i32 count);
void ReadChannelLine(u32 channel, DynString& text);
void ReadChannelLineInt(u32 channel, i32& value);
void ReadChannelLineFloat(u32 channel, f32& value);

// mode > 0 relative to the position, mode < 0 relative to the size, mode == 0 absolute.
void SeekChannel(u32 channel, i32 offset, i32 mode);
i32 ChannelPosition(u32 channel);
i32 ChannelAtEnd(u32 channel);

// Files by name (exact, case-insensitive or "mem://"; pack entries are not looked up).
i32 GetFileSize(const DynString& name);
f32 FileExists(const DynString& name);
void CopyFileContents(const DynString& source, const DynString& destination);
