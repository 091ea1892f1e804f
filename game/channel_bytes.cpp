// Whole-file reads over the numbered channels.
#include "game/channel_bytes.h"

#include "files/channel_table.h"

namespace game {

namespace {

i32 ChannelSize(u32 channel) {
  SeekChannel(channel, 0, kSeekFromEnd);
  const i32 size = ChannelPosition(channel);
  SeekChannel(channel, 0, kSeekFromStart);
  return size;
}

}  // namespace

std::optional<std::string> ReadChannelBytes(u32 channel, i32 maxBytes) {
  if (ChannelSize(channel) > kMaxSmallFileBytes) return std::nullopt;
  std::string bytes;
  while (static_cast<i32>(bytes.size()) < maxBytes && ChannelAtEnd(channel) == 0) {
    i32 byte = 0;
    ReadChannelUInt8(channel, byte);
    bytes.push_back(static_cast<char>(byte));
  }
  return bytes;
}

}  // namespace game
