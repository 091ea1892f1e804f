// The channel the 3D model readers read through: a file (with the case-insensitive fallback) or
// a "mem://" block, opened so that a memory name forged in data (a scene entry, a pack, a program)
// never makes a reader read memory that is not a live block, and closed on every way out.
#pragma once

#include "files/file_channel.h"

struct ModelChannel {
  FileChannel channel;
  ModelChannel() = default;
  ModelChannel(const ModelChannel&) = delete;
  ModelChannel& operator=(const ModelChannel&) = delete;
  ~ModelChannel() { CloseFileChannel(&channel); }
};

// Opens a file, or a "mem://" name of a live registered block: true when open.
bool OpenModel(FileChannel* channel, const char* name);
// True unless the name is a "mem://" name of no live registered block: a name that may be handed
// to any reader (a picture reader, say), since none of them then reads memory that is not a block.
bool NamesLiveData(const char* name);
