// DynString storage, construction and the runtime's number <-> text conversions.
//
// Every number the runtime shows as text goes through FormatGeneral (10 significant digits, no
// zero before the decimal point, trailing zeros dropped outside exponent form), so programs see
// one number format everywhere.
#include "core/dyn_string.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "core/float_convert.h"
#include "core/int_clamp.h"

const char kDynStringEmpty[1] = {'\0'};

namespace {

char* SharedEmpty() { return const_cast<char*>(kDynStringEmpty); }

// Requests this large are outside any sensible use and would overflow the growth rule.
constexpr u32 kMaxReserve = 0x7FFFFFF0u;

// Widths beyond this are refused by FormatFixed: a program-supplied width must not allocate
// gigabytes.
constexpr i32 kMaxFixedWidth = 4096;
constexpr i32 kMaxFixedDecimals = 4096;

}  // namespace

DynString::DynString() : data(SharedEmpty()), capacity(0), length(0) {}

DynString::~DynString() {
  if (data != nullptr && !IsSharedEmpty()) delete[] data;
  // The all-zero destroyed state is part of the contract, but stores at the end of an object's
  // lifetime are dead to the optimiser: volatile stores keep them.
  *const_cast<char* volatile*>(&data) = nullptr;
  const_cast<volatile u32&>(capacity) = 0u;
  const_cast<volatile u32&>(length) = 0u;
}

DynString::DynString(const DynString& src) : DynString() {
  if (src.length == 0) return;
  Reserve(src.length, false);
  std::memcpy(data, src.data, src.length);
  data[src.length] = '\0';
  length = src.length;
}

DynString::DynString(DynString&& src) noexcept : DynString() { Swap(src); }

DynString& DynString::operator=(const DynString& src) {
  DynString temp(src);
  Swap(temp);
  return *this;
}

DynString& DynString::operator=(DynString&& src) noexcept {
  DynString temp(std::move(src));
  Swap(temp);
  return *this;
}

DynString::DynString(const char* s) : DynString() {
  const std::size_t len = std::strlen(s);
  if (len == 0) return;
  if (len > kMaxReserve) return;
  Reserve(static_cast<u32>(len), false);
  std::memcpy(data, s, len);
  data[len] = '\0';
  length = static_cast<u32>(len);
}

DynString DynString::FromCString(const char* s) { return DynString(s); }

DynString DynString::FromBytes(const char* bytes, u32 count) {
  DynString result;
  if (count == 0 || count > kMaxReserve) return result;
  result.Reserve(count, false);
  std::memcpy(result.data, bytes, count);
  result.data[count] = '\0';
  result.length = count;
  return result;
}

DynString DynString::FromInt(i32 v) {
  DynString result;
  result.Reserve(15, false);
  std::snprintf(result.data, result.capacity, "%d", v);
  result.SyncLength();
  return result;
}

DynString DynString::FromDouble(f64 v) {
  DynString result;
  result.Reserve(63, false);
  FormatGeneral(v, 10, result.data, result.capacity);
  if (std::strcmp(result.data, ".0") == 0) {
    std::strcpy(result.data, "0");
  } else {
    const std::size_t len = std::strlen(result.data);
    if (len > 0 && result.data[len - 1] == '.') result.data[len - 1] = '\0';
  }
  result.SyncLength();
  return result;
}

DynString DynString::FromFloat(f32 v) { return FromDouble(static_cast<f64>(v)); }

bool DynString::IsSharedEmpty() const { return data == kDynStringEmpty; }

void DynString::Swap(DynString& other) noexcept {
  std::swap(data, other.data);
  std::swap(capacity, other.capacity);
  std::swap(length, other.length);
}

void DynString::Reset() {
  if (data != nullptr && !IsSharedEmpty()) delete[] data;
  data = SharedEmpty();
  capacity = 0;
  length = 0;
}

void DynString::Reserve(u32 n, bool keep) {
  if (n == 0 || n + 1 <= capacity) return;
  if (n > kMaxReserve) return;
  const u32 newCapacity = ((n + 1) & ~3u) + 4;
  char* buffer = new char[newCapacity];
  if (keep && length > 0 && data != nullptr) {
    std::memcpy(buffer, data, length);
    buffer[length] = '\0';
  } else {
    buffer[0] = '\0';
  }
  if (data != nullptr && !IsSharedEmpty()) delete[] data;
  data = buffer;
  capacity = newCapacity;
}

char* DynString::GetBuffer(u32 n) {
  Reserve(n, true);
  // A request refused by Reserve (0 or absurdly large) leaves the shared empty buffer, which
  // must never be written: hand out an owned one-character buffer instead.
  if (IsSharedEmpty()) Reserve(1, true);
  return data;
}

void DynString::SyncLength() {
  if (data == nullptr || data[0] == '\0') {
    length = 0;
    return;
  }
  for (u32 i = 1; i < capacity; ++i) {
    if (data[i] == '\0') {
      length = i;
      return;
    }
  }
  // No NUL inside the buffer: cut the last character to make room for one.
  length = capacity - 1;
  data[length] = '\0';
}

void DynString::Truncate(i32 n) {
  // Positions past the recorded length would expose unwritten bytes as content.
  if (n < 0 || static_cast<u32>(n) >= capacity || static_cast<u32>(n) > length) return;
  data[n] = '\0';
  length = static_cast<u32>(n);
}

void DynString::AssignCString(const char* s) {
  DynString temp(s);
  Swap(temp);
}

f32 DynString::ToNumber() const { return CStringToNumber(data); }

i32 DynStringToInt(const DynString& s) { return CStringToInt(s.data); }

f32 CStringToNumber(const char* s) { return static_cast<f32>(std::strtod(s, nullptr)); }

i32 CStringToInt(const char* s) {
  // long is 64 bits here: clamp to the 32-bit range the runtime's integers have.
  return ClampToI32(std::strtol(s, nullptr, 10));
}

char* FormatGeneral(f64 v, i32 precision, char* buffer, std::size_t size) {
  if (size == 0) return buffer;
  std::snprintf(buffer, size, "%-#.*g", precision, v);

  // Drop the zero before the decimal point: "0.25" -> ".25", "-0.25" -> "-.25".
  char* digits = buffer[0] == '-' ? buffer + 1 : buffer;
  if (digits[0] == '0' && digits[1] == '.') std::memmove(digits, digits + 1, std::strlen(digits));

  char* exponent = std::strchr(buffer, 'e');
  if (exponent != nullptr) {
    // Exponent form keeps its zeros; only a point right before the "e" goes.
    if (exponent > buffer && exponent[-1] == '.')
      std::memmove(exponent - 1, exponent, std::strlen(exponent) + 1);
    return buffer;
  }
  std::size_t len = std::strlen(buffer);
  while (len > 2 && buffer[len - 1] == '0') buffer[--len] = '\0';
  if (len > 0 && buffer[len - 1] == '.') buffer[--len] = '\0';

  // Negative zero reduces to a lone "-"; it reads back as zero, so show it as zero.
  if (std::strcmp(buffer, "-") == 0 && size >= 3) std::strcpy(buffer, ".0");
  return buffer;
}

DynString FormatFixed(f32 width, f32 decimals, f32 v) {
  i32 w = TruncToI32(width);
  i32 d = TruncToI32(decimals);
  if (w > kMaxFixedWidth) w = kMaxFixedWidth;
  if (w < -kMaxFixedWidth) w = -kMaxFixedWidth;
  if (d > kMaxFixedDecimals) d = kMaxFixedDecimals;
  // A width of 0 acts as the zero-fill flag with no width ("%0.2f"); keep that reading.
  const char* format = w == 0 ? "%0.*f" : "%*.*f";
  const f64 value = static_cast<f64>(v);
  const int needed = w == 0 ? std::snprintf(nullptr, 0, format, d, value)
                            : std::snprintf(nullptr, 0, format, w, d, value);
  DynString result;
  result.Reserve(36, true);
  if (needed > 0) result.Reserve(static_cast<u32>(needed), true);
  if (w == 0)
    std::snprintf(result.data, result.capacity, format, d, value);
  else
    std::snprintf(result.data, result.capacity, format, w, d, value);
  result.SyncLength();
  return result;
}

i32 IntTextLength(i32 v) { return static_cast<i32>(DynString::FromInt(v).Length()); }

i32 FloatTextLength(f32 v) { return static_cast<i32>(DynString::FromFloat(v).Length()); }
