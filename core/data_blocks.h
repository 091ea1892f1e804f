// Constant data blocks: fixed sequences of numbers and texts that a program reads one item after
// another. One block at a time is current; selecting it rewinds it. Running out of items (or
// reading before any block is selected) is fatal error 20.
#pragma once

#include "core/dyn_string.h"
#include "core/types.h"

// One item: a number (text null) or a text.
struct ReadDataItem {
  f32 value;
  const char* text;
};

// One block and its read position; the program declares one per block.
struct ReadDataCursor {
  const ReadDataItem* items;
  i32 count;
  i32 next;
};

// The current block; null until a block is first selected.
extern ReadDataCursor* currentDataCursor;

// Makes the block current and rewinds it to its first item.
void RestoreDataBlock(ReadDataCursor* cursor);
// The next item as a number (a text by its leading number, 0 without one).
void ReadDataFloat(f32* out);
// ReadDataFloat truncated toward zero; stored and returned.
i32 ReadDataInt(i32* out);
// The next item as text (a number as its general number text).
void ReadDataString(DynString& out);
