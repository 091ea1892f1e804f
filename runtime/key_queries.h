// The key queries: each reads the button source afresh and answers a PC key code through the
// key-code table (media/key_codes.h). Before start-up has created the input device nothing is
// ever down.
#pragma once

#include "core/dyn_string.h"
#include "core/types.h"

// 1 while the key code is down, else 0; only the low eight bits of the code count, and code 1
// (Escape) answers while both volume buttons are held.
i32 IsKeyDown(i32 code);
// The next typed character as a one-character text, or the empty text.
DynString GetTypedKey();
