// The numbered channels: exact bytes on file, one read suite over file and memory channels, the
// fatal errors 3 and 7, and the by-name commands.
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "core/runtime_error.h"
#include "files/channel_table.h"
#include "files/memory_name.h"
#include "tests/files/files_fixture.h"

namespace {

class ChannelTest : public FilesTest {
 protected:
  void TearDown() override {
    CloseAllChannels();
    FilesTest::TearDown();
  }
  static DynString Text(const std::string& s) { return DynString::FromBytes(s.data(), static_cast<u32>(s.size())); }
};

TEST_F(ChannelTest, WritesExactLittleEndianBytes) {
  i32 fortyTwo = 42;
  f32 twoAndHalf = 2.5f;
  struct Case {
    std::function<void()> write;
    std::string bytes;
  } cases[] = {
      {[] { WriteChannelInt32(1, 258); }, std::string("\x02\x01\x00\x00", 4)},
      {[] { WriteChannelUInt32(1, -2); }, "\xFE\xFF\xFF\xFF"},
      {[] { WriteChannelInt16(1, -1); }, "\xFF\xFF"},
      {[] { WriteChannelUInt16(1, 0x12345); }, "\x45\x23"},
      {[] { WriteChannelInt8(1, 0x1FF); }, "\xFF"},
      {[] { WriteChannelFloat32(1, 1.5f); }, std::string("\x00\x00\xC0\x3F", 4)},
      {[] { WriteChannelFloat64(1, 1.0f); }, std::string("\x00\x00\x00\x00\x00\x00\xF0\x3F", 8)},
      {[] { WriteChannelString(1, Text("ab")); }, "ab"},
      {[] { WriteChannelLine(1, Text("hi")); }, "hi\r\n"},
      {[] { WriteChannelLine(1, DynString()); }, "\r\n"},
      {[&] { WriteChannelLineInt(1, fortyTwo); }, "42\r\n"},
      {[&] { WriteChannelLineFloat(1, twoAndHalf); }, "2.5\r\n"},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(OpenFileChannel(1, Text("out.bin"), 0), 1);
    c.write();
    CloseChannel(1);
    EXPECT_EQ(ReadFileBytes("out.bin"), c.bytes);
  }
}

// The same reads over a file channel (true) and a memory channel (false).
class ChannelReadTest : public ChannelTest, public ::testing::WithParamInterface<bool> {
 protected:
  void Open(const std::string& bytes) {
    data_ = bytes;
    std::string name = FormatMemoryName(static_cast<u32>(data_.size()), data_.data());
    if (GetParam()) {
      ASSERT_TRUE(WriteFileBytes("in.bin", data_));
      name = "in.bin";
    }
    ASSERT_EQ(OpenFileChannel(2, Text(name), 1), 1);
    EXPECT_EQ(ChannelPosition(2), 0);
  }
  std::string data_;
};

TEST_P(ChannelReadTest, ReadsValuesOfEveryWidth) {
  Open(std::string("\xFF\xFF\xFF\xFF\x02\x01\x00\x00\x00\x00\xC0\x3F", 12) +
       std::string("\x00\x00\x00\x00\x00\x00\xF0\x3F", 8) + std::string("ab\0cd", 5));
  i32 v = 0;
  f32 f = 0;
  ReadChannelInt16(2, v);
  EXPECT_EQ(v, -1);
  SeekChannel(2, 0, 0);
  ReadChannelUInt16(2, v);
  EXPECT_EQ(v, 65535);
  ReadChannelInt8(2, v);
  EXPECT_EQ(v, 255);
  SeekChannel(2, 1, 1);
  ReadChannelInt32(2, v);
  EXPECT_EQ(v, 258);
  ReadChannelFloat32(2, f);
  EXPECT_EQ(f, 1.5f);
  ReadChannelFloat64(2, f);
  EXPECT_EQ(f, 1.0f);
  DynString text;
  ReadChannelString(2, text, 5);
  EXPECT_STREQ(text.CStr(), "ab");  // a zero byte ends the text
  EXPECT_EQ(ChannelAtEnd(2), 1);
}

TEST_P(ChannelReadTest, ReadsLinesUntilNothingIsLeft) {
  Open(" -17\r\n2.25e1\na\r\n\nb");
  i32 v = 0;
  f32 f = 0;
  ReadChannelLineInt(2, v);
  EXPECT_EQ(v, -17);
  ReadChannelLineFloat(2, f);
  EXPECT_EQ(f, 22.5f);
  DynString line;
  for (const char* expected : {"a", "", "b"}) {
    EXPECT_EQ(ChannelAtEnd(2), 0);
    ReadChannelLine(2, line);
    EXPECT_STREQ(line.CStr(), expected);
  }
  EXPECT_EQ(ChannelAtEnd(2), 1);
  EXPECT_FATAL(kErrFile, ReadChannelLine(2, line));
}

TEST_P(ChannelReadTest, ReadsCutByTheEnd) {
  Open("\x01\x02");
  i32 v = -1;
  if (GetParam()) {
    EXPECT_FATAL(kErrFile, ReadChannelInt32(2, v));  // a file must deliver every byte
    return;
  }
  ReadChannelInt32(2, v);  // a memory block completes a cut value with zeros
  EXPECT_EQ(v, 0x0201);
  EXPECT_EQ(ChannelPosition(2), 2);
  ReadChannelInt32(2, v);
  EXPECT_EQ(v, 0);
  SeekChannel(2, 1, 1);
  EXPECT_FATAL(kErrFile, ReadChannelInt8(2, v));  // beyond the end
  SeekChannel(2, -5, 0);
  EXPECT_FATAL(kErrFile, ReadChannelInt8(2, v));  // before the start
}

TEST_P(ChannelReadTest, HugeTextCountsAllocateOnlyWhatIsThere) {
  Open("abc");
  DynString text;
  if (GetParam()) {
    EXPECT_FATAL(kErrFile, ReadChannelString(2, text, 0x7FFFFFF0));
  } else {
    ReadChannelString(2, text, 0x7FFFFFF0);
    EXPECT_STREQ(text.CStr(), "abc");
  }
}

INSTANTIATE_TEST_SUITE_P(FileAndMemory, ChannelReadTest, ::testing::Bool());

TEST_F(ChannelTest, FatalErrors) {
  ASSERT_TRUE(WriteFileBytes("r.txt", "data"));
  DynString text;
  i32 v = 0;
  ASSERT_EQ(OpenFileChannel(4, Text("r.txt"), 1), 1);
  ASSERT_EQ(OpenFileChannel(5, Text("w.txt"), 0), 1);
  ASSERT_EQ(OpenFileChannel(6, Text(FormatMemoryName(4, "data")), 1), 1);
  struct Case {
    const char* what;
    f32 code;
    std::function<void()> op;
  } cases[] = {
      {"open channel 8", kErrStorage, [] { OpenFileChannel(8, DynString(), 1); }},
      {"negative channel", kErrStorage, [] { CloseChannel(static_cast<u32>(-1)); }},
      {"write channel 8", kErrStorage, [] { WriteChannelInt8(8, 0); }},
      {"read channel 9", kErrStorage, [&] { ReadChannelInt32(9, v); }},
      {"text channel 9", kErrStorage, [&] { ReadChannelString(9, text, 5); }},
      {"seek channel 8", kErrStorage, [] { SeekChannel(8, 0, 0); }},
      {"position channel 8", kErrStorage, [] { ChannelPosition(8); }},
      {"read closed", kErrFile, [&] { ReadChannelInt8(0, v); }},
      {"write closed", kErrFile, [] { WriteChannelInt8(0, 1); }},
      {"write to a read channel", kErrFile, [] { WriteChannelLine(4, DynString("x")); }},
      {"write to a memory channel", kErrFile, [] { WriteChannelInt8(6, 1); }},
      {"read a write channel", kErrFile, [&] { ReadChannelInt8(5, v); }},
      {"line from a write channel", kErrFile, [&] { ReadChannelLine(5, text); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_FATAL(c.code, c.op());
  }
  ReadChannelString(9, text, 0);  // a count below 1 checks nothing
  EXPECT_EQ(text.Length(), 0u);
}

TEST_F(ChannelTest, OpeningAndPositions) {
  ASSERT_TRUE(WriteFileBytes("r.txt", "data"));
  ASSERT_EQ(OpenFileChannel(3, Text("r.txt"), 1), 1);
  EXPECT_EQ(OpenFileChannel(3, Text("mem://       4.    1000"), 0), 0);  // memory is read-only
  EXPECT_FATAL(kErrFile, WriteChannelInt8(3, 0));                      // and the channel closed
  EXPECT_EQ(OpenFileChannel(3, Text("missing.txt"), 1), 0);
  SeekChannel(3, 10, 0);  // a closed channel: nothing
  EXPECT_EQ(ChannelPosition(3), 0);
  ASSERT_EQ(OpenFileChannel(3, Text("log.txt"), -1), 1);
  WriteChannelString(3, Text("abc"));
  SeekChannel(3, 2, 0);
  SeekChannel(3, 3, 1);  // relative to the last seek, not to the bytes written
  EXPECT_EQ(ChannelPosition(3), 5);
  EXPECT_EQ(ChannelAtEnd(3), 1);
  CloseChannel(3);
  ASSERT_EQ(OpenFileChannel(3, Text("log.txt"), -1), 1);
  WriteChannelString(3, Text("def"));
  CloseChannel(3);
  EXPECT_EQ(ReadFileBytes("log.txt"), "abcdef");
}

TEST_F(ChannelTest, PackEntriesReadAsMemoryChannels) {
  ASSERT_TRUE(WriteFileBytes("p.sbx", MakePack({{"Hiscores.dat", std::string("\x05\x00\x00\x00", 4)},
                                                {"other.txt", "o"}})));
  SetPack("p.sbx");
  ASSERT_EQ(OpenFileChannel(0, Text("hiscores.dat"), 1), 1);
  EXPECT_EQ(channelTable.channels[0].fp, nullptr);
  ASSERT_EQ(OpenFileChannel(1, Text("other.txt"), 1), 1);  // the next resolution
  i32 v = 0;
  ReadChannelInt32(0, v);
  EXPECT_EQ(v, 5);
}

TEST_F(ChannelTest, FilesByName) {
  const std::string block = "memory";
  const std::string memName = FormatMemoryName(6, block.data());
  for (std::size_t size : {0u, 4096u, 4097u, 10000u}) {
    std::string bytes(size, 'c');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 7);
    ASSERT_TRUE(WriteFileBytes("src.bin", bytes));
    CopyFileContents(Text("SRC.BIN"), Text("dst.bin"));
    EXPECT_EQ(ReadFileBytes("dst.bin"), bytes) << size;
    EXPECT_EQ(GetFileSize(Text("dst.bin")), static_cast<i32>(size));
  }
  CopyFileContents(Text(memName), Text("fromMemory.bin"));
  EXPECT_EQ(ReadFileBytes("fromMemory.bin"), "memory");
  CopyFileContents(Text("src.bin"), Text(memName));
  EXPECT_EQ(block, "memory");
  EXPECT_EQ(GetFileSize(Text(memName)), 6);
  EXPECT_EQ(GetFileSize(Text("missing")), 0);
  EXPECT_EQ(FileExists(Text("src.bin")), 1.0f);
  EXPECT_EQ(FileExists(Text("missing")), 0.0f);
}

}  // namespace
