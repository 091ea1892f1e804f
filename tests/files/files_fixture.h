// Shared pieces of the file-layer tests (and of other suites that load through the resolver): a
// fixture that works inside its own temporary folder with fresh resolver contexts, byte-exact
// texts, and hand-made .sbx packs whose every field the test controls.
#pragma once

#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "core/dyn_string.h"
#include "core/runtime_globals.h"
#include "files/file_resolver.h"
#include "files/memory_name.h"
#include "files/pack_codec.h"
#include "platform/platform_ops.h"
#include "tests/support/test_support.h"

// Runs each test in a fresh temporary folder (also the resolver's temporary folder) with both
// resolver contexts created and no pack set; everything is put back afterwards.
class FilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    savedCwd_ = std::filesystem::current_path();
    std::filesystem::current_path(dir_.path());
    Platform().tempFolder = dir_.path() + "/unpacked/";
    ASSERT_EQ(mkdir(Platform().tempFolder.c_str(), 0700), 0);
    generalResolver = CreateFileResolverContext();
    musicResolver = CreateFileResolverContext();
  }
  void TearDown() override {
    DeleteFileResolverContext(generalResolver);
    DeleteFileResolverContext(musicResolver);
    Platform().tempFolder.clear();
    std::filesystem::current_path(savedCwd_);
  }
  std::string Path(const std::string& name) const { return dir_.File(name); }
  static void SetPack(const std::string& general, const std::string& music = "") {
    DynString g(general.c_str()), m(music.c_str());
    SetFileResolverBase(g, m);
  }

 private:
  ScopedTempDir dir_;
  std::filesystem::path savedCwd_;
};

// The "mem://" name of a string's bytes.
inline std::string MemName(const std::string& bytes) {
  return FormatMemoryName(static_cast<u32>(bytes.size()), bytes.data());
}

inline std::string LE32(i32 v) { return LE(static_cast<u32>(v), 4); }

// A mode-1 stream of the bytes, as packs store their entries.
inline std::string PackedStream(const std::string& bytes) {
  PackCodec codec;
  codec.mode = 1;
  codec.Compress(reinterpret_cast<const u8*>(bytes.data()), static_cast<i32>(bytes.size()));
  return std::string(reinterpret_cast<const char*>(codec.out), codec.outLength);
}

// A directory entry as stored: the values are written as given, valid or not.
struct RawEntry {
  std::string name;
  i32 dataOffset;
  i32 packedSize;
};

inline std::string DirectoryBytes(const std::vector<RawEntry>& entries) {
  std::string bytes;
  for (const RawEntry& e : entries) {
    bytes += static_cast<char>(e.name.size()) + e.name + LE32(e.dataOffset) + LE32(e.packedSize);
  }
  return bytes + '\0';
}

using PackFile = std::pair<std::string, std::string>;  // an entry's name and contents

// A well-formed pack after `prefix`: the streams, the directory, "sbX" and the directory offset,
// the offsets from the start of the file or, with fromEnd, negative from its end.
inline std::string MakePack(const std::vector<PackFile>& files, bool fromEnd = false,
                            const std::string& prefix = "") {
  std::string data = prefix;
  std::vector<RawEntry> entries;
  for (const PackFile& f : files) {
    const std::string stream = PackedStream(f.second);
    entries.push_back({f.first, static_cast<i32>(data.size()), static_cast<i32>(stream.size())});
    data += stream;
  }
  i32 directory = static_cast<i32>(data.size());
  if (fromEnd) {
    const i32 total = directory + static_cast<i32>(DirectoryBytes(entries).size()) + 7;
    for (RawEntry& e : entries) e.dataOffset -= total;
    directory -= total;
  }
  return data + DirectoryBytes(entries) + "sbX" + LE32(directory);
}
