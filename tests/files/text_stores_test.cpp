// The two text stores: the line file (loading, the soft failures with their recorded codes, the
// write-back) and the INI store (its loose grammar, lookups, changes and exact write-back bytes),
// and the write-back of both at the end of the program.
#include <unistd.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/runtime_error.h"
#include "core/runtime_globals.h"
#include "files/ini_store.h"
#include "files/line_file.h"
#include "tests/files/files_fixture.h"

namespace {

class LineFileTest : public FilesTest {
 protected:
  void TearDown() override {
    OpenLineFile(lineFile, nullptr);
    errorCode = 0;
    FilesTest::TearDown();
  }
  // The line as the program reads it; the read returns the code it records in errorCode.
  static std::string Read(const std::string& name, i32 index) {
    errorCode = 0;
    DynString text;
    const f32 result = ReadFileLine(name.c_str(), index, text);
    EXPECT_EQ(result, errorCode);
    return BytesOf(text);
  }
  static void Write(const std::string& name, i32 index, const std::string& text) {
    errorCode = 0;
    WriteFileLineAt(name.c_str(), index, TextOf(text));
  }
};

TEST_F(LineFileTest, ReadsSoftFailuresRefusalsAndWriteBacks) {
  ASSERT_TRUE(WriteFileBytes("t.txt", "a\r\nb\nc\n\n  \r\nx\t\r"));
  struct Case { i32 index; const char* text; f32 code; };
  const Case cases[] = {
      {0, "a", 0}, {1, "b", 0}, {2, "c", 0}, {3, "NO_DATA", 0}, {4, "  ", 0}, {5, "x", 0},
      {6, "NO_DATA", 0}, {255, "NO_DATA", 0}, {256, "NO_DATA", 7}, {-1, "NO_DATA", 7},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Read("t.txt", c.index), c.text) << c.index;
    EXPECT_EQ(errorCode, c.code) << c.index;
  }
  DynString name("t.txt"), text;
  EXPECT_EQ(ReadFileLineCmd(name, -0.5f, text), 0.0f);  // the index is truncated toward zero
  EXPECT_EQ(BytesOf(text), "a");
  // A name too long is refused without touching the current file; a write-back that fails says so.
  const std::string longName(1024, 'n');
  EXPECT_EQ(Read(longName, 0), "NO_FILE");
  EXPECT_EQ(errorCode, 3.0f);
  Write(longName, 0, "lost");
  EXPECT_EQ(errorCode, 3.0f);
  EXPECT_EQ(lineFile.name, "t.txt");
  EXPECT_FALSE(lineFile.changed);
  Write("nofolder/x.txt", 0, "y");
  testing::internal::CaptureStdout();
  OpenLineFile(lineFile, nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "wrt-request: fopen(\"nofolder/x.txt\", \"wb\") failed\n\n"
            "can't write to file: nofolder/x.txt\n");
  // A missing file becomes current with no lines; it, and a pack entry, go to disk as new files at
  // the next switch, with the gaps before a written line filled.
  ASSERT_TRUE(WriteFileBytes("p.sbx", MakePack({{"cfg.txt", "one\r\ntwo\r\n"}})));
  SetPack("p.sbx");
  EXPECT_EQ(Read("missing.txt", 0), "NO_FILE");
  EXPECT_EQ(errorCode, 3.0f);
  EXPECT_EQ(Read("missing.txt", 0), "NO_DATA");
  EXPECT_EQ(errorCode, 0.0f);
  Write("new.txt", 0, "created");
  EXPECT_EQ(errorCode, 3.0f);
  EXPECT_EQ(Read("cfg.txt", 1), "two");  // switching files writes new.txt
  EXPECT_EQ(ReadFileBytes("new.txt"), "created\r\n");
  Write("cfg.txt", 4, "five");
  EXPECT_EQ(Read("CFG.TXT", 4), "five");  // another name byte for byte: written back, reloaded
  EXPECT_EQ(ReadFileBytes("cfg.txt"), "one\r\ntwo\r\n\r\n\r\nfive\r\n");
  // 256 lines are loaded; a long line fills slots of 1024 bytes, and full slots survive the
  // write-back.
  std::string many;
  for (int i = 0; i < 300; ++i) many += std::to_string(i) + "\n";
  ASSERT_TRUE(WriteFileBytes("many.txt", many));
  EXPECT_EQ(Read("many.txt", 255), "255");
  Write("many.txt", 0, std::string(1500, 'w'));  // cut to its slot
  OpenLineFile(lineFile, nullptr);
  const std::string back = ReadFileBytes("many.txt");
  EXPECT_EQ(back.substr(0, 1026), std::string(1024, 'w') + "\r\n");
  EXPECT_EQ(back.substr(back.size() - 5), "255\r\n");  // only the lines that were loaded
  const std::string full(1024, 'f'), rest(476, 'f');
  ASSERT_TRUE(WriteFileBytes("long.txt", full + "\r\n" + full + rest + "\nlast"));
  const std::vector<std::string> slots = {full, full, rest, "last", "added"};
  for (i32 i = 0; i < 4; ++i) EXPECT_EQ(Read("long.txt", i), slots[i]) << i;
  Write("long.txt", 4, "added");
  OpenLineFile(lineFile, nullptr);
  EXPECT_EQ(ReadFileBytes("long.txt"),
            full + "\r\n" + full + "\r\n" + rest + "\r\nlast\r\nadded\r\n");
  for (i32 i = 0; i < 5; ++i) EXPECT_EQ(Read("long.txt", i), slots[i]) << i;
}

class IniTest : public FilesTest {
 protected:
  void TearDown() override {
    DestroyIniFile();
    FilesTest::TearDown();
  }
  static std::string Get(const std::string& section, const std::string& key) {
    DynString s = TextOf(section), k = TextOf(key);
    return BytesOf(GetIniValue(s, k));
  }
  static void Put(const std::string& section, const std::string& key, const std::string& value) {
    DynString s = TextOf(section), k = TextOf(key), v = TextOf(value);
    PutIniValue(s, k, v);
  }
  static void Open(const std::string& name) {
    DynString n = TextOf(name);
    OpenIniFile(n);
  }
  // What a store of its own writes back after a change that keeps its contents.
  static std::string Rewritten(const std::string& contents) {
    EXPECT_TRUE(WriteFileBytes("in.ini", contents));
    IniFile store;
    const DynString name("in.ini");
    ParseIniFile(&store, &name);
    store.changed = 1;
    WriteIniFile(&store);
    return ReadFileBytes("in.ini");
  }
};

TEST_F(IniTest, ExampleGrammarChangesNewFilesAndTheWriteBackAtTheEnd) {
  ASSERT_TRUE(WriteFileBytes("game.ini", "x=1\r\n[Video]\r\n  Width = 320 ; px\r\n;c\r\n[audio\r\n"
                                         "vol=8\t\r\n[]\r\nmute=0\r\n[Video]\r\nHeight=240"));
  Open("game.ini");
  struct Case { const char* section; const char* key; const char* value; };
  const Case cases[] = {
      {"VIDEO", "WIDTH", "320 ; px"}, {"", "x", "1"},                 {"audio", "VOL", "8"},
      {"audio", "mute", "NO_DATA"},   {"video", "height", "NO_DATA"}, {"none", "x", "NO_DATA"},
  };
  for (const Case& c : cases) EXPECT_EQ(Get(c.section, c.key), c.value) << c.key;
  Put("", "x", "1");
  Open("game.ini");  // reopening the same file saves it first
  EXPECT_EQ(ReadFileBytes("game.ini"),
            "[]\r\nx=1\r\n[Video]\r\nWidth=320 ; px\r\n[audio]\r\nvol=8\r\n[audio]\r\nmute=0\r\n"
            "[Video]\r\nHeight=240\r\n");
  EXPECT_EQ(Get("video", "width"), "320 ; px");
  const std::pair<std::string, std::string> grammar[] = {  // what a file says, what is written back
      {"[two words]\nk=v", "[two]\r\nk=v\r\n"},
      {"[a]x\nk=v", "[a]x]\r\nk=v\r\n"},
      {"[empty]\n[full]\nk=v", "[full]\r\nk=v\r\n"},
      {"[s]\nkey\nkey value\nk = v ; note\n", "[s]\r\nk=v ; note\r\n"},
      {"[s]\n=v\nk =  \nt=x \t", "[s]\r\n=v\r\nt=x \r\n"},
      {"[s]\n ; a comment=1\n\tk=1;2", "[s]\r\nk=1;2\r\n"},
      {"[s]\nk=" + std::string(1100, 'v'), "[s]\r\nk=" + std::string(1022, 'v') + "\r\n"},
      // A value of control bytes alone is no value: the written file could not say it.
      {"[s]\nk=\x02\x01\nj=\x01x\x02\n", "[s]\r\nj=\x01x\r\n"},
  };
  for (const auto& [in, written] : grammar) EXPECT_EQ(Rewritten(in), written) << in.substr(0, 30);
  // Changes and deletions.
  ASSERT_TRUE(WriteFileBytes("c.ini", "[a]\nWidth=1\nDepth=2\nMode=3\n[b]\nk=1\n[c]\nk=2\n"));
  Open("c.ini");
  Put("A", "width", "");       // the last entry moves into its place
  Put("b", "", "");            // the last section moves into its place
  Put("new", "key", "value");  // a missing section is appended
  Put("c", "blank", "");       // a missing key is added even with an empty value
  EXPECT_EQ(Get("c", "blank"), "");
  Open("c.ini");
  EXPECT_EQ(ReadFileBytes("c.ini"),
            "[a]\r\nMode=3\r\nDepth=2\r\n[c]\r\nk=2\r\nblank=\r\n[new]\r\nkey=value\r\n");
  EXPECT_EQ(Get("c", "blank"), "NO_DATA");  // "blank=" is dropped by the parse
  Put("C", "", "");                         // deleting a section alone is a change too
  Open("c.ini");
  EXPECT_EQ(ReadFileBytes("c.ini"), "[a]\r\nMode=3\r\nDepth=2\r\n[new]\r\nkey=value\r\n");
  // A file that does not exist yet keeps its name and is created; a pack entry is never written.
  ASSERT_TRUE(WriteFileBytes("p.sbx", MakePack({{"packed.ini", "[s]\nk=packed\n"}})));
  SetPack("p.sbx");
  Open("settings.ini");
  Put("s", "k", "v");
  Open("packed.ini");
  EXPECT_EQ(ReadFileBytes("settings.ini"), "[s]\r\nk=v\r\n");
  EXPECT_EQ(Get("s", "k"), "packed");
  Put("s", "k", "changed");
  Open("settings.ini");
  EXPECT_EQ(ReadFileBytes("packed.ini"), "");
  const ChildResult child = RunInChild([] {
    Platform().runShell = [](const char*) { return 0; };
    Platform().execProgram = [](const char*, const char*) { return -1; };
    Platform().changeDir = [](const char*) { return -1; };
    Platform().exitProcess = [](int status) { _exit(status); };  // no exit handlers
    Open("end.ini");
    Put("s", "k", "v");
    WriteFileLineAt("end.txt", 0, DynString("line"));  // records error 3: the file is new
    errorCode = 0;
    EndProgram();
  });
  EXPECT_EQ(child.exitStatus, 0);
  EXPECT_EQ(ReadFileBytes("end.ini"), "[s]\r\nk=v\r\n");
  EXPECT_EQ(ReadFileBytes("end.txt"), "line\r\n");
}

}  // namespace
