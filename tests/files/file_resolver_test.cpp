// ResolveFile: disk names, memory names, pack entries in every layout, and damaged packs.
#include <sys/stat.h>

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "files/file_channel.h"
#include "files/file_resolver.h"
#include "files/memory_name.h"
#include "tests/files/files_fixture.h"

namespace {

class ResolverTest : public FilesTest {
 protected:
  // Resolves through the general context; the output path, or "<none>" on failure.
  std::string Resolve(const std::string& name, bool allowMemory = true) {
    std::strcpy(out_, "<none>");
    result_ = ResolveFile(generalResolver, name.c_str(), out_, allowMemory);
    return out_;
  }
  // The bytes behind a resolved name, read as the loaders read them.
  static std::string Contents(const std::string& resolved) {
    FileChannel channel;
    if (!OpenFileChannelRead(&channel, resolved.c_str())) return "<unopened>";
    std::string bytes;
    if (channel.fp != nullptr) {
      bytes = ReadFileBytes(resolved);
    } else {
      bytes.assign(reinterpret_cast<const char*>(channel.memData), channel.memSize);
    }
    CloseFileChannel(&channel);
    return bytes;
  }

  char out_[kResolvedPathSize];
  int result_ = -1;
};

TEST_F(ResolverTest, NamesOnDiskAndMemoryNames) {
  ASSERT_EQ(mkdir("data", 0700), 0);
  ASSERT_TRUE(WriteFileBytes("data/title.png", "img"));
  struct Case {
    std::string name;
    int result;
    std::string out;
  } cases[] = {
      {"", 0, ""},
      {"mem://       4.    1000", 1, "mem://       4.    1000"},  // taken unchecked
      {"data/Title.PNG", 1, "data/Title.PNG"},  // the name as requested
      {"DATA/title.png", 0, "<none>"},          // only the last component ignores case
      {std::string(1024, 'a'), 0, ""},          // too long for the interface
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Resolve(c.name), c.out) << c.name;
    EXPECT_EQ(result_, c.result) << c.name;
  }
}

TEST_F(ResolverTest, FindsEntriesInEveryPackLayout) {
  const std::vector<PackFile> files = {{"title.png.bak", "bak"}, {"TITLE.PNG", "picture"},
                                       {"title.png", "second"}, {"empty.txt", ""},
                                       {"music.ogg", std::string(3000, 'm')}};
  const std::string inMemory = MakePack(files);
  const std::string layouts[] = {MakePack(files), MakePack(files, true),
                                 MakePack(files, true, "an executable's own bytes"), ""};
  for (const std::string& pack : layouts) {
    ASSERT_TRUE(WriteFileBytes("game.sbx", pack));
    SetPack("GAME.SBX");  // the pack itself is found ignoring case
    if (pack.empty()) SetPack(FormatMemoryName(static_cast<u32>(inMemory.size()), inMemory.data()));
    EXPECT_EQ(Contents(Resolve("gfx\\Title.png")), "picture");  // the first exact name wins
    EXPECT_EQ(Contents(Resolve("empty.txt")), "");
    EXPECT_EQ(result_, 1);
    const std::string temp = Resolve("music.ogg", false);
    EXPECT_EQ(temp.rfind(Platform().tempFolder + "sbx", 0), 0u) << temp;
    EXPECT_EQ(temp.substr(temp.size() - 9), "music.ogg");
    EXPECT_EQ(ReadFileBytes(temp), std::string(3000, 'm'));
  }
}

TEST_F(ResolverTest, BadMagicSwitchesThePackOffUntilTheNextSetting) {
  std::string pack = MakePack({{"a.txt", "A"}});
  ASSERT_TRUE(WriteFileBytes("p.sbx", pack.substr(0, pack.size() - 7) + "sbx" + pack.substr(pack.size() - 4)));
  SetPack("p.sbx");
  EXPECT_EQ(Resolve("a.txt"), "<none>");
  EXPECT_EQ(generalResolver->active, 0);
  ASSERT_TRUE(WriteFileBytes("p.sbx", pack));
  EXPECT_EQ(Resolve("a.txt"), "<none>");  // still off
  SetPack("p.sbx");
  EXPECT_EQ(Contents(Resolve("a.txt")), "A");
  EXPECT_EQ(Resolve("missing.txt"), "");  // a miss empties the path and keeps the search on
  EXPECT_EQ(generalResolver->active, 1);
}

TEST_F(ResolverTest, DamagedPacksFailOneResolutionOnly) {
  const std::string stream = PackedStream("payload");
  const i32 n = static_cast<i32>(stream.size());
  auto pack = [&](const std::vector<RawEntry>& entries, i32 directoryOffset) {
    return stream + DirectoryBytes(entries) + "sbX" + LE32(directoryOffset);
  };
  std::string corrupt = stream;
  corrupt[corrupt.size() - 2] ^= 0x55;  // the end sequence
  struct Case {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"shorter than its trailer", "bX" + LE32(0)},
      {"directory beyond the end", pack({{"a.txt", 0, n}}, 100000)},
      {"directory before the start", pack({{"a.txt", 0, n}}, -100000)},
      {"directory cut short", stream + "\x05" + "a.t" + "sbX" + LE32(n)},
      {"data beyond the end", pack({{"a.txt", 40, n}}, n)},
      {"negative data offset", pack({{"a.txt", -1, n}}, n)},
      {"packed size too small", pack({{"a.txt", 0, 3}}, n)},
      {"packed size negative", pack({{"a.txt", 0, -8}}, n)},
      {"packed size huge", pack({{"a.txt", 0, 0x7FFFFFF0}}, n)},
      {"corrupt payload", corrupt + DirectoryBytes({{"a.txt", 0, n}}) + "sbX" + LE32(n)},
      {"good", pack({{"a.txt", 0, n}}, n)},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(WriteFileBytes("p.sbx", c.bytes));
    SetPack("p.sbx");
    const bool good = std::string(c.what) == "good";
    const std::string resolved = Resolve("a.txt");
    EXPECT_EQ(good ? Contents(resolved) : resolved, good ? "payload" : "") << c.what;
    EXPECT_EQ(result_, good ? 1 : 0) << c.what;
    EXPECT_EQ(generalResolver->active, 1) << c.what;
  }
}

// Flipped and cut bytes of a valid pack: every resolution ends cleanly, never out of bounds.
TEST_F(ResolverTest, SurvivesFlippedAndTruncatedPacks) {
  const std::string good = MakePack({{"one.txt", "first entry"}, {"two.txt", std::string(200, 'z')}}, true);
  testing::internal::CaptureStdout();  // the request lines of every miss
  for (std::size_t i = 0; i <= good.size(); ++i) {
    for (const std::string& bytes : {good.substr(0, i), good.substr(0, i) + char(good[i % good.size()] ^ 0xA5) +
                                                            good.substr(std::min(i + 1, good.size()))}) {
      ASSERT_TRUE(WriteFileBytes("p.sbx", bytes));
      SetPack("p.sbx");
      for (const char* name : {"one.txt", "two.txt"}) {
        const std::string resolved = Resolve(name, i % 2 == 0);
        if (result_ == 1) Contents(resolved);
      }
    }
  }
  testing::internal::GetCapturedStdout();
}

TEST_F(ResolverTest, TemporaryFilesAreReplacedAndShared) {
  ASSERT_TRUE(WriteFileBytes("p.sbx", MakePack({{"s.wav", "sound"}, {"t.wav", "other"}})));
  SetPack("p.sbx", "p.sbx");
  const std::string first = Resolve("s.wav", false);
  EXPECT_EQ(Resolve("s.wav", false), first);
  EXPECT_EQ(Resolve(first, false), first);  // a resolved temporary file survives its own request
  EXPECT_EQ(ReadFileBytes(first), "sound");
  char musicOut[kResolvedPathSize];
  ASSERT_EQ(ResolveFile(musicResolver, "S.WAV", musicOut, false), 1);
  EXPECT_EQ(std::string(musicOut), first);
  Resolve("t.wav", false);  // the next resolution removes the previous temporary file
  EXPECT_EQ(ReadFileBytes(first), "");
  Platform().tempFolder = Path("no/such/folder/");
  testing::internal::CaptureStdout();
  EXPECT_EQ(Resolve("s.wav", false), "<none>");
  EXPECT_NE(testing::internal::GetCapturedStdout().find("can't write to file: " + Path("no/such/folder/")),
            std::string::npos);
}

TEST_F(ResolverTest, BlocksLiveWhileTheyAreUsed) {
  ASSERT_TRUE(WriteFileBytes("p.sbx", MakePack({{"font.png", "glyphs"}, {"b.txt", "bee"}})));
  SetPack("p.sbx");
  const std::string font = Resolve("font.png");
  EXPECT_EQ(Contents(Resolve(font)), "glyphs");  // resolving a resolved name keeps its block
  FileChannel channel;
  ASSERT_EQ(OpenFileChannelRead(&channel, Resolve("font.png").c_str()), 1);
  SetPack("");  // the context lets the block go; the channel still holds it
  Resolve("b.txt");
  ASSERT_EQ(channel.memSize, 6);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(channel.memData), 6), "glyphs");
  CloseFileChannel(&channel);
}

TEST_F(ResolverTest, PrintsTheRequestLinesOfAMissingPack) {
  SetPack("nopack.sbx");
  testing::internal::CaptureStdout();
  Resolve("x.png");
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "request: fopen(\"x.png\", \"rb\") failed\n"
            "request: fopen(\"nopack.sbx\", \"rb\") failed\n");
  EXPECT_EQ(generalResolver->active, 0);
}

}  // namespace
