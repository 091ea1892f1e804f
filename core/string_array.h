// String arrays: DynArray<DynString>, filled by appends, by splitting a text at delimiter
// characters, and by the directory listing.
#pragma once

#include "core/dyn_array.h"
#include "core/dyn_string.h"
#include "core/types.h"

using StringArray = DynArray<DynString>;

// Appends a copy of text to a one-dimensional string array (error 8 when multi-dimensional).
void PushStringArray(StringArray& array, const DynString& text);

// Empties the array (storage kept) and appends every run of characters between delimiter
// characters (any byte of `delimiters`); runs of delimiters give no empty parts. With no
// delimiters a non-empty text is one part. Returns the number of parts.
i32 SplitString(const DynString& text, StringArray& array, const DynString& delimiters);
