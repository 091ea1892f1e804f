// Platform information: key matching, the time format, the disk identity text and the battery
// charge from fake device files.
#include <cstdio>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "core/platform_info.h"
#include "platform/platform_ops.h"
#include "tests/support/test_support.h"

using namespace std::string_literals;

namespace {

// Points every device path of the platform seam into a fresh temporary folder (where nothing
// exists until a test writes it) and puts the real table back afterwards.
class PlatformInfoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Platform().diskPath = dir_.File("hda");
    Platform().batteryPath = dir_.File("batt");
    Platform().adcPath = dir_.File("adc");
  }
  void TearDown() override { ResetPlatformOps(); }
  ScopedTempDir dir_;
};

TEST_F(PlatformInfoTest, KeysTimeDiskIdentityAndBattery) {
  const char* rows[][2] = {{"", "GP2X"}, {"glext:anything", "0"}, {"GLEX", "NO_DATA"},
                           {"Device", "WIZ"}, {"DEVICES", "NO_DATA"}, {"id", "NO_DATA"},
                           {"compiled", "Jun 20 2009-19:13:10"}};
  for (const auto& row : rows)
    EXPECT_EQ(row[1], BytesOf(GetPlatformInfo(DynString(row[0])))) << row[0];
  ASSERT_TRUE(WriteFileBytes(Platform().diskPath, std::string(512, 'x')));  // not a drive
  EXPECT_EQ("NO_DATA", BytesOf(GetPlatformInfo(DynString("ID"))));
  const DynString key("time");
  EXPECT_EQ(19u, GetPlatformInfo(key).length);
  EXPECT_STREQ("time", key.CStr());  // the caller's key is not changed
  // The time pads every field but the year.
  std::tm t{};
  t.tm_year = 109, t.tm_mon = 1, t.tm_mday = 3, t.tm_hour = 9, t.tm_min = 7, t.tm_sec = 5;
  EXPECT_STREQ("2009-02-03 09:07:05", FormatPlatformTime(t).CStr());
  t.tm_year = -901, t.tm_mon = 9, t.tm_mday = 10, t.tm_hour = 10, t.tm_min = 10, t.tm_sec = 10;
  EXPECT_STREQ("999-10-10 10:10:10", FormatPlatformTime(t).CStr());
  // The disk identity is the text at byte 40, within the block.
  u8 block[kDiskIdentityBlockSize] = {};
  std::memcpy(block + 40, "WD-WCAV12345", 12);
  EXPECT_STREQ("WD-WCAV12345", DiskIdentityText(block).CStr());
  std::memset(block, 'A', sizeof block);  // no NUL anywhere: the text ends with the block
  EXPECT_EQ(std::string(472, 'A'), BytesOf(DiskIdentityText(block)));
  // The battery charge from the reading, else from the status.
  const struct {
    const char* battery;  // the battery device's answer (little endian), or nullptr: no device
    std::string status;   // the status device's answer
    i32 percent;
  } readings[] = {
      // Readings 800, 678, 679, 712, 745 and a short read; a battery device wins over the status.
      {"\x20\x03", "\x01\0\0\0"s, 100}, {"\xA6\x02", "", 0}, {"\xA7\x02", "", 1},
      {"\xC8\x02", "", 50}, {"\xE9\x02", "", 100}, {"\xBC", "\x01\0\0\0"s, 0},
      {nullptr, "\0\0\0\0"s, 100}, {nullptr, "\x01\0\0\0"s, 67}, {nullptr, "\x02\0\0\0"s, 33},
      {nullptr, "\0\x01\0\0"s, 0},  // status 256
      {nullptr, "", 0},             // nothing read keeps the preset 3
      {nullptr, "\x01", 67},        // one byte replaces only the low byte of the preset 3
  };
  for (const auto& row : readings) {
    std::remove(Platform().batteryPath.c_str());
    if (row.battery != nullptr) {
      ASSERT_TRUE(WriteFileBytes(Platform().batteryPath, row.battery));
    }
    ASSERT_TRUE(WriteFileBytes(Platform().adcPath, row.status));
    EXPECT_EQ(row.percent, GetBatteryPercent())
        << (row.battery ? "battery " : "status ") << row.percent;
  }
  EXPECT_EQ("67", BytesOf(GetPlatformInfo(DynString("BATTERY"))));
}

}  // namespace
