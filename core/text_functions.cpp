// Text commands over DynString: parts, case, search, character codes, equality, hex text, line
// input and the command line. Positions and counts are checked in 64 bits, so no i32 argument can
// push a copy past the end of a text.
#include "core/text_functions.h"

#include <string.h>  // strnlen

#include <cstring>

#include "core/runtime_globals.h"

namespace {

// The empty value, or a new value holding exactly the count bytes at bytes.
DynString TextOfBytes(const char* bytes, u32 count, u32 reserve) {
  DynString result;
  if (count == 0) return result;
  result.Reserve(reserve, true);
  std::memcpy(result.data, bytes, count);
  result.length = count;
  result.data[count] = '\0';
  return result;
}

void MapRange(char* bytes, u32 count, char from, char to) {
  for (u32 i = 0; i < count; ++i) {
    const unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (c >= static_cast<unsigned char>(from) && c <= static_cast<unsigned char>(to)) {
      bytes[i] = static_cast<char>(c ^ 0x20);  // ASCII letters differ in case by this one bit
    }
  }
}

}  // namespace

DynString Substring(const DynString& src, i32 start, i32 count) {
  const i64 len = src.length;
  i64 n = count < 0 ? len : count;
  if (static_cast<i64>(start) + n > len) n = len - start;
  if (start < 0 || start >= len || n <= 0) return DynString();
  return TextOfBytes(src.data + start, static_cast<u32>(n), static_cast<u32>(n + 1));
}

char* DynString::ToUpper() {
  MapRange(data, length, 'a', 'z');
  return data;
}

char* DynString::ToLower() {
  MapRange(data, length, 'A', 'Z');
  return data;
}

DynString ToUpperAscii(const DynString& s) {
  DynString copy(s);
  copy.ToUpper();
  return copy;
}

DynString ToLowerAscii(const DynString& s) {
  DynString copy(s);
  copy.ToLower();
  return copy;
}

i32 FindText(const char* text, const char* pattern, i32 start) {
  if (start < 0) return -1;
  // The text must not end before start: its first start bytes hold no NUL.
  if (start > 0 &&
      strnlen(text, static_cast<std::size_t>(start)) < static_cast<std::size_t>(start)) {
    return -1;
  }
  const char* found = std::strstr(text + start, pattern);
  return found ? static_cast<i32>(found - text) : -1;
}

i32 FindText(const char* text, const DynString& pattern, i32 start) {
  return FindText(text, pattern.data, start);
}

i32 FindText(const DynString& text, const char* pattern, i32 start) {
  return FindText(text.data, pattern, start);
}

i32 FindText(const DynString& text, const DynString& pattern, i32 start) {
  return FindText(text.data, pattern.data, start);
}

const char* FindFirstOf(const char* s, const char* set) { return std::strpbrk(s, set); }

const char* FindFirstNotOf(const char* s, const char* set) {
  const char* p = s + std::strspn(s, set);
  return *p != '\0' ? p : nullptr;
}

DynString CharToString(i32 code) {
  DynString result("x");
  result.data[0] = static_cast<char>(static_cast<u32>(code) & 0xFFu);
  return result;
}

u32 DynStringFirstByte(const DynString& s) {
  return s.length == 0 ? 0u : static_cast<unsigned char>(s.data[0]);
}

i32 DynStringEquals(const DynString& a, const DynString& b) {
  if (a.length != b.length) return 0;
  return a.length == 0 || std::memcmp(a.data, b.data, a.length) == 0 ? 1 : 0;
}

DynString BytesToHex(const u8* bytes, i32 count) {
  DynString result;
  if (count < 1) return result;
  const u64 digits = 2 * static_cast<u64>(count);
  if (digits > kMaxTextLength) return result;
  static const char kDigits[] = "0123456789ABCDEF";
  result.Reserve(static_cast<u32>(digits), false);
  char* out = result.data;
  for (i32 i = 0; i < count; ++i) {
    *out++ = kDigits[bytes[i] >> 4];
    *out++ = kDigits[bytes[i] & 0x0F];
  }
  *out = '\0';
  result.length = static_cast<u32>(digits);
  return result;
}

DynString ReadStdinLine(std::FILE* in) {
  char buffer[4096];
  buffer[0] = '\0';
  // On a read error fgets leaves the buffer undefined; treat it like the end of input.
  if (std::fgets(buffer, 4095, in) == nullptr) buffer[0] = '\0';
  DynString result(buffer);
  if (result.length > 0 && result.data[result.length - 1] == '\n') {
    result.Truncate(static_cast<i32>(result.length - 1));
  }
  return result;
}

DynString ReadStdinLine() { return ReadStdinLine(stdin); }

DynString CopyCommandLine() { return DynString(commandLine); }
