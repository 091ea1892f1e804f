// ";DDW" scene files: several models and texture pictures loaded together into one object slot.
// A scene is a text in the runtime's INI format whose first line is a comment that begins with
// the signature by which Rainbows3D::LoadObject recognises it:
//
//   ;DDW town
//   [textures]
//   count=2          T pictures under the keys 1..T (BMP or PNG)
//   1=wall.bmp
//   2=roof.png
//   [objects]
//   count=2          M models under the keys 1..M (.ddd binary or "DDDA" text)
//   1=house.ddd
//   1ta=1            texture numbers of object 1, counted from 1 (stored counted from 0)
//   1tb=2
//   2=tree.ddd
//
// Sections and keys match ignoring case; the first section of a name and its first key count.
// Numbered keys are written without leading zeros; a missing key reads "NO_DATA", as a number 0.
// File names are relative to the scene's folder: its name up to its last "/" or "\" (the text is
// joined as it stands). A scene handed out from a pack as a "mem://" block has no folder, so its
// names resolve like any program's, through the disk and then the pack.
#pragma once

#include "core/types.h"

struct ObjectSlot;

// The largest texture or object count of a scene; a scene that asks for more of either loads
// none of that kind ("# read error" and the scene's name are printed).
inline constexpr i32 kMaxSceneEntries = 4096;

// Fills the slot, which the caller has emptied, from the scene `name` (a path, or the "mem://"
// name of a live block): isScene and used 1, one mesh per object (built and bounded, its texture
// numbers in textureA and textureB), and the texture list's count set to T (entries 0). Pictures
// are decoded with the transparent colour and dropped: the slot is drawn with the current 3D
// texture, or none when T is 0. Returns 1: a scene that cannot be read loads nothing, a negative
// count is 0, and a model that does not load leaves an empty mesh in its place.
i32 LoadSceneFile(const char* name, ObjectSlot* slot, u32 transparentColour);
