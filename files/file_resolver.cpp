// ResolveFile and the resolver contexts.
#include "files/file_resolver.h"

#include <cstdio>
#include <cstring>

#include "core/runtime_globals.h"
#include "files/file_open.h"
#include "files/memory_name.h"
#include "files/pack_codec.h"
#include "files/pack_reader.h"
#include "platform/platform_ops.h"

namespace {

void SetOutPath(char* outPath, const std::string& path) {
  std::memcpy(outPath, path.c_str(), path.size() + 1);
}

bool FitsOutPath(const std::string& path) { return path.size() < kResolvedPathSize; }

// Releases what the previous resolution handed out, except the very block or temporary file
// that is being asked for again (a resolved name may be resolved once more before it is read).
void ReleasePrevious(FileResolverContext* context, const char* name) {
  if (context->memoryData) {
    MemoryName requested;
    if (!ParseMemoryName(name, requested) || requested.address != context->memoryData->Data()) {
      context->memoryData.reset();
    }
  }
  if (!context->tempFile.empty() && (name == nullptr || context->tempFile != name)) {
    std::remove(context->tempFile.c_str());
    context->tempFile.clear();
  }
}

bool ExistsOnDisk(const char* name) {
  std::FILE* fp = FopenCase(name, "rb");
  if (fp == nullptr) return false;
  std::fclose(fp);
  return true;
}

// "sbx__" with its last two letters taken from the entry's offset and size, then the entry name.
std::string TemporaryPath(const PackEntry& entry) {
  std::string leaf = "sbx__";
  leaf[3] = static_cast<char>('A' + (entry.dataOffset & 0xFF) % 26);
  leaf[4] = static_cast<char>('A' + (entry.packedSize & 0xFF) % 26);
  return PlatformTempFolder() + leaf + entry.name;
}

bool WriteTemporaryFile(const std::string& path, const u8* bytes, std::size_t size) {
  std::FILE* fp = CreateFileForWriting(path.c_str());
  if (fp == nullptr) return false;
  bool ok = std::fwrite(bytes, 1, size, fp) == size;
  ok = std::fclose(fp) == 0 && ok;
  if (!ok) {
    std::remove(path.c_str());
    std::printf("can't write to file: %s\n", path.c_str());
  }
  return ok;
}

// Steps past the disk: the pack of the context. outPath is emptied where the pack was read and
// held nothing usable, and left alone where no pack was searched.
int ResolveFromPack(FileResolverContext* context, const char* name, char* outPath,
                    bool allowMemory) {
  if (!context->active) return 0;
  if (context->packName.empty()) {
    context->active = 0;
    return 0;
  }
  PackSource pack;
  if (!pack.Open(context->packName)) {
    context->active = 0;
    return 0;
  }
  PackEntry entry;
  const PackLookup lookup = FindPackEntry(pack, PackEntryName(name), entry);
  if (lookup == PackLookup::kNoPack) {
    context->active = 0;
    return 0;
  }
  PackCodec codec;
  codec.mode = 1;
  if (lookup == PackLookup::kFound) {
    codec.Decompress(entry.packed.data(), entry.packedSize);
  }
  if (lookup != PackLookup::kFound || !codec.Succeeded()) {
    outPath[0] = '\0';
    return 0;
  }
  const u32 size = static_cast<u32>(codec.outLength);
  if (allowMemory) {
    context->memoryData = MakeMemoryBlock(codec.TakeOutput(), size);
    SetOutPath(outPath, FormatMemoryName(size, context->memoryData->Data()));
    return 1;
  }
  const std::string path = TemporaryPath(entry);
  if (!FitsOutPath(path) || !WriteTemporaryFile(path, codec.out, size)) return 0;
  context->tempFile = path;
  SetOutPath(outPath, path);
  return 1;
}

}  // namespace

FileResolverContext* CreateFileResolverContext() { return new FileResolverContext(); }

void ResetFileResolverContext(FileResolverContext* context) {
  if (context == nullptr) return;
  context->active = 1;
  if (context->memoryData) {
    context->memoryData.reset();
  } else if (!context->tempFile.empty()) {
    std::remove(context->tempFile.c_str());
  }
  context->entryList.clear();
  context->tempFile.clear();
  context->packName.clear();
}

void DeleteFileResolverContext(FileResolverContext*& context) {
  ResetFileResolverContext(context);
  delete context;
  context = nullptr;
}

int ResolveFile(FileResolverContext* context, const char* name, char* outPath, bool allowMemory) {
  if (context != nullptr) ReleasePrevious(context, name);
  if (name == nullptr || name[0] == '\0' || std::strlen(name) >= kResolvedPathSize) {
    outPath[0] = '\0';
    return 0;
  }
  if (IsMemoryName(name) || ExistsOnDisk(name)) {
    // The name as requested: every opener repeats the case-insensitive search.
    std::memmove(outPath, name, std::strlen(name) + 1);
    return 1;
  }
  if (context == nullptr) return 0;
  return ResolveFromPack(context, name, outPath, allowMemory);
}

void SetFileResolverBase(DynString& generalPack, DynString& musicPack) {
  auto setPack = [](FileResolverContext* context, const DynString& pack) {
    if (context == nullptr) return;
    ResetFileResolverContext(context);
    // A pack name too long for the name interfaces is no pack.
    if (pack.Length() <= static_cast<u32>(kMaxFileNameLength)) context->packName = pack.CStr();
  };
  setPack(generalResolver, generalPack);
  setPack(musicResolver, musicPack);
}
