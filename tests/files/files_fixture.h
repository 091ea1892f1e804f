// Shared pieces of the file-layer tests: a fixture that works inside its own temporary folder
// with fresh resolver contexts, and hand-made .sbx packs whose every field the test controls.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/runtime_globals.h"
#include "files/file_resolver.h"
#include "files/pack_codec.h"
#include "platform/platform_ops.h"
#include "tests/support/test_support.h"

// Runs each test in a fresh temporary folder (also the resolver's temporary folder) with both
// resolver contexts created and no pack set; everything is put back afterwards.
class FilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    savedCwd_ = cwd;
    ASSERT_EQ(chdir(dir_.path().c_str()), 0);
    Platform().tempFolder = dir_.path() + "/unpacked/";
    ASSERT_EQ(mkdir(Platform().tempFolder.c_str(), 0700), 0);
    generalResolver = CreateFileResolverContext();
    musicResolver = CreateFileResolverContext();
  }
  void TearDown() override {
    DeleteFileResolverContext(generalResolver);
    DeleteFileResolverContext(musicResolver);
    Platform().tempFolder.clear();
    ASSERT_EQ(chdir(savedCwd_.c_str()), 0);
  }
  std::string Path(const std::string& name) const { return dir_.File(name); }
  void SetPack(const std::string& general, const std::string& music = "") {
    DynString g(general.c_str()), m(music.c_str());
    SetFileResolverBase(g, m);
  }

  ScopedTempDir dir_;

 private:
  std::string savedCwd_;
};

inline std::string LE32(i32 v) {
  const u32 u = static_cast<u32>(v);
  return {static_cast<char>(u), static_cast<char>(u >> 8), static_cast<char>(u >> 16),
          static_cast<char>(u >> 24)};
}

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

struct PackFile {
  std::string name;
  std::string contents;
};

// A well-formed pack after `prefix`: the streams, the directory, "sbX" and the directory offset,
// the offsets from the start of the file or, with fromEnd, negative from its end.
inline std::string MakePack(const std::vector<PackFile>& files, bool fromEnd = false,
                            const std::string& prefix = "") {
  i64 total = static_cast<i64>(prefix.size()) + 1 + 7;
  for (const PackFile& f : files) total += PackedStream(f.contents).size() + 9 + f.name.size();
  auto stored = [&](std::size_t position) {
    return static_cast<i32>(fromEnd ? static_cast<i64>(position) - total : static_cast<i64>(position));
  };
  std::string data;
  std::vector<RawEntry> entries;
  for (const PackFile& f : files) {
    const std::string stream = PackedStream(f.contents);
    entries.push_back({f.name, stored(prefix.size() + data.size()), static_cast<i32>(stream.size())});
    data += stream;
  }
  return prefix + data + DirectoryBytes(entries) + "sbX" + LE32(stored(prefix.size() + data.size()));
}
