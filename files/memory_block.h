// Blocks of unpacked pack entries, handed out by the resolver as "mem://" names. A block is
// shared: the resolver context that unpacked it holds it until its next resolution, and every
// channel opened on its name holds it until the channel closes, so a channel never reads a block
// that the context has let go. Live blocks are registered by address, which is how a channel
// opened on a name finds the block behind it. Names that a program builds over its own memory are
// not registered and stay plain pointers.
#pragma once

#include <memory>

#include "core/types.h"

class MemoryBlock {
 public:
  explicit MemoryBlock(std::unique_ptr<u8[]> bytes, u32 size);
  ~MemoryBlock();
  MemoryBlock(const MemoryBlock&) = delete;
  MemoryBlock& operator=(const MemoryBlock&) = delete;

  const u8* Data() const { return bytes_.get(); }
  u32 Size() const { return size_; }

 private:
  std::unique_ptr<u8[]> bytes_;  // never null, even for an empty block, so its address names it
  u32 size_;
};

using SharedMemoryBlock = std::shared_ptr<const MemoryBlock>;

// Takes over `bytes` (allocated with new[]; null for an empty block) and registers the block.
SharedMemoryBlock MakeMemoryBlock(u8* bytes, u32 size);
// The live registered block that starts at `address`, or null.
SharedMemoryBlock FindMemoryBlock(const void* address);
