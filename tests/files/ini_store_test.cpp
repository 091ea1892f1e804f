// The INI store: its loose grammar, lookups, changes and the exact write-back bytes.
#include <unistd.h>

#include <string>

#include <gtest/gtest.h>

#include "core/runtime_error.h"
#include "core/runtime_globals.h"
#include "files/ini_store.h"
#include "files/line_file.h"
#include "tests/files/files_fixture.h"

namespace {

class IniTest : public FilesTest {
 protected:
  void TearDown() override {
    DestroyIniFile();
    FilesTest::TearDown();
  }
  static DynString T(const std::string& s) { return DynString::FromBytes(s.data(), static_cast<u32>(s.size())); }
  std::string Get(const std::string& section, const std::string& key) {
    DynString s = T(section), k = T(key);
    return GetIniValue(s, k).CStr();
  }
  void Put(const std::string& section, const std::string& key, const std::string& value) {
    DynString s = T(section), k = T(key), v = T(value);
    PutIniValue(s, k, v);
  }
  void Open(const std::string& name) {
    DynString n = T(name);
    OpenIniFile(n);
  }
  // What the store writes back after a change that keeps its contents.
  std::string Rewritten(const std::string& contents) {
    EXPECT_TRUE(WriteFileBytes("in.ini", contents));
    IniFile store;
    const DynString name("in.ini");
    ParseIniFile(&store, &name);
    store.changed = 1;
    WriteIniFile(&store);
    return ReadFileBytes("in.ini");
  }
};

const char kExample[] =
    "x=1\r\n[Video]\r\n  Width = 320 ; px\r\n;c\r\n[audio\r\nvol=8\t\r\n[]\r\nmute=0\r\n[Video]\r\n"
    "Height=240";
const char kExampleWritten[] =
    "[]\r\nx=1\r\n[Video]\r\nWidth=320 ; px\r\n[audio]\r\nvol=8\r\n[audio]\r\nmute=0\r\n[Video]\r\n"
    "Height=240\r\n";

TEST_F(IniTest, ExampleParsesLooksUpAndWritesBack) {
  ASSERT_TRUE(WriteFileBytes("game.ini", kExample));
  Open("game.ini");
  EXPECT_EQ(iniStore.sections.Count(), 5);
  struct Case {
    const char* section;
    const char* key;
    const char* value;
  } cases[] = {
      {"VIDEO", "WIDTH", "320 ; px"}, {"", "x", "1"},           {"audio", "VOL", "8"},
      {"audio", "mute", "NO_DATA"},   {"video", "height", "NO_DATA"}, {"none", "x", "NO_DATA"},
  };
  for (const Case& c : cases) EXPECT_EQ(Get(c.section, c.key), c.value) << c.section << "/" << c.key;
  Put("", "x", "1");
  Open("game.ini");  // reopening the same file saves it first
  EXPECT_EQ(ReadFileBytes("game.ini"), kExampleWritten);
  EXPECT_EQ(Get("video", "width"), "320 ; px");
}

TEST_F(IniTest, LooseGrammar) {
  struct Case {
    std::string in;
    std::string written;
  } cases[] = {
      {"[two words]\nk=v", "[two]\r\nk=v\r\n"},
      {"[a]x\nk=v", "[a]x]\r\nk=v\r\n"},
      {"[empty]\n[full]\nk=v", "[full]\r\nk=v\r\n"},
      {"[s]\nkey\nkey value\nk = v ; note\n", "[s]\r\nk=v ; note\r\n"},
      {"[s]\n=v\nk =  \nt=x \t", "[s]\r\n=v\r\nt=x \r\n"},
      {"[s]\n ; not a comment=1\n\tk=1;2", "[s]\r\nk=1;2\r\n"},
      {"[s]\nk=" + std::string(1100, 'v'), "[s]\r\nk=" + std::string(1022, 'v') + "\r\n"},
      {"", ""},
      // A value of control bytes alone is no value: the written file could not say it.
      {"[s]\nk=\x02\x01\nj=\x01x\x02\n", "[s]\r\nj=\x01x\r\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(Rewritten(c.in), c.written) << c.in.substr(0, 30);
}

TEST_F(IniTest, ChangesAndDeletions) {
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
  Put("new", "key", "");
  Open("c.ini");
  EXPECT_EQ(ReadFileBytes("c.ini"), "[a]\r\nMode=3\r\nDepth=2\r\n[c]\r\nk=2\r\n[new]\r\n");
  EXPECT_EQ(iniStore.sections.Count(), 2);  // a header alone is gone after the parse
}

TEST_F(IniTest, NewFileWhilePackIsActiveIsCreated) {
  ASSERT_TRUE(WriteFileBytes("p.sbx", MakePack({{"packed.ini", "[s]\nk=packed\n"}})));
  SetPack("p.sbx");
  Open("settings.ini");
  Put("s", "k", "v");
  Open("packed.ini");
  EXPECT_EQ(ReadFileBytes("settings.ini"), "[s]\r\nk=v\r\n");
  EXPECT_EQ(Get("s", "k"), "packed");
  Put("s", "k", "changed");
  Open("settings.ini");  // a pack entry has nowhere to be written
  EXPECT_EQ(ReadFileBytes("packed.ini"), "");
}

// Random and damaged files parse without harm.
TEST_F(IniTest, SurvivesArbitraryBytes) {
  std::string noise;
  for (int i = 0; i < 5000; ++i) noise += static_cast<char>((i * 131 + i / 7) % 256);
  const std::string valid = kExample;
  for (std::size_t i = 0; i < valid.size(); ++i) {
    std::string damaged = valid;
    damaged[i] = static_cast<char>(damaged[i] ^ 0x5B);
    Rewritten(damaged);
    Rewritten(valid.substr(0, i));
  }
  Rewritten(noise);
}

TEST_F(IniTest, EndOfProgramWritesBothStoresBack) {
  const ChildResult child = RunInChild([] {
    Platform().runShell = [](const char*) { return 0; };
    Platform().execProgram = [](const char*, const char*) { return -1; };
    Platform().changeDir = [](const char*) { return -1; };
    Platform().exitProcess = [](int status) { _exit(status); };  // no exit handlers
    DynString name("end.ini"), s("s"), k("k"), v("v");
    OpenIniFile(name);
    PutIniValue(s, k, v);
    WriteFileLineAt("end.txt", 0, DynString("line"));  // records error 3: the file is new
    errorCode = 0;
    EndProgram();
  });
  EXPECT_EQ(child.exitStatus, 0);
  EXPECT_EQ(ReadFileBytes("end.ini"), "[s]\r\nk=v\r\n");
  EXPECT_EQ(ReadFileBytes("end.txt"), "line\r\n");
}

}  // namespace
