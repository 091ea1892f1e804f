// Joining texts, appending in place and replacing every occurrence of a text.
//
// Every append goes through AppendTextBytes, which copies a source that lies inside the target's
// own buffer before it grows that buffer: growing frees the old buffer, and the source would then
// be read from freed memory.
#include "core/text_concat.h"

#include <string.h>  // strnlen, memmem

#include <cstring>
#include <functional>

#include "core/text_functions.h"

namespace {

bool PointsInto(const DynString& target, const char* p) {
  if (target.capacity == 0 || p == nullptr) return false;
  const std::less<const char*> before;
  return !before(p, target.data) && before(p, target.data + target.capacity);
}

DynString Join(DynString result, const char* bytes, u32 count) {
  AppendTextBytes(result, bytes, count);
  return result;
}

u32 CStringLength(const char* s) { return static_cast<u32>(std::strlen(s)); }

// The length of s for an in-place operation on target: a source inside target's buffer is
// bounded by that buffer, not by a NUL that may lie beyond it.
u32 SourceLength(const DynString& target, const char* s) {
  if (!PointsInto(target, s)) return CStringLength(s);
  return static_cast<u32>(strnlen(s, static_cast<std::size_t>(target.data + target.capacity - s)));
}

// Calls visit(m, next) for each occurrence of the pattern view [pattern, pattern + viewLength) in
// text, left to right: m is where it starts, next where the search resumes, m + skip clipped to
// the text's length. A search runs from its position up to the next NUL of the text, so the bytes
// behind a NUL are searched only when a skip has carried the position past it.
template <class Visit>
void ForEachOccurrence(const DynString& text, const char* pattern, std::size_t viewLength, u32 skip,
                       Visit visit) {
  const char* src = text.data;
  const u32 len = text.length;
  u32 pos = 0;
  while (pos < len) {
    const std::size_t segment = strnlen(src + pos, len - pos);
    const void* hit = memmem(src + pos, segment, pattern, viewLength);
    if (hit == nullptr) return;
    const u32 m = static_cast<u32>(static_cast<const char*>(hit) - src);
    const u64 resume = static_cast<u64>(m) + skip;
    const u32 next = resume < len ? static_cast<u32>(resume) : len;
    visit(m, next);
    pos = next;  // > m, because the view is not empty and ends within the text
  }
}

}  // namespace

void AppendTextBytes(DynString& target, const char* bytes, u32 count) {
  if (count == 0) return;
  if (PointsInto(target, bytes)) {
    DynString held;
    AppendTextBytes(held, bytes, count);
    AppendTextBytes(target, held.data, held.length);
    return;
  }
  const u64 joined = static_cast<u64>(target.length) + count;
  if (joined > kMaxTextLength) return;
  target.Reserve(static_cast<u32>(joined), true);
  if (target.capacity <= joined) return;  // no room was made: leave the text as it was
  std::memcpy(target.data + target.length, bytes, count);
  target.length = static_cast<u32>(joined);
  target.data[target.length] = '\0';
}

DynString& DynString::AppendCString(const char* s) {
  AppendTextBytes(*this, s, SourceLength(*this, s));
  return *this;
}

DynString& DynString::AppendString(const DynString& other) {
  AppendTextBytes(*this, other.data, other.length);
  return *this;
}

void DynString::SetCString(const char* s) {
  if (PointsInto(*this, s)) {
    DynString held;
    AppendTextBytes(held, s, SourceLength(*this, s));
    SetCString(held.data);
    return;
  }
  const std::size_t n = std::strlen(s);
  Reset();
  if (n == 0 || n > kMaxTextLength) return;
  // Exactly n + 1 bytes, not the growth rule's size: the INI reader keeps many such texts.
  char* buffer = new char[n + 1];
  std::memcpy(buffer, s, n + 1);
  data = buffer;
  capacity = static_cast<u32>(n + 1);
  length = static_cast<u32>(n);
}

DynString ConcatStringString(const DynString& left, const DynString& right) {
  return Join(DynString(left), right.data, right.length);
}
DynString ConcatCStringString(const char* left, const DynString& right) {
  return Join(DynString::FromCString(left), right.data, right.length);
}
DynString ConcatIntString(i32 left, const DynString& right) {
  return Join(DynString::FromInt(left), right.data, right.length);
}
DynString ConcatFloatString(f32 left, const DynString& right) {
  return Join(DynString::FromFloat(left), right.data, right.length);
}
DynString ConcatDoubleString(f64 left, const DynString& right) {
  return Join(DynString::FromDouble(left), right.data, right.length);
}
DynString ConcatStringCString(const DynString& left, const char* right) {
  return Join(DynString(left), right, CStringLength(right));
}
DynString ConcatCStringCString(const char* left, const char* right) {
  return Join(DynString::FromCString(left), right, CStringLength(right));
}
DynString ConcatIntCString(i32 left, const char* right) {
  return Join(DynString::FromInt(left), right, CStringLength(right));
}
DynString ConcatFloatCString(f32 left, const char* right) {
  return Join(DynString::FromFloat(left), right, CStringLength(right));
}
DynString ConcatDoubleCString(f64 left, const char* right) {
  return Join(DynString::FromDouble(left), right, CStringLength(right));
}

DynString ReplaceAll(const DynString& text, const DynString& pattern,
                     const DynString& replacement) {
  // The pattern is searched as the text up to its first NUL, but an occurrence stands for all of
  // the pattern's length; an empty view would match everywhere and never finish.
  const std::size_t view = std::strlen(pattern.data);
  if (view == 0) return DynString(text);
  const u32 skip = pattern.length;
  const u32 r = replacement.length;

  // First pass: the length of the result, so that it is built with one allocation.
  u64 total = text.length;
  u32 occurrences = 0;
  ForEachOccurrence(text, pattern.data, view, skip, [&](u32 m, u32 next) {
    total = total - (next - m) + r;
    ++occurrences;
  });
  if (occurrences == 0 || total > kMaxTextLength) return DynString(text);

  DynString result;
  if (total == 0) return result;
  result.Reserve(static_cast<u32>(total), false);
  if (result.capacity <= total) return DynString(text);
  char* out = result.data;
  u32 copied = 0;  // text bytes consumed so far
  ForEachOccurrence(text, pattern.data, view, skip, [&](u32 m, u32 next) {
    std::memcpy(out, text.data + copied, m - copied);
    out += m - copied;
    std::memcpy(out, replacement.data, r);
    out += r;
    copied = next;
  });
  std::memcpy(out, text.data + copied, text.length - copied);
  out += text.length - copied;
  *out = '\0';
  result.length = static_cast<u32>(total);
  return result;
}

DynString ReplaceAllCommand(const DynString& text, const DynString& pattern,
                            const DynString& replacement) {
  return ReplaceAll(text, pattern, replacement);
}
