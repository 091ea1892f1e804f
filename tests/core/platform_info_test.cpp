// Platform information: key matching, the time format, the disk identity text and the battery
// charge from fake device files.
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "core/platform_info.h"
#include "platform/platform_ops.h"
#include "tests/core/text_bytes.h"
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

  std::string Answer(const char* key) { return BytesOf(GetPlatformInfo(DynString(key))); }

  ScopedTempDir dir_;
};

TEST_F(PlatformInfoTest, MatchesKeysIgnoringCase) {
  struct Row {
    const char* key;
    const char* answer;
  };
  const Row rows[] = {
      {"", "GP2X"},      {"glext:anything", "0"}, {"GLEX", "NO_DATA"}, {"device", "WIZ"},
      {"Device", "WIZ"}, {"DEVICES", "NO_DATA"},  {"id", "NO_DATA"},   {"battery", "0"},
      {"compiled", "Jun 20 2009-19:13:10"},
  };
  for (const Row& row : rows) EXPECT_EQ(row.answer, Answer(row.key)) << "key " << row.key;
}

TEST_F(PlatformInfoTest, LeavesTheCallersKeyAlone) {
  const DynString key("time");
  const DynString answer = GetPlatformInfo(key);
  EXPECT_STREQ("time", key.CStr());
  ASSERT_EQ(19u, answer.length) << answer.CStr();
  for (int i : {4, 7}) EXPECT_EQ('-', answer.data[i]);
  EXPECT_EQ(' ', answer.data[10]);
  for (int i : {13, 16}) EXPECT_EQ(':', answer.data[i]);
}

TEST(PlatformTime, PadsEveryFieldButTheYear) {
  struct Row {
    int year, month, day, hour, minute, second;
    const char* text;
  };
  const Row rows[] = {{109, 1, 3, 9, 7, 5, "2009-02-03 09:07:05"},
                      {-901, 9, 10, 10, 10, 10, "999-10-10 10:10:10"}};
  for (const Row& row : rows) {
    std::tm t{};
    t.tm_year = row.year;
    t.tm_mon = row.month;
    t.tm_mday = row.day;
    t.tm_hour = row.hour;
    t.tm_min = row.minute;
    t.tm_sec = row.second;
    EXPECT_STREQ(row.text, FormatPlatformTime(t).CStr());
  }
}

TEST(DiskIdentity, ReadsTheTextAtByte40WithinTheBlock) {
  u8 block[kDiskIdentityBlockSize] = {};
  std::memcpy(block + 40, "WD-WCAV12345", 12);
  std::memcpy(block + 20, "SERIAL", 6);
  EXPECT_STREQ("WD-WCAV12345", DiskIdentityText(block).CStr());

  std::memset(block, 'A', sizeof block);  // no NUL anywhere: the text ends with the block
  EXPECT_EQ(std::string(472, 'A'), BytesOf(DiskIdentityText(block)));
}

TEST_F(PlatformInfoTest, IdentityOfAnOrdinaryFileIsNoData) {
  ASSERT_TRUE(WriteFileBytes(Platform().diskPath, std::string(512, 'x')));
  EXPECT_EQ("NO_DATA", Answer("ID"));
}

TEST_F(PlatformInfoTest, BatteryReadingMapsLinearly) {
  struct Row {
    std::string bytes;  // the device's answer, little endian
    i32 percent;
  };
  const Row rows[] = {
      {"\x20\x03"s, 100}, {"\xA6\x02"s, 0}, {"\xBC\x02"s, 32}, {"\xA7\x02"s, 1},  // 800 678 700 679
      {"\xC8\x02"s, 50},  {"\xE9\x02"s, 100}, {"\xEA\x02"s, 100},               // 712 745 746
      {"\xBC"s, 0}, {""s, 0},  // a short read is no reading
  };
  // The status device would give 67; a present battery device must win over it.
  ASSERT_TRUE(WriteFileBytes(Platform().adcPath, "\x01\x00\x00\x00"s));
  for (const Row& row : rows) {
    ASSERT_TRUE(WriteFileBytes(Platform().batteryPath, row.bytes));
    EXPECT_EQ(row.percent, GetBatteryPercent()) << row.percent;
  }
}

TEST_F(PlatformInfoTest, WithoutBatteryDeviceTheStatusDecides) {
  struct Row {
    std::string bytes;
    i32 percent;
  };
  const Row rows[] = {
      {"\x00\x00\x00\x00"s, 100}, {"\x01\x00\x00\x00"s, 67}, {"\x02\x00\x00\x00"s, 33},
      {"\x00\x01\x00\x00"s, 0},   // status 256
      {"\x01"s, 67},              // one byte replaces only the low byte of the preset 3
      {""s, 0},                   // nothing read keeps the preset 3
  };
  for (const Row& row : rows) {
    ASSERT_TRUE(WriteFileBytes(Platform().adcPath, row.bytes));
    EXPECT_EQ(row.percent, GetBatteryPercent()) << row.percent;
  }
  ASSERT_TRUE(WriteFileBytes(Platform().adcPath, "\x01\x00\x00\x00"s));
  EXPECT_EQ("67", Answer("BATTERY"));
}

}  // namespace
