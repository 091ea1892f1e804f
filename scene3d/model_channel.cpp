// Opening the channel of a model load.
#include "scene3d/model_channel.h"

#include "files/memory_name.h"

bool OpenModel(FileChannel* channel, const char* name) {
  if (name == nullptr || OpenFileChannelRead(channel, name) == 0) return false;
  return !IsMemoryName(name) || channel->memBlock != nullptr;
}
