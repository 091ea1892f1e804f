// Printing one character at a time at a fixed pitch, so that digits line up in columns whatever
// the font's own spacing.
#pragma once

#include "core/dyn_string.h"
#include "core/types.h"

namespace game {

// The decimal text of the number ("-" first when negative), character i at (x + i * pitch, y).
void PrintNumberSpaced(i32 number, i32 x, i32 y, i32 pitch);
// The same over the characters of a text.
void PrintTextSpaced(const DynString& text, i32 x, i32 y, i32 pitch);

}  // namespace game
