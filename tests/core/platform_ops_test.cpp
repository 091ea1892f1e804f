// The temporary-folder rule of the platform seam.
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "platform/platform_ops.h"
#include "tests/support/test_support.h"

namespace {

const char* tmpdirValue = nullptr;
const char* FakeGetEnv(const char* name) {
  return std::strcmp(name, "TMPDIR") == 0 ? tmpdirValue : nullptr;
}

bool HandheldCardPresent() {
  struct stat info {};
  return stat("/mnt/sd/", &info) == 0 && S_ISDIR(info.st_mode) && access("/mnt/sd/", W_OK) == 0;
}

TEST(PlatformTempFolder, Rule) {
  if (HandheldCardPresent()) GTEST_SKIP() << "a writable /mnt/sd/ takes precedence here";
  Platform().getEnv = FakeGetEnv;
  const struct {
    const char* configured;
    const char* tmpdir;
    const char* expected;
  } rows[] = {
      {"/data/unpack/", "/x", "/data/unpack/"},
      {"", "/var/tmp", "/var/tmp/"},
      {"", "/var/tmp/", "/var/tmp/"},
      {"", "", "/tmp/"},
      {"", nullptr, "/tmp/"},
  };
  for (const auto& row : rows) {
    Platform().tempFolder = row.configured;
    tmpdirValue = row.tmpdir;
    EXPECT_EQ(row.expected, PlatformTempFolder()) << row.configured << " / "
                                                  << (row.tmpdir ? row.tmpdir : "(unset)");
  }
  ResetPlatformOps();
  EXPECT_TRUE(Platform().tempFolder.empty());
  EXPECT_EQ("/dev/GPIO", Platform().gpioPath);
}

}  // namespace
