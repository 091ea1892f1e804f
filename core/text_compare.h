// Comparison operators of the command interface where at least one operand is text. Each
// operator is one overload set, named for the operator, over every operand pairing the command
// interface has; each returns the integer 1 or 0 and compares its left operand with its right:
//
//   TextEq ==   TextNe !=   TextLt <   TextGt >   TextLe <=   TextGe >=
//
// - text with text: byte codes as unsigned, up to each text's first NUL (strcmp); TextEq of two
//   DynStrings is DynStringEquals, which also compares lengths and the bytes behind a NUL;
// - text with f32 or f64: the text is read as a number (strtod, narrowed to f32) and compared in
//   the number's own precision, so "0.1" equals the f32 0.1 but not the f64 0.1; IEEE rules for
//   not-a-number values;
// - text with i32: the text is read as a decimal integer (strtol, clamped to the i32 range).
// A text that does not begin with a number reads as 0. No operator changes an operand.
#pragma once

#include "core/dyn_string.h"
#include "core/types.h"

#define STAKKO_TEXT_COMPARISON_OVERLOADS(Op)       \
  i32 Op(const DynString& a, const DynString& b); \
  i32 Op(const char* a, const char* b);           \
  i32 Op(const char* a, const DynString& b);      \
  i32 Op(const DynString& a, const char* b);      \
  i32 Op(f32 a, const DynString& b);              \
  i32 Op(f32 a, const char* b);                   \
  i32 Op(f64 a, const DynString& b);              \
  i32 Op(f64 a, const char* b);                   \
  i32 Op(const DynString& a, f32 b);              \
  i32 Op(const char* a, f32 b);                   \
  i32 Op(const DynString& a, f64 b);              \
  i32 Op(const char* a, f64 b);                   \
  i32 Op(i32 a, const DynString& b);              \
  i32 Op(i32 a, const char* b);                   \
  i32 Op(const DynString& a, i32 b);              \
  i32 Op(const char* a, i32 b);

STAKKO_TEXT_COMPARISON_OVERLOADS(TextEq)
STAKKO_TEXT_COMPARISON_OVERLOADS(TextNe)
STAKKO_TEXT_COMPARISON_OVERLOADS(TextLt)
STAKKO_TEXT_COMPARISON_OVERLOADS(TextGt)
STAKKO_TEXT_COMPARISON_OVERLOADS(TextLe)
STAKKO_TEXT_COMPARISON_OVERLOADS(TextGe)

#undef STAKKO_TEXT_COMPARISON_OVERLOADS

// The ordering of two texts as strcmp gives it: only its sign is meaningful.
i32 CompareTextsThreeWay(const DynString& a, const char* b);
// -1 when the text's value is below n, 1 when above, 0 when equal or either is not a number.
i32 CompareNumberTextThreeWay(const DynString& text, const f32& n);
// -1, 0 or 1 as the text's integer value is below, equal to or above n.
i32 CompareIntTextThreeWay(const DynString& text, const i32& n);
