// The registry of live resolver blocks, keyed by address.
#include "files/memory_block.h"

#include <unordered_map>

namespace {

// Holds no ownership: a block removes itself when its last holder lets it go.
std::unordered_map<const void*, std::weak_ptr<const MemoryBlock>>& Registry() {
  static auto* registry = new std::unordered_map<const void*, std::weak_ptr<const MemoryBlock>>;
  return *registry;
}

}  // namespace

MemoryBlock::MemoryBlock(std::unique_ptr<u8[]> bytes, u32 size)
    : bytes_(std::move(bytes)), size_(size) {
  if (!bytes_) bytes_ = std::make_unique<u8[]>(1);
}

MemoryBlock::~MemoryBlock() { Registry().erase(bytes_.get()); }

SharedMemoryBlock MakeMemoryBlock(u8* bytes, u32 size) {
  auto block = std::make_shared<const MemoryBlock>(std::unique_ptr<u8[]>(bytes), size);
  Registry()[block->Data()] = block;
  return block;
}

SharedMemoryBlock FindMemoryBlock(const void* address) {
  const auto it = Registry().find(address);
  return it == Registry().end() ? nullptr : it->second.lock();
}
