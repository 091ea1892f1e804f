// The file resolver: turns a program's file name into one that opens. In order: a "mem://" name
// is taken as it is; a file on disk under its exact name or a name that differs only in letter
// case; the entry of that name in the context's .sbx pack, unpacked into a memory block (handed
// out as a "mem://" name) or into a temporary file. Two contexts exist, one for music and one for
// every other loader; each keeps what its last resolution handed out until its next one.
#pragma once

#include <forward_list>
#include <string>

#include "core/dyn_string.h"
#include "core/types.h"
#include "files/memory_block.h"

constexpr int kResolvedPathSize = 1024;  // the size of every ResolveFile output buffer

struct FileResolverContext {
  u8 active = 1;                  // 1 while the pack may be searched
  std::string packName;           // empty: no pack
  std::string tempFile;           // the temporary file of the last resolution, or empty
  SharedMemoryBlock memoryData;   // the block of the last resolution, or null
  std::forward_list<std::string> entryList;  // nothing adds to it; emptied by every reset
};

FileResolverContext* CreateFileResolverContext();
// Active again, block released or temporary file removed, pack and temporary names emptied.
void ResetFileResolverContext(FileResolverContext* context);
// Resets and deletes the context; the pointer becomes null.
void DeleteFileResolverContext(FileResolverContext*& context);

// 1 with outPath (kResolvedPathSize bytes) set when the name was found, else 0. A null context
// resolves without a pack. allowMemory = false unpacks pack entries into temporary files.
int ResolveFile(FileResolverContext* context, const char* name, char* outPath, bool allowMemory);
// Resets both global contexts and gives them their pack names (general first, then music).
void SetFileResolverBase(DynString& generalPack, DynString& musicPack);
