// What the 3D commands share: the texture selection that every 3D draw hands on, the culling
// setting last chosen by command, the places whose addresses the commands hand to the device, and
// the conversions of the numbers programs pass. The state is one of the runtime's globals
// (runtime_globals.cpp); its initial values are those a program finds before it runs.
#pragma once

#include <cmath>

#include "core/float_convert.h"
#include "core/types.h"
#include "scene3d/rainbows3d.h"

struct Commands3DState {
  i32 texture = -1;        // sprite of the texture for 3D drawing; -1 none
  i32 secondTexture = -1;  // a second sprite, handed on with the first
  i32 savedCull = 0;       // the setting (-1, 0, 1) of the last cull command, 0 in a new 3D mode
  f32 lastHit[3] = {};
  f32 screenPoint[3] = {};
  f32 lineStart[3] = {};
  f32 lineEnd[3] = {};
  f32 point[3] = {};
};
extern Commands3DState commands3D;
// The texture setting handed on with the two sprites; the frame step resets it every frame.
extern i32 textureMode3D;

// The object slot a command addresses: the number truncated toward zero when that lies in the
// table, else -1 (NaN included), which every device operation takes as no slot at all. Every
// command that takes a slot number converts it here and nowhere else.
inline i32 SlotArg(f32 v) {
  if (std::isnan(v)) return -1;
  const i32 slot = TruncToI32(v);
  return slot >= 0 && slot < kObjectSlotCount ? slot : -1;
}

// A colour 0x00BBGGRR passed as a float: truncated through 64 bits, wrapping modulo 2^32.
inline u32 ColourArg(f32 v) { return TruncWrapToU32(v); }
