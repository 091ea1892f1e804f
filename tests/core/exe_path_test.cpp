// Finding the executable's directory: the cut rule, the bounded link read and its fall-backs.
#include <sys/stat.h>

#include <cstring>
#include <filesystem>

#include "core/exe_path.h"
#include "platform/platform_ops.h"
#include "tests/support/test_support.h"

namespace {

std::string linkText;
long linkResult = 0;  // what the fake read reports; -2 means "the length of linkText"
std::string underscore;
bool underscoreSet = false;

long FakeExeLink(char* buffer, std::size_t size) {
  if (linkResult != -2) return linkResult;
  const std::size_t count = linkText.size() < size ? linkText.size() : size;
  std::memcpy(buffer, linkText.data(), count);
  return static_cast<long>(count);
}

const char* FakeGetEnv(const char* name) {
  if (std::strcmp(name, "_") != 0 || !underscoreSet) return nullptr;
  return underscore.c_str();
}

class ExePathTest : public testing::Test {
 protected:
  void SetUp() override {
    Platform().readExeLink = FakeExeLink;
    Platform().getEnv = FakeGetEnv;
    linkResult = -2;
    underscoreSet = false;
  }
  void TearDown() override { ResetPlatformOps(); }
};

TEST(CutToDirectory, Rows) {
  const struct {
    const char* path;
    const char* directory;
  } rows[] = {
      {"/a/b/game", "/a/b"},
      {"/a/b/", "/a/b"},
      {"game", "game"},           // no separator: whole
      {"/game", "/game"},         // the only separator is the first character: whole
      {"a\\b\\game.exe", "a\\b"},
      {"a/b\\c", "a/b"},
      {"./", "."},
      {"", ""},
  };
  for (const auto& row : rows) EXPECT_EQ(row.directory, CutToDirectory(row.path)) << row.path;
}

TEST_F(ExePathTest, LinkIsUsedWhenItReadsCompletely) {
  linkText = "/opt/stakko/stakko";
  EXPECT_EQ("/opt/stakko/stakko", ReadExecutablePath());
}

TEST_F(ExePathTest, FallBacks) {
  ScopedTempDir dir;
  ASSERT_TRUE(WriteFileBytes(dir.File("game"), "x"));
  const std::string resolved = std::filesystem::canonical(dir.File("game")).string();
  const std::string full(1023, 'x');  // fills the buffer: taken as cut off
  const struct {
    const char* name;
    long result;
    std::string link;
    bool envSet;
    std::string env;
    std::string expected;
  } rows[] = {
      {"link unreadable, _ resolvable", -1, "", true, dir.File("game"), resolved},
      {"link cut off, _ resolvable", -2, full, true, dir.File("game"), resolved},
      {"empty link, _ resolvable", 0, "", true, dir.File("game"), resolved},
      {"link unreadable, _ unset", -1, "", false, "", "./"},
      {"link unreadable, _ empty", -1, "", true, "", "./"},
      {"link unreadable, _ unresolvable", -1, "", true, dir.File("missing"), "./"},
  };
  for (const auto& row : rows) {
    linkResult = row.result;
    linkText = row.link;
    underscoreSet = row.envSet;
    underscore = row.env;
    EXPECT_EQ(row.expected, ReadExecutablePath()) << row.name;
  }
}

TEST_F(ExePathTest, LongestLinkThatFitsIsKept) {
  linkText = "/" + std::string(1021, 'y');  // 1022 characters: one short of the buffer
  EXPECT_EQ(linkText, ReadExecutablePath());
}

TEST_F(ExePathTest, ResolvedPathLongerThanTheBufferIsRefused) {
  ScopedTempDir dir;
  std::string path = dir.path();
  const std::string part(200, 'd');
  while (path.size() < 1100) {
    path += "/" + part;
    ASSERT_EQ(0, mkdir(path.c_str(), 0700));
  }
  ASSERT_TRUE(WriteFileBytes(path + "/game", "x"));
  linkResult = -1;
  underscoreSet = true;
  underscore = path + "/game";
  EXPECT_EQ("./", ReadExecutablePath());
}

TEST(PlatformLink, RealLinkNamesThisTestProgram) {
  ResetPlatformOps();
  const std::string path = ReadExecutablePath();
  EXPECT_EQ('/', path.front());
  EXPECT_NE(std::string::npos, path.find("test_core"));
}

}  // namespace
