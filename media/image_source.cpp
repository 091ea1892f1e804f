// Image byte sources over file channels.
#include "media/image_source.h"

#include <algorithm>
#include <cstring>

bool ImageSource::Open(const char* name) { return OpenFileChannelRead(&channel_, name) != 0; }

size_t ImageSource::ReadSome(void* dst, size_t n) {
  if (n == 0) return 0;
  size_t got = 0;
  if (channel_.fp != nullptr) {
    got = std::fread(dst, 1, n, channel_.fp);
  } else if (channel_.memData != nullptr) {
    got = static_cast<size_t>(std::min<i64>(static_cast<i64>(n), Remaining()));
    if (got > 0) std::memcpy(dst, channel_.memData + channel_.pos, got);
  }
  channel_.pos += static_cast<i32>(got);
  return got;
}

bool ImageSource::ReadField(void* dst, size_t n) {
  const size_t got = ReadSome(dst, n);
  if (got == n) return true;
  if (channel_.memData == nullptr) return false;
  std::memset(static_cast<u8*>(dst) + got, 0, n - got);
  return true;
}

bool ImageSource::Skip(i64 n) {
  if (n <= 0) return true;
  if (channel_.fp != nullptr) {
    if (n > Remaining() || std::fseek(channel_.fp, static_cast<long>(n), SEEK_CUR) != 0)
      return false;
    channel_.pos += static_cast<i32>(n);
    return true;
  }
  if (channel_.memData == nullptr) return false;
  channel_.pos += static_cast<i32>(std::min(n, Remaining()));
  return true;
}
