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

long FakeExeLink(char* buffer, std::size_t size) {
  if (linkResult != -2) return linkResult;
  const std::size_t count = std::min(linkText.size(), size);
  std::memcpy(buffer, linkText.data(), count);
  return static_cast<long>(count);
}

const char* FakeGetEnv(const char* name) { return std::strcmp(name, "_") == 0 ? underscore : nullptr; }

TEST(CutToDirectory, Rows) {
  const char* rows[][2] = {
      {"/a/b/game", "/a/b"}, {"/a/b/", "/a/b"}, {"game", "game"}, {"/game", "/game"},
      {"a\\b\\game.exe", "a\\b"}, {"a/b\\c", "a/b"}, {"./", "."}, {"", ""},
  };
  for (const auto& row : rows) EXPECT_EQ(row[1], CutToDirectory(row[0])) << row[0];
}

TEST(ReadExecutablePath, LinkAndFallBacks) {
  ScopedTempDir dir;
  ASSERT_TRUE(WriteFileBytes(dir.File("game"), "x"));
  const std::string file = dir.File("game");
  const std::string missing = dir.File("missing");
  const std::string resolved = std::filesystem::canonical(file).string();
  // A path longer than the runtime's 1024-character buffer, to resolve through "_".
  std::string deep = dir.path();
  while (deep.size() < 1100) {
    deep += "/" + std::string(200, 'd');
    ASSERT_EQ(0, mkdir(deep.c_str(), 0700));
  }
  ASSERT_TRUE(WriteFileBytes(deep + "/game", "x"));
  const std::string deepFile = deep + "/game";
  const std::string longest = "/" + std::string(1021, 'y');

  Platform().readExeLink = FakeExeLink;
  Platform().getEnv = FakeGetEnv;
  const struct {
    const char* name;
    long result;
    std::string link;
    const char* env;
    std::string expected;
  } rows[] = {
      {"link read", -2, "/opt/s/stakko", file.c_str(), "/opt/s/stakko"},
      {"longest link that fits", -2, longest, nullptr, longest},
      {"link fills the buffer: cut off", -2, std::string(1023, 'x'), file.c_str(), resolved},
      {"link unreadable", -1, "", file.c_str(), resolved},
      {"empty link", 0, "", file.c_str(), resolved},
      {"_ unset", -1, "", nullptr, "./"},
      {"_ empty", -1, "", "", "./"},
      {"_ unresolvable", -1, "", missing.c_str(), "./"},
      {"_ longer than the buffer", -1, "", deepFile.c_str(), "./"},
  };
  for (const auto& row : rows) {
    linkResult = row.result;
    linkText = row.link;
    underscore = row.env;
    EXPECT_EQ(row.expected, ReadExecutablePath()) << row.name;
  }
  ResetPlatformOps();
  const std::string real = ReadExecutablePath();  // the real link names this test program
  EXPECT_EQ('/', real.front());
  EXPECT_NE(std::string::npos, real.find("test_core"));
}

}  // namespace
