// The line editor: edits a text in place at a screen position, one frame per typed character,
// until Enter. The screen behind the text is saved in virtual screen slot 3 and redrawn under
// every frame; the cursor "_" blinks after 20 idle frames. A quit ends the program through the
// frame step.
#pragma once

#include "core/dyn_string.h"
#include "core/types.h"

void InputLine(DynString& text, i32 x, i32 y);
// An empty text edited, then read as a whole number (base 10) or as a number.
void InputNumber(i32& result, i32 x, i32 y);
void InputDecimal(f32& result, i32 x, i32 y);
// Edits "File:" at (0, 100) and returns the text whole (the prefix included unless erased).
DynString RequestFileName();
