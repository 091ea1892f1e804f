// Building .sbx packs: the packed entries, then the directory, then the trailer "sbX" and the
// directory offset. Entries are PackCodec mode-1 streams, named by their bare file names, exactly
// as the file resolver looks them up. With offsets counted from the end, the pack can be appended
// to any file (the runtime's executable included) and still be found.
#pragma once

#include <string>
#include <vector>

#include "core/types.h"

struct PackInput {
  std::string name;        // entry name: a bare file name of 1 to 255 bytes
  std::vector<u8> bytes;   // the file's contents
};

struct PackBuildResult {
  bool ok = false;
  std::string error;       // why the pack could not be built
  std::vector<u8> bytes;   // the pack, to be written after `prefixSize` existing bytes
};

// prefixSize: bytes that will precede the pack in its file (0 for a pack file of its own).
// fromEnd: write the directory and data offsets as negative counts from the end of the file.
PackBuildResult BuildPack(const std::vector<PackInput>& inputs, u64 prefixSize, bool fromEnd);

// The command line: sbxpack [--append] OUTPUT FILE...; returns the process status.
int RunSbxPack(int argc, const char* const* argv);
