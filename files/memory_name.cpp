// "mem://" name parsing and formatting.
#include "files/memory_name.h"

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
constexpr std::size_t kPrefixLength = sizeof(kMemoryNamePrefix) - 1;
constexpr std::size_t kAddressStart = 15;
}  // namespace

bool IsMemoryName(const char* name) {
  return name != nullptr && std::strncmp(name, kMemoryNamePrefix, kPrefixLength) == 0;
}

bool ParseMemoryName(const char* name, MemoryName& out) {
  out = MemoryName{};
  if (!IsMemoryName(name) || std::strlen(name) <= kAddressStart) return false;
  errno = 0;
  const long long size = std::strtoll(name + kPrefixLength, nullptr, 16);
  const unsigned long long address = std::strtoull(name + kAddressStart, nullptr, 16);
  if (errno != 0 || size < 0 || size > INT32_MAX || address == 0 || address > UINTPTR_MAX) {
    return false;
  }
  out.address = reinterpret_cast<const u8*>(static_cast<std::uintptr_t>(address));
  out.size = static_cast<i32>(size);
  return true;
}

std::string FormatMemoryName(u32 size, const void* address) {
  char text[64];
  std::snprintf(text, sizeof text, "mem://%8x.%8" PRIxPTR, static_cast<unsigned>(size),
                reinterpret_cast<std::uintptr_t>(address));
  return text;
}
