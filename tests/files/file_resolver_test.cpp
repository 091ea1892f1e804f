// ResolveFile: disk names (and case-insensitive opening), memory names, pack entries in every
// layout, damaged packs, and the lifetime of what a resolution hands out.
#include <sys/stat.h>

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "files/file_channel.h"
#include "files/file_open.h"
#include "files/file_resolver.h"
#include "files/memory_name.h"
#include "tests/files/files_fixture.h"

namespace {

class ResolverTest : public FilesTest {
 protected:
  // Resolves through the general context; the output path, or "<none>" when it was left alone.
  std::string Resolve(const std::string& name, bool allowMemory = true) {
    std::strcpy(out_, "<none>");
    result_ = ResolveFile(generalResolver, name.c_str(), out_, allowMemory);
    return out_;
  }
  // The bytes behind a resolved name, read as the loaders read them.
  static std::string Contents(const std::string& resolved) {
    FileChannel ch;
    if (!OpenFileChannelRead(&ch, resolved.c_str())) return "<unopened>";
    std::string bytes = ReadFileBytes(resolved);
    if (ch.fp == nullptr) bytes.assign(reinterpret_cast<const char*>(ch.memData), ch.memSize);
    CloseFileChannel(&ch);
    return bytes;
  }

  char out_[kResolvedPathSize];
  int result_ = -1;
};

TEST_F(ResolverTest, NamesPackEntriesDamagedPacksAndLifetimes) {
  ASSERT_EQ(mkdir("Data", 0700), 0);
  ASSERT_TRUE(WriteFileBytes("Data/Title.png", "img"));
  struct Case { std::string name; int result; std::string out; };
  const Case cases[] = {
      {"", 0, ""},
      {"mem://       4.    1000", 1, "mem://       4.    1000"},  // taken unchecked
      {"Data/title.PNG", 1, "Data/title.PNG"},                     // the name as requested
      {"DATA/Title.png", 0, "<none>"},  // only the last component ignores case
      {std::string(1024, 'a'), 0, ""},  // too long for the interface
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Resolve(c.name), c.out) << c.name;
    EXPECT_EQ(result_, c.result) << c.name;
  }
  char found[kMaxFileNameLength + 1];
  ASSERT_EQ(fopen_case("Data/TITLE.png", found), 1);  // the path of the match
  EXPECT_STREQ(found, "Data/Title.png");
  std::FILE* fp = FopenCase("Data/title.PNG", "wb");  // rewritten in place, not beside it
  ASSERT_NE(fp, nullptr);
  std::fputs("new", fp);
  std::fclose(fp);
  EXPECT_EQ(ReadFileBytes("Data/Title.png"), "new");
  const void* high = reinterpret_cast<const void*>(std::uintptr_t{0x7ffd12345678});
  EXPECT_EQ(FormatMemoryName(0x1234, high), "mem://    1234.7ffd12345678");
  MemoryName parsed;
  ASSERT_TRUE(ParseMemoryName("mem://00001234.7ffd12345678", parsed));  // zero-padded works too
  EXPECT_EQ(parsed.address, high);
  EXPECT_EQ(parsed.size, 0x1234);
  for (const char* bad : {"mem://", "mem://       4.       0", "mem://-0000004.    1000",
                          "mem://ffffffff.    1000", "file://       4.    1000"}) {
    EXPECT_FALSE(ParseMemoryName(bad, parsed)) << bad;
  }
  // Pack entries in every layout: the first whole name in any case.
  const std::vector<PackFile> files = {{"title.png.bak", "bak"}, {"TITLE.PNG", "picture"},
                                       {"title.png", "second"}, {"empty.txt", ""},
                                       {"music.ogg", std::string(3000, 'm')}};
  const std::string inMemory = MakePack(files);
  const std::string layouts[] = {MakePack(files), MakePack(files, true),
                                 MakePack(files, true, "an executable's own bytes"), ""};
  for (const std::string& pack : layouts) {
    ASSERT_TRUE(WriteFileBytes("game.sbx", pack));
    SetPack(pack.empty() ? MemName(inMemory) : "GAME.SBX");  // a pack file is found ignoring case
    EXPECT_EQ(Contents(Resolve("gfx\\Title.png")), "picture");  // the first whole name, any case
    EXPECT_EQ(Contents(Resolve("empty.txt")), "");
    const std::string temp = Resolve("music.ogg", false);
    EXPECT_EQ(temp.rfind(Platform().tempFolder + "sbx", 0), 0u) << temp;
    EXPECT_EQ(temp.substr(temp.size() - 9), "music.ogg");
    EXPECT_EQ(ReadFileBytes(temp), std::string(3000, 'm'));
  }
  // A pack that does not open or lacks its "sbX" switches the search off until the next setting;
  // an entry that is not there empties the path and leaves it on.
  SetPack("nopack.sbx");
  testing::internal::CaptureStdout();
  EXPECT_EQ(Resolve("x.png"), "<none>");
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "request: fopen(\"x.png\", \"rb\") failed\n"
            "request: fopen(\"nopack.sbx\", \"rb\") failed\n");
  EXPECT_EQ(generalResolver->active, 0);
  const std::string pack = MakePack({{"a.txt", "A"}});
  std::string badMagic = pack;
  badMagic[pack.size() - 5] = 'x';  // "sbx"
  ASSERT_TRUE(WriteFileBytes("p.sbx", badMagic));
  SetPack("p.sbx");
  EXPECT_EQ(Resolve("a.txt"), "<none>");
  ASSERT_TRUE(WriteFileBytes("p.sbx", pack));
  EXPECT_EQ(Resolve("a.txt"), "<none>");  // still off
  SetPack("p.sbx");
  EXPECT_EQ(Contents(Resolve("a.txt")), "A");
  EXPECT_EQ(Resolve("missing.txt"), "");
  EXPECT_EQ(generalResolver->active, 1);
  // A damaged pack fails one resolution only.
  const std::string stream = PackedStream("payload");
  const i32 n = static_cast<i32>(stream.size());
  auto packOf = [](const std::string& data, const std::vector<RawEntry>& entries, i32 directory) {
    return data + DirectoryBytes(entries) + "sbX" + LE32(directory);
  };
  ASSERT_TRUE(WriteFileBytes("p.sbx", packOf(stream, {{"a.txt", 0, n}}, n)));
  SetPack("p.sbx");
  ASSERT_EQ(Contents(Resolve("a.txt")), "payload");  // undamaged
  std::string corrupt = stream;
  corrupt[corrupt.size() - 2] ^= 0x55;  // the end sequence
  struct Damage { const char* what; std::string bytes; };
  const Damage damages[] = {
      {"shorter than its trailer", "bX" + LE32(0)},
      {"directory beyond the end", packOf(stream, {{"a.txt", 0, n}}, 100000)},
      {"directory before the start", packOf(stream, {{"a.txt", 0, n}}, -100000)},
      {"directory cut short", stream + "\x05" + "a.t" + "sbX" + LE32(n)},
      {"data beyond the end", packOf(stream, {{"a.txt", 40, n}}, n)},
      {"negative data offset", packOf(stream, {{"a.txt", -1, n}}, n)},
      {"packed size negative", packOf(stream, {{"a.txt", 0, -8}}, n)},
      {"packed size huge", packOf(stream, {{"a.txt", 0, 0x7FFFFFF0}}, n)},
      {"corrupt payload", packOf(corrupt, {{"a.txt", 0, n}}, n)},
  };
  for (const Damage& c : damages) {
    ASSERT_TRUE(WriteFileBytes("p.sbx", c.bytes));
    SetPack("p.sbx");
    EXPECT_EQ(Resolve("a.txt"), "") << c.what;
    EXPECT_EQ(result_, 0) << c.what;
    EXPECT_EQ(generalResolver->active, 1) << c.what;
  }
  // A temporary file lasts until the next resolution; a block while the context or a channel holds
  // it, and a channel never reads beyond it.
  ASSERT_TRUE(WriteFileBytes("p.sbx", MakePack({{"s.wav", "sound"}, {"font.png", "glyphs"}})));
  ASSERT_TRUE(WriteFileBytes("m.sbx", MakePack({{"song.ogg", "tune"}})));
  SetPack("p.sbx", "m.sbx");
  const std::string first = Resolve("s.wav", false);
  EXPECT_EQ(Resolve("s.wav", false), first);
  EXPECT_EQ(Resolve(first, false), first);  // a resolved temporary file survives its own request
  EXPECT_EQ(ReadFileBytes(first), "sound");
  char music[kResolvedPathSize];
  ASSERT_EQ(ResolveFile(musicResolver, "song.ogg", music, true), 1);  // the music context's pack
  EXPECT_EQ(Contents(music), "tune");
  EXPECT_EQ(Resolve("song.ogg", false), "");  // not in the general pack; the previous file goes
  EXPECT_EQ(ReadFileBytes(first), "");
  Platform().tempFolder = "no/such/folder/";
  testing::internal::CaptureStdout();
  EXPECT_EQ(Resolve("s.wav", false), "<none>");
  EXPECT_NE(testing::internal::GetCapturedStdout().find("can't write to file: no/such/folder/"),
            std::string::npos);
  const std::string font = Resolve("font.png");
  EXPECT_EQ(Contents(Resolve(font)), "glyphs");  // resolving a resolved name keeps its block
  MemoryName block;
  ASSERT_TRUE(ParseMemoryName(Resolve("font.png").c_str(), block));
  FileChannel channel;
  ASSERT_EQ(OpenFileChannelRead(&channel, FormatMemoryName(1000, block.address).c_str()), 1);
  SetPack("");  // the context lets the block go; the channel still holds it
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(channel.memData), channel.memSize), "glyphs");
  CloseFileChannel(&channel);
}

}  // namespace
