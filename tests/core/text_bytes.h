// Test helpers for texts that hold NUL bytes: build a DynString from exact bytes and read all of
// its `length` bytes back.
#pragma once

#include <string>
#include <string_view>

#include "core/dyn_string.h"

inline DynString TextOf(std::string_view bytes) {
  return DynString::FromBytes(bytes.data(), static_cast<u32>(bytes.size()));
}

inline std::string BytesOf(const DynString& s) { return std::string(s.data, s.length); }
