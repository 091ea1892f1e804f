// Wildcards, directory listing and the working directory.
#include <sys/stat.h>
#include <unistd.h>

#include <set>
#include <string>

#include <gtest/gtest.h>

#include "files/directory_commands.h"
#include "tests/files/files_fixture.h"

namespace {

TEST(MatchWildcard, Patterns) {
  struct Case {
    const char* pattern;
    const char* name;
    int match;
  } cases[] = {
      {"*.png", "TITLE.PNG", 1}, {"*.png", "title.png.bak", 0}, {"a?c", "abc", 1},
      {"a?c", "a.c", 0},         {"?", ".", 0},                {"?", "a", 1},
      {"*", "anything.at.all", 1}, {"", "", 1},                 {"", "a", 0},
      {"*.*", "README", 1},      {"*.*.", "README", 0},        {"**b", "aab", 1},
      {"a*b*c", "aXbYbZc", 1},   {"a*b*c", "aXbYbZ", 0},        {"*x", "xxxy", 0},
      {"*ab", "aab", 1},         {"T*.TXT", "t1.txt", 1},       {"t*", "", 0},
      {"*", "", 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MatchWildcard(c.pattern, c.name), c.match) << c.pattern << " / " << c.name;
  }
}

class DirectoryTest : public FilesTest {
 protected:
  // The listing split into its directory and file groups, each as a set.
  void List(const char* pattern, f32& result, std::set<std::string>& dirs,
            std::set<std::string>& files) {
    DynString p(pattern);
    DynArray<DynString> names;
    result = ListDirectory(p, names);
    const i32 dirCount = static_cast<i32>(result) / 65536;
    for (i32 i = 0; i < names.dim[0]; ++i) {
      (i < dirCount ? dirs : files).insert(names.data[i].CStr());
    }
  }
};

TEST_F(DirectoryTest, ListsDirectoriesFirstThenMatchingFiles) {
  ASSERT_EQ(mkdir("gfx", 0700), 0);
  for (const char* f : {"a.txt", "B.TXT", "README"}) ASSERT_TRUE(WriteFileBytes(f, "x"));
  f32 result = 0;
  std::set<std::string> dirs, files;
  List("*.txt", result, dirs, files);
  EXPECT_EQ(result, 2.0f + 4 * 65536.0f);
  EXPECT_EQ(dirs, (std::set<std::string>{".", "..", "gfx", "unpacked"}));
  EXPECT_EQ(files, (std::set<std::string>{"a.txt", "B.TXT"}));
  dirs.clear();
  files.clear();
  List("*.*", result, dirs, files);
  EXPECT_EQ(files, (std::set<std::string>{"a.txt", "B.TXT", "README"}));
}

TEST_F(DirectoryTest, WorkingDirectory) {
  const std::string here = GetCurrentDirectory().CStr();
  EXPECT_EQ(here.back(), '/');
  DynString missing("no/such/dir");
  EXPECT_EQ(ChangeDirectory(missing), 0.0f);
  EXPECT_EQ(std::string(GetCurrentDirectory().CStr()), here);
  // Far deeper than a 260-byte buffer holds.
  std::string deep;
  for (int i = 0; i < 30; ++i) {
    deep += (i ? "/" : "") + std::string(20, static_cast<char>('a' + i % 26));
    ASSERT_EQ(mkdir(deep.c_str(), 0700), 0);
  }
  DynString target(deep.c_str());
  EXPECT_EQ(ChangeDirectory(target), 1.0f);
  EXPECT_EQ(std::string(GetCurrentDirectory().CStr()), here + deep + "/");
  EXPECT_EQ(IsDirectory("."), 1);
  DynString root("/");
  ASSERT_EQ(ChangeDirectory(root), 1.0f);
  EXPECT_STREQ(GetCurrentDirectory().CStr(), "/");
  EXPECT_EQ(IsDirectory("/no/such/path"), 0);
  DynString path("a\\b\\\\c");
  EXPECT_EQ(BackslashesToSlashes(path), 6u);
  EXPECT_STREQ(path.CStr(), "a/b//c");
}

}  // namespace
