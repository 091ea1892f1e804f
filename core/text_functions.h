// The text commands built directly on DynString: parts of a text, ASCII case mapping, searching,
// character codes, equality, hexadecimal text of a byte block, a line from standard input and a
// copy of the command line. None of them reports an error: positions and counts out of range give
// the empty text or -1. Functions returning a DynString build a new value and change no operand.
#pragma once

#include <cstdio>

#include "core/dyn_string.h"
#include "core/types.h"

// The longest text the text operations build. Results that would be longer (a hexadecimal text
// of a block over 1 GiB, a replacement that multiplies a text past 2 GiB) are refused softly.
constexpr u64 kMaxTextLength = 0x7FFFFFF0u;

// count characters of src from position start; count < 0 means the rest of the text, a count
// past the end is clipped, and a start outside the text gives the empty value.
DynString Substring(const DynString& src, i32 start, i32 count);

// Copies with only the ASCII letters mapped; every other byte, 128..255 included, is kept.
DynString ToUpperAscii(const DynString& s);
DynString ToLowerAscii(const DynString& s);

// Index (from the beginning of text) of the first occurrence of pattern at or after start, or -1.
// Both operands are read up to their first NUL. start must lie within that view (start equal to
// its length is allowed); an empty pattern is found at start.
i32 FindText(const char* text, const char* pattern, i32 start);
i32 FindText(const char* text, const DynString& pattern, i32 start);
i32 FindText(const DynString& text, const char* pattern, i32 start);
i32 FindText(const DynString& text, const DynString& pattern, i32 start);

// The first character of s that is (FindFirstOf) or is not (FindFirstNotOf) in set, or null.
const char* FindFirstOf(const char* s, const char* set);
const char* FindFirstNotOf(const char* s, const char* set);

// A text of length 1 holding the low 8 bits of code (length 1 also for code 0).
DynString CharToString(i32 code);

// The first byte of s as 0..255 (0 for the empty text).
u32 DynStringFirstByte(const DynString& s);

// 1 when both texts hold the same length and the same bytes (NULs inside included), else 0.
i32 DynStringEquals(const DynString& a, const DynString& b);

// Two upper-case hexadecimal digits per byte; a count below 1 gives the empty value.
DynString BytesToHex(const u8* bytes, i32 count);

// One line of at most 4094 characters; a trailing line feed is dropped, a carriage return before
// it stays. A longer line comes in pieces; the end of input gives the empty text.
DynString ReadStdinLine();
DynString ReadStdinLine(std::FILE* in);

// A copy of the command-line text that the program's entry built.
DynString CopyCommandLine();
