// Case-insensitive opening of files.
#include "files/file_open.h"

#include <dirent.h>

#include <cstring>
#include <string>

#include "files/ascii_case.h"

namespace {

// Names that fit the 1024-byte buffer behind "./".
constexpr std::size_t kMaxSearchName = 1020;

struct SplitName {
  std::string directory;   // what opendir gets
  std::string prefix;      // what goes before a matched entry ("" for the current directory)
  std::string component;   // the last component
};

SplitName Split(const std::string& name) {
  const std::size_t slash = name.rfind('/');
  if (slash == std::string::npos) return {".", "", name};
  // A name directly under the root keeps the root as its directory.
  std::string directory = slash == 0 ? "/" : name.substr(0, slash);
  return {directory, name.substr(0, slash + 1), name.substr(slash + 1)};
}

// The path of the first entry of the name's directory that equals its last component ignoring
// case; false when there is none or the directory cannot be read.
bool FindCaseInsensitive(const char* name, std::string& path) {
  if (std::strlen(name) > kMaxSearchName) return false;
  const SplitName split = Split(name);
  if (split.component.empty()) return false;
  DIR* dir = opendir(split.directory.c_str());
  if (dir == nullptr) return false;
  bool found = false;
  while (const dirent* entry = readdir(dir)) {
    if (EqualsIgnoringAsciiCase(entry->d_name, split.component)) {
      path = split.prefix + entry->d_name;
      found = true;
      break;
    }
  }
  closedir(dir);
  return found;
}

bool OpensForReading(const char* name) {
  std::FILE* fp = std::fopen(name, "rb");
  if (fp == nullptr) return false;
  std::fclose(fp);
  return true;
}

std::FILE* OpenReported(const char* name, const char* mode, const char* path) {
  std::FILE* fp = std::fopen(path, mode);
  if (fp == nullptr) {
    std::printf("request: fopen_case(\"%s\", \"%s\") opens \"%s\": %s\n", name, mode, path,
                "failed");
  }
  return fp;
}

bool WritesOrAppends(const char* mode) {
  return std::strchr(mode, 'w') != nullptr || std::strchr(mode, 'a') != nullptr;
}

}  // namespace

int fopen_case(const char* name, char* out) {
  if (name == nullptr || out == nullptr) return 0;
  std::string path = name;
  if (!OpensForReading(name) && !FindCaseInsensitive(name, path)) return 0;
  if (path.size() > static_cast<std::size_t>(kMaxFileNameLength)) return 0;
  std::memcpy(out, path.c_str(), path.size() + 1);
  return 1;
}

std::FILE* FopenCase(const char* name, const char* mode) {
  if (name == nullptr || mode == nullptr) return nullptr;
  if (OpensForReading(name)) return OpenReported(name, mode, name);
  std::string path;
  if (FindCaseInsensitive(name, path)) return OpenReported(name, mode, path.c_str());
  if (!WritesOrAppends(mode)) {
    std::printf("request: fopen(\"%s\", \"%s\") failed\n", name, mode);
    return nullptr;
  }
  std::FILE* fp = std::fopen(name, mode);
  if (fp == nullptr) std::printf("wrt-request: fopen(\"%s\", \"%s\") failed\n\n", name, mode);
  return fp;
}

std::FILE* FopenCase(FileChannel* /*channel*/, const char* name, const char* mode) {
  return FopenCase(name, mode);
}

std::FILE* CreateFileForWriting(const char* name) {
  std::remove(name);
  std::FILE* fp = FopenCase(name, "wb");
  if (fp == nullptr) fp = std::fopen(name, "wb");
  if (fp == nullptr) std::printf("can't write to file: %s\n", name);
  return fp;
}
