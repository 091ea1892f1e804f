// Building texts from texts: the plus operator of the command interface when its right operand is
// a text (one function per left/right operand kind), and replacing every occurrence of a text.
// The in-place members DynString::AppendCString, AppendString and SetCString live beside these.
//
// A join starts from the left operand's own construction (a copy, the text of a NUL-terminated
// string or of a number) and grows it once by the growth rule for the right operand, so the
// capacities are those of the left operand's constructor followed by one Reserve.
#pragma once

#include "core/dyn_string.h"
#include "core/types.h"

// Left operand kind first, right operand kind second.
DynString ConcatStringString(const DynString& left, const DynString& right);
DynString ConcatCStringString(const char* left, const DynString& right);
DynString ConcatIntString(i32 left, const DynString& right);
DynString ConcatFloatString(f32 left, const DynString& right);
DynString ConcatDoubleString(f64 left, const DynString& right);
DynString ConcatStringCString(const DynString& left, const char* right);
DynString ConcatCStringCString(const char* left, const char* right);
DynString ConcatIntCString(i32 left, const char* right);
DynString ConcatFloatCString(f32 left, const char* right);
DynString ConcatDoubleCString(f64 left, const char* right);

// A copy of text with every occurrence of pattern replaced, left to right and without overlap;
// the search resumes after the inserted text, so a replacement is never searched again. An empty
// pattern, or a result that would exceed the longest text, gives an unchanged copy.
DynString ReplaceAll(const DynString& text, const DynString& pattern, const DynString& replacement);
DynString ReplaceAllCommand(const DynString& text, const DynString& pattern,
                            const DynString& replacement);

// Appends count bytes behind target's characters (NULs among them kept), growing it by the growth
// rule. Shared by every in-place append and join.
void AppendTextBytes(DynString& target, const char* bytes, u32 count);
