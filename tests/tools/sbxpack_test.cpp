// sbxpack: packs that the tool builds read back through the resolver byte for byte.
#include <gtest/gtest.h>
#include <unistd.h>

#include <random>
#include <string>
#include <vector>

#include "core/runtime_globals.h"
#include "files/file_resolver.h"
#include "platform/platform_ops.h"
#include "tests/support/test_support.h"
#include "tools/sbxpack/pack_builder.h"

namespace {

int RunTool(std::vector<std::string> args) {
  args.insert(args.begin(), "sbxpack");
  std::vector<const char*> argv;
  for (const std::string& a : args) argv.push_back(a.c_str());
  return RunSbxPack(static_cast<int>(argv.size()), argv.data());
}

// The bytes of `name` resolved through a context whose pack is `pack` (unpacked into a file).
std::string Unpacked(const std::string& pack, const std::string& name) {
  FileResolverContext* context = CreateFileResolverContext();
  context->packName = pack;
  char out[kResolvedPathSize];
  const std::string bytes =
      ResolveFile(context, name.c_str(), out, false) != 0 ? ReadFileBytes(out) : "<not found>";
  DeleteFileResolverContext(context);
  return bytes;
}

TEST(SbxPack, PacksReadBackIdenticallyAndBadInputIsRefused) {
  ScopedTempDir dir;
  Platform().tempFolder = dir.path() + "/";
  std::string random(20000, '\0');
  std::mt19937 gen(5);
  for (char& c : random) c = static_cast<char>(gen());
  const std::vector<std::pair<std::string, std::string>> files = {
      {"Title.bmp", std::string(5000, 'B') + "end"}, {"noise.bin", random}, {"empty.txt", ""}};
  std::vector<std::string> args = {dir.File("game.sbx")};
  for (const auto& [name, bytes] : files) {
    ASSERT_TRUE(WriteFileBytes(dir.File(name), bytes));
    args.push_back(dir.File(name));
  }
  ASSERT_EQ(RunTool(args), 0);
  ASSERT_TRUE(WriteFileBytes(dir.File("runtime.exe"),
                             "\x7f"
                             "ELF program bytes"));
  args[0] = dir.File("runtime.exe");
  args.insert(args.begin(), "--append");
  ASSERT_EQ(RunTool(args), 0);
  EXPECT_EQ(ReadFileBytes(dir.File("runtime.exe")).substr(0, 18),
            "\x7f"
            "ELF program bytes");
  for (const char* pack : {"game.sbx", "runtime.exe"}) {
    for (const auto& [name, bytes] : files) {
      EXPECT_EQ(Unpacked(dir.File(pack), "assets/" + name), bytes) << pack << " " << name;
    }
  }
  Platform().tempFolder.clear();
  // Bad input is refused.
  ASSERT_TRUE(WriteFileBytes(dir.File("a.txt"), "a"));
  ASSERT_TRUE(WriteFileBytes(dir.File("A.TXT"), "b"));
  EXPECT_EQ(RunTool({dir.File("x.sbx")}), 2);
  EXPECT_EQ(RunTool({dir.File("x.sbx"), dir.File("missing")}), 1);
  EXPECT_EQ(RunTool({dir.File("x.sbx"), dir.File("a.txt"), dir.File("A.TXT")}), 1);
  EXPECT_FALSE(BuildPack({{std::string(256, 'n'), {}}}, 0, false).ok);
  EXPECT_FALSE(BuildPack({{"", {}}}, 0, false).ok);
}

}  // namespace
