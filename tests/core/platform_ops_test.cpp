// The temporary-folder rule of the platform seam.
#include <unistd.h>

#include <cstring>

#include "platform/platform_ops.h"
#include "tests/support/test_support.h"

namespace {

const char* tmpdirValue = nullptr;

TEST(PlatformTempFolder, Rule) {
  if (access("/mnt/sd/", W_OK) == 0) GTEST_SKIP() << "a writable /mnt/sd/ takes precedence";
  Platform().getEnv = [](const char* name) { return std::strcmp(name, "TMPDIR") == 0 ? tmpdirValue : nullptr; };
  const char* rows[][3] = {{"/data/unpack/", "/x", "/data/unpack/"}, {"", "/var/tmp", "/var/tmp/"},
                           {"", "/var/tmp/", "/var/tmp/"}, {"", "", "/tmp/"}, {"", nullptr, "/tmp/"}};
  for (const auto& row : rows) {
    Platform().tempFolder = row[0];
    tmpdirValue = row[1];
    EXPECT_EQ(row[2], PlatformTempFolder()) << row[0] << " / " << (row[1] ? row[1] : "unset");
  }
  ResetPlatformOps();
}

}  // namespace
