// The channels: exact bytes on file, one read suite (values, lines and line pieces) over a file
// and a memory block, the fatal errors 3 and 7, and the by-name commands; wildcards, directory
// listing and the working directory.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "core/runtime_error.h"
#include "files/channel_table.h"
#include "files/directory_commands.h"
#include "tests/files/files_fixture.h"

namespace {

class ChannelTest : public FilesTest {
 protected:
  void TearDown() override {
    CloseAllChannels();
    FilesTest::TearDown();
  }
};

// Every value and line form as the writers put it on file, little endian, and the readers take
// it back.
const std::string kWritten =
    std::string("\xFF\xFF\x45\x23\xFF\x02\x01\x00\x00\xFE\xFF\xFF\xFF\x00\x00\xC0\x3F", 17) +
    std::string("\x00\x00\x00\x00\x00\x00\xF0\x3F" "ab\0cd", 13) + "hi\r\n\r\n123456789\r\n2.5\r\n";

// The same reads over a file and over a memory block.
class ChannelReadTest : public ChannelTest, public ::testing::WithParamInterface<bool> {
 protected:
  void Open(const std::string& bytes) {
    data_ = bytes;
    const std::string name = FromFile() ? "in.bin" : MemName(data_);
    ASSERT_TRUE(!FromFile() || WriteFileBytes(name, data_));
    ASSERT_EQ(OpenFileChannel(2, TextOf(name), 1), 1);
  }
  bool FromFile() const { return GetParam(); }
  // Every line ReadFileChannelLine gives for `data` with a buffer of maxBytes.
  std::vector<std::string> Lines(const std::string& data, int maxBytes) {
    Open(data);
    FileChannel& channel = channelTable.channels[2];
    std::vector<std::string> lines;
    std::vector<char> buffer(maxBytes + 8, '#');
    while (lines.size() < 100 && ReadFileChannelLine(&channel, buffer.data(), maxBytes)) {
      EXPECT_EQ(buffer[maxBytes], '#') << "wrote beyond maxBytes";
      lines.push_back(buffer.data());
    }
    EXPECT_EQ(channel.pos, channel.memSize);
    return lines;
  }
  std::string data_;
};

TEST_P(ChannelReadTest, ReadsWhatTheWritersWroteLinesAndPiecesAndReadsCutByTheEnd) {
  ASSERT_NO_FATAL_FAILURE(Open(kWritten));
  i32 v = 0;
  f32 f = 0;
  DynString text;
  ReadChannelInt16(2, v);
  EXPECT_EQ(v, -1);
  SeekChannel(2, -2, 1);
  struct IntRead { void (*read)(u32, i32&); i32 value; };
  const IntRead reads[] = {{ReadChannelUInt16, 0xFFFF}, {ReadChannelUInt16, 0x2345},
                           {ReadChannelInt8, 0xFF},     {ReadChannelInt32, 258},
                           {ReadChannelUInt32, -2}};
  for (const IntRead& r : reads) {
    r.read(2, v);
    EXPECT_EQ(v, r.value);
  }
  ReadChannelFloat32(2, f);
  EXPECT_EQ(f, 1.5f);
  ReadChannelFloat64(2, f);
  EXPECT_EQ(f, 1.0f);
  ReadChannelString(2, text, 5);
  EXPECT_EQ(BytesOf(text), "ab");  // a zero byte ends the text
  ReadChannelLine(2, text);
  EXPECT_EQ(BytesOf(text), "hi");
  ReadChannelLine(2, text);
  EXPECT_EQ(BytesOf(text), "");
  ReadChannelLineInt(2, v);
  EXPECT_EQ(v, 123456789);
  EXPECT_EQ(ChannelAtEnd(2), 0);
  SeekChannel(2, -5, -1);
  ReadChannelLineFloat(2, f);
  EXPECT_EQ(f, 2.5f);
  EXPECT_EQ(ChannelAtEnd(2), 1);
  EXPECT_FATAL(kErrFile, ReadChannelLine(2, text));
  // Lines and pieces of lines.
  const std::string s63(63, 'x'), w1023(1023, 'w'), w1024(1024, 'w');
  struct Case { std::string data; int maxBytes; std::vector<std::string> lines; };
  const Case cases[] = {
      {s63 + "\r\n" + "next\n", 1025, {s63, "next"}},  // CR LF across a 64-byte chunk
      {"last line\r", 1025, {"last line"}},
      {std::string(130, 'p') + "\r\n", 64, {std::string(63, 'p'), std::string(63, 'p'), "pppp"}},
      {"", 1025, {}},
      // A text that fills the buffer exactly is a whole line, however its end is written.
      {w1024 + "\r\nnext", 1025, {w1024, "next"}},
      {w1024 + "\nnext", 1025, {w1024, "next"}},
      {w1024 + "\r", 1025, {w1024}},
      {w1023 + "\r\r\n", 1025, {w1023 + "\r"}},
      {w1024 + "w\n", 1025, {w1024, "w"}},
      {w1024 + "w\r", 1025, {w1024, "w"}},
  };
  for (const Case& c : cases) EXPECT_EQ(Lines(c.data, c.maxBytes), c.lines) << c.data.substr(0, 20);
  // Reads cut by the end.
  ASSERT_NO_FATAL_FAILURE(Open("\x01\x02"));
  v = -1;
  if (FromFile()) {  // a file must deliver every byte
    EXPECT_FATAL(kErrFile, ReadChannelString(2, text, 0x7FFFFFF0));
    SeekChannel(2, 0, 0);
    EXPECT_FATAL(kErrFile, ReadChannelInt32(2, v));
    return;
  }
  ReadChannelString(2, text, 0x7FFFFFF0);  // a huge count takes only what is there
  EXPECT_EQ(BytesOf(text), "\x01\x02");
  SeekChannel(2, 0, 0);
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

INSTANTIATE_TEST_SUITE_P(FileAndMemory, ChannelReadTest, ::testing::Bool());

TEST_F(ChannelTest, WildcardsDirectoriesWritesErrorsPositionsAndFilesByName) {
  // Wildcard patterns.
  struct Wildcard { const char* pattern; const char* name; int match; };
  const Wildcard wildcards[] = {
      {"*.png", "TITLE.PNG", 1}, {"*.png", "title.png.bak", 0}, {"a?c", "abc", 1},
      {"a?c", "a.c", 0},         {"?", ".", 0},                {"*", "anything.at.all", 1},
      {"", "", 1},               {"", "a", 0},                 {"*.*", "README", 1},
      {"*.*.", "README", 0},     {"**b", "aab", 1},            {"a*b*c", "aXbYbZc", 1},
      {"a*b*c", "aXbYbZ", 0},    {"*x", "xxxy", 0},            {"*ab", "aab", 1},
      {"T*.TXT", "t1.txt", 1},   {"t*", "", 0},                {"*", "", 1},
  };
  for (const Wildcard& c : wildcards) {
    EXPECT_EQ(MatchWildcard(c.pattern, c.name), c.match) << c.pattern << " / " << c.name;
  }
  // Directories first (all of them), then the files that match; the result counts both.
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
  // The writers put exact little-endian bytes on file.
  i32 big = 123456789;
  f32 twoAndHalf = 2.5f;
  ASSERT_EQ(OpenFileChannel(1, TextOf("out.bin"), 0), 1);
  WriteChannelInt16(1, -1);
  WriteChannelUInt16(1, 0x12345);
  WriteChannelInt8(1, 0x1FF);
  WriteChannelInt32(1, 258);
  WriteChannelUInt32(1, -2);
  WriteChannelFloat32(1, 1.5f);
  WriteChannelFloat64(1, 1.0f);
  WriteChannelString(1, TextOf(std::string("ab\0cd", 5)));
  WriteChannelLine(1, TextOf("hi"));
  WriteChannelLine(1, DynString());
  WriteChannelLineInt(1, big);
  WriteChannelLineFloat(1, twoAndHalf);
  CloseChannel(1);
  EXPECT_EQ(ReadFileBytes("out.bin"), kWritten);
  // The fatal errors 3 and 7.
  ASSERT_TRUE(WriteFileBytes("r.txt", "data"));
  DynString text;
  i32 v = 0;
  ASSERT_EQ(OpenFileChannel(4, TextOf("r.txt"), 1), 1);
  ASSERT_EQ(OpenFileChannel(5, TextOf("w.txt"), 0), 1);
  ASSERT_EQ(OpenFileChannel(6, TextOf(FormatMemoryName(4, "data")), 1), 1);
  struct Case { const char* what; f32 code; std::function<void()> op; };
  const Case cases[] = {
      {"open channel 8", kErrStorage, [] { OpenFileChannel(8, DynString(), 1); }},
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
  ASSERT_EQ(OpenFileChannel(3, TextOf("r.txt"), 1), 1);
  EXPECT_EQ(OpenFileChannel(3, TextOf("mem://       4.    1000"), 0), 0);  // memory is read-only
  EXPECT_FATAL(kErrFile, ReadChannelInt8(3, v));                      // and the channel closed
  EXPECT_EQ(OpenFileChannel(3, TextOf("missing.txt"), 1), 0);
  SeekChannel(3, 10, 0);  // a closed channel: nothing
  EXPECT_EQ(ChannelPosition(3), 0);
  ASSERT_EQ(OpenFileChannel(3, TextOf("log.txt"), -1), 1);
  WriteChannelString(3, TextOf("abc"));
  SeekChannel(3, 2, 0);
  SeekChannel(3, 3, 1);  // relative to the last seek, not to the bytes written
  EXPECT_EQ(ChannelPosition(3), 5);
  EXPECT_EQ(ChannelAtEnd(3), 1);
  CloseChannel(3);
  ASSERT_EQ(OpenFileChannel(3, TextOf("log.txt"), -1), 1);
  WriteChannelString(3, TextOf("def"));
  CloseChannel(3);
  EXPECT_EQ(ReadFileBytes("log.txt"), "abcdef");
  const std::string bytes = "a" + std::string(4095, 'c') + "z";  // more than one copy chunk
  ASSERT_TRUE(WriteFileBytes("src.bin", bytes));
  CopyFileContents(TextOf("SRC.BIN"), TextOf("dst.bin"));
  EXPECT_EQ(ReadFileBytes("dst.bin"), bytes);
  EXPECT_EQ(GetFileSize(TextOf("dst.bin")), 4097);
  const std::string block = "memory";
  CopyFileContents(TextOf(MemName(block)), TextOf("fromMemory.bin"));
  EXPECT_EQ(ReadFileBytes("fromMemory.bin"), "memory");
  EXPECT_EQ(GetFileSize(TextOf(MemName(block))), 6);
  EXPECT_EQ(GetFileSize(TextOf("missing")), 0);
  EXPECT_EQ(FileExists(TextOf("src.bin")), 1.0f);
  EXPECT_EQ(FileExists(TextOf("missing")), 0.0f);
  // The working directory.
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
