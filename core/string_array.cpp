// Appending to string arrays and splitting texts into them.
#include "core/string_array.h"

#include <cstring>

namespace {

// Delimiters are matched over their whole length, so a NUL inside the text is a delimiter only
// when the delimiter text holds one too.
bool IsDelimiter(char c, const DynString& delimiters) {
  return delimiters.length > 0 && std::memchr(delimiters.data, c, delimiters.length) != nullptr;
}

}  // namespace

void PushStringArray(StringArray& array, const DynString& text) { array.Append(text); }

i32 SplitString(const DynString& text, StringArray& array, const DynString& delimiters) {
  // Either text may be an element of the array, whose storage the appends replace.
  const DynString source(text);
  const DynString separators(delimiters);
  array.ClearShape();
  const u32 length = source.length;
  u32 pos = 0;
  while (pos < length) {
    while (pos < length && IsDelimiter(source.data[pos], separators)) ++pos;
    if (pos >= length) break;
    const u32 start = pos;
    while (pos < length && !IsDelimiter(source.data[pos], separators)) ++pos;
    PushStringArray(array, DynString::FromBytes(source.data + start, pos - start));
  }
  return array.dim[0];
}
