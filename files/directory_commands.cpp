// Directory listing, wildcard matching and the working directory.
#include "files/directory_commands.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "core/grow_vector.h"
#include "files/ascii_case.h"
#include "platform/platform_ops.h"

namespace {

bool IsEveryName(const char* pattern) { return std::strcmp(pattern, "*.*") == 0; }

bool CharMatches(char p, char n) { return p == '?' ? n != '.' : AsciiLower(p) == AsciiLower(n); }

}  // namespace

int MatchWildcard(const char* pattern, const char* name) {
  if (IsEveryName(pattern)) return 1;
  const char* p = pattern;
  const char* n = name;
  const char* starPattern = nullptr;  // just after the last '*' run
  const char* starName = nullptr;     // where that run is anchored in the name
  while (*n != '\0') {
    if (*p == '*') {
      while (*p == '*') ++p;
      if (*p == '\0') return 1;
      starPattern = p;
      starName = n;
    } else if (*p != '\0' && CharMatches(*p, *n)) {
      ++p;
      ++n;
    } else if (starPattern != nullptr) {
      p = starPattern;
      n = ++starName;
    } else {
      return 0;
    }
  }
  while (*p == '*') ++p;
  return *p == '\0' ? 1 : 0;
}

f32 ListDirectory(DynString& pattern, DynArray<DynString>& names) {
  GrowVector<DynString> directories;
  GrowVector<DynString> files;
  if (DIR* dir = opendir(".")) {
    const bool everyName = IsEveryName(pattern.CStr());
    while (const dirent* entry = readdir(dir)) {
      const DynString name(entry->d_name);
      if (IsDirectory(entry->d_name)) {
        directories.Append(name);
      } else if (everyName || MatchWildcard(pattern.CStr(), entry->d_name)) {
        files.Append(name);
      }
    }
    closedir(dir);
  }
  names.Redim(directories.Count() + files.Count());
  i32 at = 0;
  for (const DynString& name : directories) names.data[at++] = name;
  for (const DynString& name : files) names.data[at++] = name;
  return static_cast<f32>(static_cast<u32>(files.Count()) +
                          65536u * static_cast<u32>(directories.Count()));
}

int IsDirectory(const char* path) {
  struct stat status;
  return path != nullptr && stat(path, &status) == 0 && S_ISDIR(status.st_mode) ? 1 : 0;
}

f32 ChangeDirectory(DynString& path) {
  return Platform().changeDir(path.CStr()) == 0 ? 1.0f : 0.0f;
}

DynString GetCurrentDirectory() {
  // Grows until the path fits; a working directory that cannot be read gives "".
  std::vector<char> buffer(4096);
  while (getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE || buffer.size() >= (1u << 20)) return DynString();
    buffer.resize(buffer.size() * 2);
  }
  std::string path = buffer.data();
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  if (!path.empty() && path.back() != '/') path += '/';
  return DynString(path.c_str());
}

u32 BackslashesToSlashes(DynString& text) {
  for (u32 i = 0; i < text.Length(); ++i) {
    if (text.data[i] == '\\') text.data[i] = '/';
  }
  return text.Length();
}
