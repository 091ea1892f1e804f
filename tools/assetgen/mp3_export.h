// MP3 encoding of the music with LAME: 44.1 kHz joint stereo at a constant 128 kbit/s, with no
// information frame in front, so every decoder starts on a music frame.
#pragma once

#include <vector>

#include "core/types.h"
#include "tools/assetgen/chiptune.h"

// The MP3 stream of the buffer; empty when the encoder fails.
std::vector<u8> EncodeMp3(const StereoBuffer& audio);
