// Pack trailer, directory walk and entry reading.
#include "files/pack_reader.h"

#include <algorithm>
#include <cstring>

#include "core/byte_order.h"
#include "files/ascii_case.h"
#include "files/file_open.h"
#include "files/memory_name.h"

namespace {

// The shortest mode-1 stream: the length field and the LZO end sequence.
constexpr i32 kMinPackedSize = 7;

struct Cursor {
  PackSource& pack;
  i64 at;
  bool Read(void* into, std::size_t count) {
    if (!pack.ReadAt(at, into, count)) return false;
    at += static_cast<i64>(count);
    return true;
  }
  bool ReadI32(i32& value) {
    u8 bytes[4];
    if (!Read(bytes, 4)) return false;
    value = static_cast<i32>(ReadLE32(bytes));
    return true;
  }
};

// A stored offset as a position in the pack: from the start, or from the end when the pack's
// directory offset is negative.
i64 Position(i64 packSize, bool fromEnd, i32 offset) {
  return fromEnd ? packSize + offset : static_cast<i64>(offset);
}

}  // namespace

PackSource::~PackSource() {
  if (fp_ != nullptr) std::fclose(fp_);
}

bool PackSource::Open(const std::string& packName) {
  if (IsMemoryName(packName.c_str())) {
    MemoryName parsed;
    if (!ParseMemoryName(packName.c_str(), parsed)) return false;
    block_ = FindMemoryBlock(parsed.address);
    memory_ = parsed.address;
    size_ = parsed.size;
    if (block_) size_ = std::min<i64>(size_, block_->Size());
    return true;
  }
  char path[kMaxFileNameLength + 1];
  if (!fopen_case(packName.c_str(), path)) {
    std::printf("request: fopen(\"%s\", \"%s\") failed\n", packName.c_str(), "rb");
    return false;
  }
  fp_ = std::fopen(path, "rb");
  if (fp_ == nullptr) {
    std::printf("request: fopen_case(\"%s\", \"%s\") opens \"%s\": %s\n", packName.c_str(), "rb",
                path, "failed");
    return false;
  }
  if (fseeko(fp_, 0, SEEK_END) != 0) return false;
  size_ = ftello(fp_);
  return size_ >= 0;
}

bool PackSource::ReadAt(i64 offset, void* into, std::size_t count) {
  if (offset < 0 || offset > size_ || static_cast<u64>(size_ - offset) < count) return false;
  if (memory_ != nullptr) {
    std::memcpy(into, memory_ + offset, count);
    return true;
  }
  if (fp_ == nullptr || fseeko(fp_, offset, SEEK_SET) != 0) return false;
  return std::fread(into, 1, count, fp_) == count;
}

std::string PackEntryName(const char* path) {
  const char* last = path;
  for (const char* c = path; *c != '\0'; ++c) {
    if (*c == '/' || *c == '\\') last = c + 1;
  }
  return last;
}

PackLookup FindPackEntry(PackSource& pack, const std::string& component, PackEntry& entry) {
  const i64 size = pack.Size();
  char magic[sizeof kPackMagic];
  if (!pack.ReadAt(size - kPackTrailerSize, magic, sizeof magic)) return PackLookup::kNotFound;
  if (std::memcmp(magic, kPackMagic, sizeof magic) != 0) return PackLookup::kNoPack;
  Cursor cursor{pack, size - 4};
  i32 directoryOffset = 0;
  if (!cursor.ReadI32(directoryOffset)) return PackLookup::kNotFound;
  const bool fromEnd = directoryOffset < 0;
  cursor.at = Position(size, fromEnd, directoryOffset);

  for (;;) {
    u8 length = 0;
    if (!cursor.Read(&length, 1) || length == 0) return PackLookup::kNotFound;
    entry.name.resize(length);
    if (!cursor.Read(entry.name.data(), length) || !cursor.ReadI32(entry.dataOffset) ||
        !cursor.ReadI32(entry.packedSize)) {
      return PackLookup::kNotFound;
    }
    if (EqualsIgnoringAsciiCase(entry.name, component)) break;
  }
  // Checked before anything is allocated: a damaged size must not reach the allocator.
  const i64 data = Position(size, fromEnd, entry.dataOffset);
  if (entry.packedSize < kMinPackedSize || data < 0 || data + entry.packedSize > size) {
    return PackLookup::kNotFound;
  }
  entry.packed.resize(static_cast<std::size_t>(entry.packedSize));
  if (!pack.ReadAt(data, entry.packed.data(), entry.packed.size())) return PackLookup::kNotFound;
  return PackLookup::kFound;
}
