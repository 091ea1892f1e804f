// Reading a small file whole through a numbered channel, so that its format can be checked
// before anything is taken from it. The channel's own value reads end the program on a file that
// is shorter than expected; reading byte by byte up to the end never does.
#pragma once

#include <optional>
#include <string>

#include "core/types.h"

namespace game {

// The channel the game reads and writes its files through.
constexpr u32 kGameFileChannel = 0;

// The largest channel that ReadChannelBytes reads. The game's files are a few bytes; anything
// larger is not one of them (a directory of that name even reports an endless size, and a read
// from it fails).
constexpr i32 kMaxSmallFileBytes = 1 << 20;

// The first bytes of the channel, at most maxBytes of them, from its start; nothing when the
// channel holds more than kMaxSmallFileBytes.
std::optional<std::string> ReadChannelBytes(u32 channel, i32 maxBytes);

}  // namespace game
