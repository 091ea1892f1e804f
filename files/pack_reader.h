// Reading .sbx packs. A pack ends with "sbX" at size - 7 and an i32 directory offset at size - 4;
// the directory is a list of {u8 n, n name bytes, i32 data offset, i32 packed size} ended by
// n = 0. A negative directory offset counts from the end of the pack, and then so do the data
// offsets, so a pack appended to another file (the executable) is still found. Every value read
// from a pack is checked against the pack's size before it is used.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "core/types.h"
#include "files/memory_block.h"

// The trailer that ends every pack: the magic, then the i32 directory offset.
inline constexpr char kPackMagic[3] = {'s', 'b', 'X'};
constexpr i64 kPackTrailerSize = 7;

// A pack opened for reading: a file, or a block named by a "mem://" pack name.
class PackSource {
 public:
  PackSource() = default;
  ~PackSource();
  PackSource(const PackSource&) = delete;
  PackSource& operator=(const PackSource&) = delete;

  // Opens the pack (printing the request lines for a file that does not open); false when
  // there is no stream.
  bool Open(const std::string& packName);
  i64 Size() const { return size_; }
  // Reads exactly `count` bytes at `offset`; false when they are not all inside the pack.
  bool ReadAt(i64 offset, void* into, std::size_t count);

 private:
  std::FILE* fp_ = nullptr;
  const u8* memory_ = nullptr;
  SharedMemoryBlock block_;
  i64 size_ = 0;
};

struct PackEntry {
  std::string name;        // as stored in the pack
  i32 dataOffset = 0;      // as stored
  i32 packedSize = 0;
  std::vector<u8> packed;  // the entry's packed bytes
};

enum class PackLookup {
  kFound,
  kNoPack,    // the pack does not open or its magic is wrong: its search is switched off
  kNotFound,  // a short or damaged pack, or no entry of that name
};

// The name a file is packed under and looked up by: the part of a path after its last '/' or
// '\\' (the whole path when it has neither).
std::string PackEntryName(const char* path);

// Finds the first entry whose name equals `component` ignoring ASCII case, and reads its bytes.
PackLookup FindPackEntry(PackSource& pack, const std::string& component, PackEntry& entry);
