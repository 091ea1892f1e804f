// The line file: loading, the soft failures with their recorded codes, and the write-back.
#include <string>

#include <gtest/gtest.h>

#include "core/runtime_error.h"
#include "core/runtime_globals.h"
#include "files/line_file.h"
#include "tests/files/files_fixture.h"

namespace {

class LineFileTest : public FilesTest {
 protected:
  void SetUp() override {
    FilesTest::SetUp();
    errorCode = 0;
  }
  void TearDown() override {
    OpenLineFile(lineFile, nullptr);
    errorCode = 0;
    FilesTest::TearDown();
  }
  // The line as the program reads it, and the code the read recorded.
  std::string Read(const char* name, i32 index, f32* code = nullptr) {
    errorCode = 0;
    DynString text;
    const f32 result = ReadFileLine(name, index, text);
    EXPECT_EQ(result, errorCode);
    if (code != nullptr) *code = result;
    return text.CStr();
  }
  static void Write(const char* name, i32 index, const std::string& text) {
    WriteFileLineAt(name, index, DynString::FromBytes(text.data(), static_cast<u32>(text.size())));
  }
};

TEST_F(LineFileTest, ReadsLinesAndSoftFailures) {
  ASSERT_TRUE(WriteFileBytes("t.txt", "a\r\nb\nc\n\n  \r\nx\t\r"));
  f32 code = -1;
  struct Case {
    i32 index;
    const char* text;
    f32 code;
  } cases[] = {
      {0, "a", 0}, {1, "b", 0}, {2, "c", 0}, {3, "NO_DATA", 0}, {4, "  ", 0}, {5, "x", 0},
      {6, "NO_DATA", 0}, {255, "NO_DATA", 0}, {256, "NO_DATA", 7}, {-1, "NO_DATA", 7},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Read("t.txt", c.index, &code), c.text) << c.index;
    EXPECT_EQ(code, c.code) << c.index;
  }
  DynString name("t.txt");
  DynString text;
  EXPECT_EQ(ReadFileLineCmd(name, -0.5f, text), 0.0f);
  EXPECT_STREQ(text.CStr(), "a");
}

TEST_F(LineFileTest, MissingFileBecomesCurrentAndEmpty) {
  f32 code = 0;
  EXPECT_EQ(Read("missing.txt", 0, &code), "NO_FILE");
  EXPECT_EQ(code, 3.0f);
  EXPECT_EQ(Read("missing.txt", 0, &code), "NO_DATA");
  EXPECT_EQ(code, 0.0f);
  Write("new.txt", 0, "created");
  EXPECT_EQ(errorCode, 3.0f);
  EXPECT_EQ(Read("missing.txt", 0), "NO_FILE");  // switching files writes new.txt
  EXPECT_EQ(ReadFileBytes("new.txt"), "created\r\n");
}

TEST_F(LineFileTest, WriteBackFillsTheGapsAndKeepsCase) {
  ASSERT_TRUE(WriteFileBytes("a.txt", "l0\nl1\n"));
  Write("a.txt", 5, "new");
  EXPECT_EQ(Read("A.TXT", 5), "new");  // another name byte for byte: written back, reloaded
  EXPECT_EQ(ReadFileBytes("a.txt"), "l0\r\nl1\r\n\r\n\r\n\r\nnew\r\n");
}

TEST_F(LineFileTest, LongFilesAndLines) {
  std::string many;
  for (int i = 0; i < 300; ++i) many += std::to_string(i) + "\n";
  ASSERT_TRUE(WriteFileBytes("many.txt", many));
  EXPECT_EQ(Read("many.txt", 255), "255");
  Write("many.txt", 0, std::string(1500, 'w'));  // cut to its slot
  ASSERT_TRUE(WriteFileBytes("long.txt", "start\n" + std::string(1500, 'L') + "\nend"));
  EXPECT_EQ(Read("long.txt", 1), std::string(1024, 'L'));
  EXPECT_EQ(Read("long.txt", 2), std::string(476, 'L'));
  EXPECT_EQ(Read("long.txt", 3), "end");
  const std::string back = ReadFileBytes("many.txt");
  EXPECT_EQ(back.substr(0, 1026), std::string(1024, 'w') + "\r\n");
  EXPECT_EQ(back.substr(back.size() - 5), "255\r\n");  // only the lines that were loaded
}

// Full slots are written back as lines of 1024 bytes, which must load as the same slots.
TEST_F(LineFileTest, FullSlotsSurviveTheWriteBack) {
  const std::string full(1024, 'f');
  ASSERT_TRUE(WriteFileBytes("full.txt", full + "\r\n" + full + "\nlast"));
  EXPECT_EQ(Read("full.txt", 1), full);
  Write("full.txt", 3, "added");
  OpenLineFile(lineFile, nullptr);
  EXPECT_EQ(ReadFileBytes("full.txt"), full + "\r\n" + full + "\r\nlast\r\nadded\r\n");
  for (const auto& [index, text] : {std::pair{0, full}, {1, full}, {2, std::string("last")},
                                    {3, std::string("added")}}) {
    EXPECT_EQ(Read("full.txt", index), text) << index;
  }
}

TEST_F(LineFileTest, RefusesNamesTooLongAndReportsFailedWriteBack) {
  ASSERT_TRUE(WriteFileBytes("keep.txt", "k\n"));
  EXPECT_EQ(Read("keep.txt", 0), "k");
  const std::string longName(1024, 'n');
  f32 code = 0;
  EXPECT_EQ(Read(longName.c_str(), 0, &code), "NO_FILE");
  EXPECT_EQ(code, 3.0f);
  Write(longName.c_str(), 0, "lost");
  EXPECT_EQ(errorCode, 3.0f);
  EXPECT_EQ(lineFile.name, "keep.txt");  // the current file was not touched
  EXPECT_FALSE(lineFile.changed);
  Write("nofolder/x.txt", 0, "y");
  testing::internal::CaptureStdout();
  OpenLineFile(lineFile, nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "wrt-request: fopen(\"nofolder/x.txt\", \"wb\") failed\n\n"
            "can't write to file: nofolder/x.txt\n");
}

TEST_F(LineFileTest, PackEntryIsWrittenAsANewFile) {
  ASSERT_TRUE(WriteFileBytes("p.sbx", MakePack({{"cfg.txt", "one\r\ntwo\r\n"}})));
  SetPack("p.sbx");
  EXPECT_EQ(Read("cfg.txt", 1), "two");
  Write("cfg.txt", 2, "three");
  OpenLineFile(lineFile, nullptr);
  EXPECT_EQ(ReadFileBytes("cfg.txt"), "one\r\ntwo\r\nthree\r\n");
}

// Random bytes (zeros, CRs and all) load and read back without harm.
TEST_F(LineFileTest, SurvivesArbitraryBytes) {
  std::string noise;
  for (int i = 0; i < 6000; ++i) noise += static_cast<char>((i * 7919 + i / 13) % 256);
  for (std::size_t cut : {noise.size(), std::size_t{1025}, std::size_t{1}}) {
    ASSERT_TRUE(WriteFileBytes("noise.bin", noise.substr(0, cut)));
    for (i32 i = 0; i < 256; i += 5) Read("noise.bin", i);
    OpenLineFile(lineFile, nullptr);
  }
}

}  // namespace
