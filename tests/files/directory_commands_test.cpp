// Wildcards, directory listing and the working directory.
#include <sys/stat.h>

#include <filesystem>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "files/directory_commands.h"
#include "tests/files/files_fixture.h"

namespace {

TEST(MatchWildcard, Patterns) {
  struct Case { const char* pattern; const char* name; int match; };
  const Case cases[] = {
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

// Directories first (all of them), then the files that match; the result counts both.
TEST_F(FilesTest, ListsDirectoriesFirstThenMatchingFiles) {
  ASSERT_EQ(mkdir("gfx", 0700), 0);
  for (const char* f : {"a.txt", "B.TXT", "README"}) ASSERT_TRUE(WriteFileBytes(f, "x"));
  const std::set<std::string> dirs = {".", "..", "gfx", "unpacked"}, txt = {"a.txt", "B.TXT"},
                              all = {"a.txt", "B.TXT", "README"};
  for (const auto& [pattern, files] : {std::pair{"*.txt", txt}, {"*.*", all}}) {
    DynString p(pattern);
    DynArray<DynString> names;
    EXPECT_EQ(ListDirectory(p, names), static_cast<f32>(files.size()) + 4 * 65536.0f);
    std::set<std::string> listed[2];
    for (i32 i = 0; i < names.dim[0]; ++i) listed[i >= 4].insert(names.data[i].CStr());
    EXPECT_EQ(listed[0], dirs);
    EXPECT_EQ(listed[1], files);
  }
}

TEST_F(FilesTest, WorkingDirectory) {
  const std::string here = BytesOf(GetCurrentDirectory());
  DynString missing("no/such/dir"), root("/"), path("a\\b\\\\c");
  EXPECT_EQ(ChangeDirectory(missing), 0.0f);
  const std::string deep = std::string(200, 'a') + "/" + std::string(200, 'b') + "/";
  ASSERT_TRUE(std::filesystem::create_directories(deep));  // far longer than 260 bytes
  DynString target(deep.c_str());
  EXPECT_EQ(ChangeDirectory(target), 1.0f);
  EXPECT_EQ(BytesOf(GetCurrentDirectory()), here + deep);
  ASSERT_EQ(ChangeDirectory(root), 1.0f);
  EXPECT_EQ(BytesOf(GetCurrentDirectory()), "/");
  EXPECT_EQ(IsDirectory("."), 1);
  EXPECT_EQ(IsDirectory("/no/such/path"), 0);
  EXPECT_EQ(BackslashesToSlashes(path), 6u);
  EXPECT_EQ(BytesOf(path), "a/b//c");
}

}  // namespace
