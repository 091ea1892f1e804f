// Finding the executable's directory: the cut rule, the bounded link read and its fall-backs.
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "core/exe_path.h"
#include "platform/platform_ops.h"
#include "tests/support/test_support.h"

namespace {

std::string linkText;
long linkResult = 0;  // what the fake read reports; -2: the length of linkText
const char* underscore = nullptr;

TEST(CutToDirectory, Rows) {
  const char* rows[][2] = {{"/a/b/game", "/a/b"}, {"/a/b/", "/a/b"}, {"game", "game"}, {"/game", "/game"},
                           {"a\\b\\game.exe", "a\\b"}, {"a/b\\c", "a/b"}, {"./", "."}, {"", ""}};
  for (const auto& row : rows) EXPECT_EQ(row[1], CutToDirectory(row[0])) << row[0];
}

TEST(ReadExecutablePath, LinkAndFallBacks) {
  ScopedTempDir dir;
  const std::string file = dir.File("game");
  ASSERT_TRUE(WriteFileBytes(file, "x"));
  const std::string resolved = std::filesystem::canonical(file).string();
  std::string deep = dir.path();  // a path longer than the runtime's 1024-character buffer
  while (deep.size() < 1100) ASSERT_EQ(0, mkdir((deep += "/" + std::string(200, 'd')).c_str(), 0700));
  ASSERT_TRUE(WriteFileBytes(deep += "/game", "x"));
  const std::string missing = dir.File("missing"), longest = "/" + std::string(1021, 'y');

  Platform().readExeLink = [](char* buffer, std::size_t size) -> long {
    if (linkResult != -2) return linkResult;
    const std::size_t count = std::min(linkText.size(), size);
    std::memcpy(buffer, linkText.data(), count);
    return static_cast<long>(count);
  };
  Platform().getEnv = [](const char* name) { return std::strcmp(name, "_") == 0 ? underscore : nullptr; };
  const struct {
    long result;
    std::string link;
    const char* env;
    std::string expected;
  } rows[] = {
      {-2, longest, file.c_str(), longest},                    // the longest link that fits
      {-2, std::string(1023, 'x'), file.c_str(), resolved},  // fills the buffer: taken as cut off
      {-1, "", file.c_str(), resolved},  {0, "", file.c_str(), resolved},
      {-1, "", nullptr, "./"},           {-1, "", missing.c_str(), "./"},
      {-1, "", deep.c_str(), "./"},  // resolves longer than the buffer
  };
  for (const auto& row : rows) {
    linkResult = row.result;
    linkText = row.link;
    underscore = row.env;
    EXPECT_EQ(row.expected, ReadExecutablePath()) << row.link.size() << " " << (row.env ? row.env : "unset");
  }
  ResetPlatformOps();
  EXPECT_NE(std::string::npos, ReadExecutablePath().find("/test_core"));  // the real link
}

}  // namespace
