// FileChannel line reading (files and memory alike), case-insensitive opening and memory names.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "files/file_channel.h"
#include "files/file_open.h"
#include "files/memory_name.h"
#include "tests/files/files_fixture.h"

namespace {

class ChannelLinesTest : public FilesTest, public ::testing::WithParamInterface<bool> {
 protected:
  // Every line ReadFileChannelLine gives for `data`, from a file or from a memory block.
  std::vector<std::string> Lines(const std::string& data, int maxBytes) {
    FileChannel channel;
    std::string name = FormatMemoryName(static_cast<u32>(data.size()), data.data());
    if (GetParam()) {
      EXPECT_TRUE(WriteFileBytes("lines.txt", data));
      name = "lines.txt";
    }
    EXPECT_EQ(OpenFileChannelRead(&channel, name.c_str()), 1);
    std::vector<std::string> lines;
    std::vector<char> buffer(maxBytes + 8, '#');
    while (ReadFileChannelLine(&channel, buffer.data(), maxBytes)) {
      EXPECT_EQ(buffer[maxBytes], '#') << "wrote beyond maxBytes";
      lines.push_back(buffer.data());
      if (lines.size() > 100) break;
    }
    EXPECT_EQ(channel.pos, channel.memSize);
    CloseFileChannel(&channel);
    return lines;
  }
};

TEST_P(ChannelLinesTest, SplitsLinesAndPieces) {
  using Lines_ = std::vector<std::string>;
  const std::string s63(63, 'x');
  struct Case {
    std::string data;
    int maxBytes;
    Lines_ lines;
  } cases[] = {
      {"ab\r\ncd", 1025, {"ab", "cd"}},
      {"a\r\n\nb", 1025, {"a", "", "b"}},
      {s63 + "\r\n" + "next\n", 1025, {s63, "next"}},  // CR LF across a 64-byte chunk
      {"last line\r", 1025, {"last line"}},
      {std::string(1500, 'L') + "\n", 1025, {std::string(1024, 'L'), std::string(476, 'L')}},
      {std::string(130, 'p') + "\r\n", 64, {std::string(63, 'p'), std::string(63, 'p'), "pppp"}},
      {"", 1025, {}},
      // A text that fills the buffer exactly is a whole line, however its end is written.
      {std::string(1024, 'w') + "\r\nnext", 1025, {std::string(1024, 'w'), "next"}},
      {std::string(1024, 'w') + "\nnext", 1025, {std::string(1024, 'w'), "next"}},
      {std::string(1024, 'w') + "\r", 1025, {std::string(1024, 'w')}},
      {std::string(1023, 'w') + "\r\r\n", 1025, {std::string(1023, 'w') + "\r"}},
      {std::string(1025, 'w') + "\n", 1025, {std::string(1024, 'w'), "w"}},
      {std::string(1025, 'w') + "\r", 1025, {std::string(1024, 'w'), "w"}},
  };
  for (const Case& c : cases) EXPECT_EQ(Lines(c.data, c.maxBytes), c.lines) << c.data.substr(0, 20);
}

INSTANTIATE_TEST_SUITE_P(FileAndMemory, ChannelLinesTest, ::testing::Bool());

TEST(MemoryName, FormatsAndParsesWholeAddresses) {
  const void* high = reinterpret_cast<const void*>(static_cast<std::uintptr_t>(0x7ffd12345678ull));
  const std::string name = FormatMemoryName(0x1234, high);
  EXPECT_EQ(name, "mem://    1234.7ffd12345678");
  EXPECT_EQ(name[14], '.');
  MemoryName parsed;
  ASSERT_TRUE(ParseMemoryName(name.c_str(), parsed));
  EXPECT_EQ(parsed.address, high);
  EXPECT_EQ(parsed.size, 0x1234);
  EXPECT_TRUE(ParseMemoryName("mem://00000004.00001000", parsed));  // zero-padded works too
  for (const char* bad : {"mem://", "mem://       4.       0", "mem://-0000004.    1000",
                          "mem://ffffffff.    1000", "file://       4.    1000", ""}) {
    EXPECT_FALSE(ParseMemoryName(bad, parsed)) << bad;
  }
}

TEST_F(FilesTest, FopenCaseFindsNamesIgnoringCase) {
  ASSERT_EQ(mkdir("Data", 0700), 0);
  ASSERT_TRUE(WriteFileBytes("Data/Level.TXT", "old"));
  std::FILE* fp = FopenCase("Data/level.txt", "wb");  // rewritten in place
  ASSERT_NE(fp, nullptr);
  std::fputs("new", fp);
  std::fclose(fp);
  EXPECT_EQ(ReadFileBytes("Data/Level.TXT"), "new");
  char out[kMaxFileNameLength + 1];
  EXPECT_EQ(fopen_case("data/level.txt", out), 0);
  ASSERT_EQ(fopen_case("Data/LEVEL.txt", out), 1);
  EXPECT_STREQ(out, "Data/Level.TXT");
  ASSERT_TRUE(WriteFileBytes("Top.txt", "t"));
  ASSERT_EQ(fopen_case("TOP.TXT", out), 1);
  EXPECT_STREQ(out, "Top.txt");
  EXPECT_EQ(fopen_case(std::string(1021, 'n').c_str(), out), 0);
}

TEST_F(FilesTest, FopenCasePrintsItsRequestLines) {
  struct Case {
    const char* name;
    const char* mode;
    bool opens;
    const char* printed;
  } cases[] = {
      {"missing.txt", "rb", false, "request: fopen(\"missing.txt\", \"rb\") failed\n"},
      {"nodir/new.txt", "wb", false, "wrt-request: fopen(\"nodir/new.txt\", \"wb\") failed\n\n"},
      {"created.txt", "ab", true, ""},
  };
  for (const Case& c : cases) {
    testing::internal::CaptureStdout();
    std::FILE* fp = FopenCase(nullptr, c.name, c.mode);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), c.printed);
    EXPECT_EQ(fp != nullptr, c.opens) << c.name;
    if (fp != nullptr) std::fclose(fp);
  }
}

}  // namespace
