// "mem://" names: a block of bytes in memory named by its size and address, so that every loader
// can read it like a file. Formatted "mem://" + size as "%8x" + "." + the address in hexadecimal
// with all its digits (a 64-bit address does not fit 8). Readers take the size from character 6
// and the address from character 15, each skipping leading blanks. Every reader and the resolver
// use this one parser, so the name form is defined in one place.
#pragma once

#include <cstdint>
#include <string>

#include "core/types.h"

inline constexpr char kMemoryNamePrefix[] = "mem://";

struct MemoryName {
  const u8* address = nullptr;
  i32 size = 0;
};

// True when the name begins with "mem://" (null gives false).
bool IsMemoryName(const char* name);
// Parses a "mem://" name. False when it is not one, or when its address is 0 or its size is
// negative or beyond the i32 range: such a name stands for no block.
bool ParseMemoryName(const char* name, MemoryName& out);
std::string FormatMemoryName(u32 size, const void* address);
