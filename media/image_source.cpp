// Image byte sources over files and memory blocks, and the opener for image writers.
#include "media/image_source.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

// TEMPORARY until the file layer lands: plain fopen and a local "mem://" parse.
namespace {
std::FILE* OpenCaseInsensitive(const char* name, const char* mode) {
  return std::fopen(name, mode);
}
bool ParseMemoryName(const char* name, const u8** block, i64* size) {
  const char* dot = std::strchr(name + 6, '.');
  if (dot == nullptr) return false;
  *size = std::strtol(name + 6, nullptr, 16);
  *block = reinterpret_cast<const u8*>(std::strtoull(dot + 1, nullptr, 16));
  return *block != nullptr;
}
}  // namespace

bool IsMemoryName(const char* name) {
  return name != nullptr && std::strncmp(name, "mem://", 6) == 0;
}

bool ImageSource::Open(const char* name) {
  Close();
  if (name == nullptr) return false;
  if (IsMemoryName(name)) {
    const u8* block = nullptr;
    i64 size = 0;
    if (!ParseMemoryName(name, &block, &size) || size < 0) return false;
    OpenBytes(block, static_cast<size_t>(size));
    return true;
  }
  file_ = OpenCaseInsensitive(name, "rb");
  if (file_ == nullptr) return false;
  if (std::fseek(file_, 0, SEEK_END) == 0) {
    long end = std::ftell(file_);
    size_ = end > 0 ? end : 0;
  }
  std::fseek(file_, 0, SEEK_SET);
  position_ = 0;
  return true;
}

void ImageSource::OpenBytes(const u8* bytes, size_t size) {
  Close();
  memory_ = bytes;
  size_ = bytes != nullptr ? static_cast<i64>(size) : 0;
  position_ = 0;
}

void ImageSource::Close() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
  memory_ = nullptr;
  size_ = 0;
  position_ = 0;
}

size_t ImageSource::ReadSome(void* dst, size_t n) {
  if (n == 0) return 0;
  if (file_ != nullptr) {
    size_t got = std::fread(dst, 1, n, file_);
    position_ += static_cast<i64>(got);
    return got;
  }
  if (memory_ == nullptr) return 0;
  size_t got = static_cast<size_t>(std::min<i64>(static_cast<i64>(n), Remaining()));
  if (got > 0) std::memcpy(dst, memory_ + position_, got);
  position_ += static_cast<i64>(got);
  return got;
}

bool ImageSource::ReadField(void* dst, size_t n) {
  size_t got = ReadSome(dst, n);
  if (got == n) return true;
  if (file_ != nullptr || memory_ == nullptr) return false;
  std::memset(static_cast<u8*>(dst) + got, 0, n - got);
  return true;
}

bool ImageSource::Skip(i64 n) {
  if (n <= 0) return true;
  if (file_ != nullptr) {
    if (n > Remaining()) return false;
    if (std::fseek(file_, static_cast<long>(n), SEEK_CUR) != 0) return false;
    position_ += n;
    return true;
  }
  if (memory_ == nullptr) return false;
  position_ = std::min(size_, position_ + n);
  return true;
}

std::FILE* OpenImageFileForWrite(const char* name) {
  if (name == nullptr || IsMemoryName(name)) return nullptr;
  std::remove(name);
  std::FILE* fp = OpenCaseInsensitive(name, "wb");
  if (fp == nullptr) fp = std::fopen(name, "wb");
  if (fp == nullptr) std::printf("can't write to file: %s\n", name);
  return fp;
}
