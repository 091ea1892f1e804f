// DynString: the one text value of the runtime. Every command that takes or returns text, every
// file name and every number shown as text passes through it.
//
// It is deliberately not std::string: an empty value points at one shared, read-only "" buffer and
// owns nothing; capacity grows by a fixed rule ((n + 1) rounded down to a multiple of 4, plus 4);
// a destroyed value has all fields zero; writers may fill `data` after Reserve/GetBuffer and then
// call SyncLength. Constructors from numbers are named factories so that the operator families
// over texts and numbers stay unambiguous.
#pragma once

#include <cstddef>

#include "core/types.h"

class DynString {
 public:
  char* data;
  u32 capacity;
  u32 length;

  DynString();                               // the empty value
  ~DynString();                              // frees an owned buffer, then all fields zero
  DynString(const DynString& src);           // Copy: all `length` bytes, NULs inside included
  DynString(DynString&& src) noexcept;       // takes the buffer, leaves src empty
  DynString& operator=(const DynString& src);  // temporary + swap: self-assignment is safe
  DynString& operator=(DynString&& src) noexcept;
  explicit DynString(const char* s);         // FromCString

  // Construction (the caller's slot receives the new value).
  static DynString FromCString(const char* s);
  static DynString FromCString2(const char* s) { return FromCString(s); }
  static DynString FromBytes(const char* bytes, u32 count);  // count bytes, NULs included
  static DynString FromInt(i32 v);                           // "%d", capacity 20
  static DynString FromDouble(f64 v);                        // general number text, capacity 68
  static DynString FromFloat(f32 v);                         // widened to f64 first

  // Storage.
  void Reset();                       // back to the shared empty buffer
  void Reserve(u32 n, bool keep);     // room for n characters and the NUL; never shrinks
  char* GetBuffer(u32 n);             // Reserve(n, true), then the writable buffer
  void SyncLength();                  // recount length up to the first NUL within capacity
  void Truncate(i32 n);               // when 0 <= n < capacity: NUL at n, length n
  u32 Length() const { return length; }
  const char* CStr() const { return data; }
  void Swap(DynString& other) noexcept;

  // Assignment and appending in place.
  void AssignCString(const char* s);           // temporary + swap: s may point into this value
  void SetCString(const char* s);              // in place; s may point into this value
  DynString& AppendCString(const char* s);     // s may point into this value
  DynString& AppendString(const DynString& other);  // other may be this value
  DynString& AppendNumber(i32 v);
  DynString& AppendNumber(f32 v);
  DynString& AppendNumber(f64 v);

  // Conversions.
  f32 ToNumber() const;               // strtod, narrowed; no number gives 0
  char* ToUpper();                    // ASCII only, in place; returns the buffer
  char* ToLower();

  bool IsSharedEmpty() const;         // true while data is the shared empty buffer
};

// The shared, read-only empty text every empty DynString points at.
extern const char kDynStringEmpty[1];

i32 DynStringToInt(const DynString& s);  // strtol base 10, clamped to the i32 range
// The same two readings over a NUL-terminated text. Every place that takes a number from a text
// (comparisons, line reads, data items) reads it through these, so all of them agree.
f32 CStringToNumber(const char* s);  // strtod, narrowed; no number gives 0
i32 CStringToInt(const char* s);     // strtol base 10, clamped to the i32 range
// General number text of v with `precision` significant digits (see FromDouble); returns buffer.
char* FormatGeneral(f64 v, i32 precision, char* buffer, std::size_t size);
DynString FormatFixed(f32 width, f32 decimals, f32 v);  // "%W.Df"
i32 IntTextLength(i32 v);
i32 FloatTextLength(f32 v);
