// Platform information. Device reads are single open/read/close calls on the paths the platform
// seam holds, so tests point them at ordinary files; a device that is missing or answers short is
// treated as absent.
#include "core/platform_info.h"

#include <fcntl.h>
#include <string.h>  // strnlen
#include <sys/ioctl.h>
#include <unistd.h>

#include <cstring>

#include "core/byte_order.h"
#include "core/float_convert.h"
#include "core/program_services.h"
#include "core/text_functions.h"
#include "platform/platform_ops.h"

namespace {

constexpr unsigned long kDriveIdentityRequest = 0x307;  // the hard-disk "get identity" request
constexpr u32 kIdentityTextOffset = 40;

DynString NoData() { return DynString("NO_DATA"); }

DynString ReadDiskIdentity() {
  const int fd = open(Platform().diskPath.c_str(), O_RDONLY | O_NONBLOCK);
  if (fd < 0) return NoData();
  u8 block[kDiskIdentityBlockSize] = {};
  const int result = ioctl(fd, kDriveIdentityRequest, block);
  close(fd);
  if (result != 0) return NoData();
  return DiskIdentityText(block);
}

DynString LocalTimeText() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (localtime_r(&now, &local) == nullptr) return NoData();
  return FormatPlatformTime(local);
}

// Reads up to count bytes of the file at path over the preset contents of buffer; the number of
// bytes read, or -1 when the file does not open.
long ReadDevice(const std::string& path, u8* buffer, std::size_t count) {
  const int fd = open(path.c_str(), O_RDONLY);
  if (fd < 0) return -1;
  u8 bytes[8];
  if (count > sizeof bytes) count = sizeof bytes;
  const ssize_t got = read(fd, bytes, count);
  close(fd);
  if (got <= 0) return 0;
  std::memcpy(buffer, bytes, static_cast<std::size_t>(got));
  return static_cast<long>(got);
}

i32 ChargeFromReading(u32 r) {
  if (r > 745) return 100;
  if (r <= 678) return 0;
  return TruncToI32(static_cast<f32>(r - 678) * 100.0f / 67.0f);
}

i32 ChargeFromStatus(u32 status) {
  switch (status) {
    case 0: return 100;
    case 1: return 67;
    case 2: return 33;
    default: return 0;
  }
}

}  // namespace

DynString DiskIdentityText(const u8 (&block)[kDiskIdentityBlockSize]) {
  // The block need not hold a NUL after the text: stop at its end.
  const char* text = reinterpret_cast<const char*>(block) + kIdentityTextOffset;
  return DynString::FromBytes(
      text, static_cast<u32>(strnlen(text, kDiskIdentityBlockSize - kIdentityTextOffset)));
}

DynString FormatPlatformTime(const std::tm& t) {
  DynString text = DynString::FromInt(t.tm_year + 1900);
  const struct {
    const char* separator;
    int value;
  } fields[] = {{"-", t.tm_mon + 1}, {"-", t.tm_mday}, {" ", t.tm_hour},
                {":", t.tm_min},     {":", t.tm_sec}};
  for (const auto& field : fields) {
    text.AppendCString(field.separator);
    if (field.value <= 9) text.AppendCString("0");
    text.AppendNumber(static_cast<i32>(field.value));
  }
  return text;
}

i32 GetBatteryPercent() {
  u8 reading[2] = {0, 0};
  const long got = ReadDevice(Platform().batteryPath, reading, sizeof reading);
  if (got >= 0) {
    // A short read leaves half a reading: count it as nothing read.
    return got == 2 ? ChargeFromReading(ReadLE16(reading)) : 0;
  }
  u8 status[4] = {3, 0, 0, 0};  // "nothing read" unless the status device answers
  ReadDevice(Platform().adcPath, status, sizeof status);
  return ChargeFromStatus(ReadLE16(status));
}

DynString GetPlatformInfo(const DynString& key) {
  const DynString upper = ToUpperAscii(key);
  const char* k = upper.CStr();
  if (k[0] == '\0') return DynString("GP2X");
  if (std::strncmp(k, "GLEXT:", 6) == 0) return DynString("0");
  if (std::strcmp(k, "ID") == 0) return ReadDiskIdentity();
  if (std::strcmp(k, "DEVICE") == 0) return DynString("WIZ");
  if (std::strcmp(k, "TIME") == 0) return LocalTimeText();
  if (std::strcmp(k, "BATTERY") == 0)
    return DynString::FromFloat(static_cast<f32>(GetBatteryPercent()));
  if (std::strcmp(k, "COMPILED") == 0) return GetBuildStamp();
  return NoData();
}
