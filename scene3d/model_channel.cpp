// Opening the channel of a model load.
#include "scene3d/model_channel.h"

#include "files/memory_block.h"
#include "files/memory_name.h"

bool OpenModel(FileChannel* channel, const char* name) {
  return name != nullptr && NamesLiveData(name) && OpenFileChannelRead(channel, name) != 0;
}

bool NamesLiveData(const char* name) {
  MemoryName parsed;
  return !IsMemoryName(name) || (ParseMemoryName(name, parsed) && FindMemoryBlock(parsed.address));
}
