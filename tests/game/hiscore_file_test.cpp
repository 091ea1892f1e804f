// "Hiscores.dat": the exact default file, round trips, sorting after reading, and damaged,
// truncated or unwritable files, which keep the list and never end the program.
#include <sys/stat.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "game/game_globals.h"
#include "game/hiscore_file.h"
#include "game/hiscore_table.h"
#include "tests/game/game_fixture.h"

using namespace game;

namespace {

std::string Entry(i32 score, const std::string& nameLine, i32 level) {
  std::string bytes;
  for (i32 shift = 0; shift < 32; shift += 8) bytes += static_cast<char>(static_cast<u32>(score) >> shift);
  bytes += nameLine;
  bytes += static_cast<char>(level & 0xFF);
  bytes += static_cast<char>((level >> 8) & 0xFF);
  return bytes;
}

// The default list in file order: ascending score, each name followed by CR LF.
const std::string kDefaultFile = Entry(80, "Tullo\r\n", 1) + Entry(100, "Pilo\r\n", 2) +
                                 Entry(120, "Zorvan\r\n", 3) + Entry(190, "Brem\r\n", 1) +
                                 Entry(1230, "Mekkas\r\n", 10);

struct Row {
  std::string name;
  i32 score, level;
  bool operator==(const Row&) const = default;
};

std::vector<Row> ListRows() {
  std::vector<Row> rows;
  for (i32 i = 0; i < hiscores.dim[0]; ++i) {
    const HiscoreEntry& e = hiscores.At(i);
    rows.push_back({std::string(e.name.CStr(), e.name.Length()), e.score, e.level});
  }
  return rows;
}

std::size_t CountLines(const std::string& output, const std::string& line) {
  std::size_t count = 0;
  for (std::size_t at = output.find(line); at != std::string::npos; at = output.find(line, at + 1)) ++count;
  return count;
}

const std::vector<Row> kDefaultRows = {
    {"Tullo", 80, 1}, {"Pilo", 100, 2}, {"Zorvan", 120, 3}, {"Brem", 190, 1}, {"Mekkas", 1230, 10}};

TEST_F(GameFilesTest, AMissingFileIsWrittenFromTheDefaults) {
  LoadDefaultHiscores();
  LoadHiscores(5);
  EXPECT_EQ(65u, kDefaultFile.size());
  EXPECT_EQ(kDefaultFile, ReadFileBytes(Path("Hiscores.dat")));
  EXPECT_EQ(kDefaultRows, ListRows());
}

TEST_F(GameFilesTest, EntriesRoundTripAndComeBackSorted) {
  LoadDefaultHiscores();
  hiscores.At(0) = HiscoreEntry{2000, DynString::FromCString("ABC     "), 32767};
  hiscores.At(2) = HiscoreEntry{-7, DynString::FromCString("Z"), -3};
  hiscores.At(4).name = DynString();  // an empty name is written as its line end alone
  SaveHiscores(5);
  EXPECT_EQ(Entry(2000, "ABC     \r\n", 32767) + Entry(100, "Pilo\r\n", 2) + Entry(-7, "Z\r\n", -3) +
                Entry(190, "Brem\r\n", 1) + Entry(1230, "\r\n", 10),
            ReadFileBytes(Path("Hiscores.dat")));
  InitGameGlobals();
  LoadDefaultHiscores();
  LoadHiscores(5);
  EXPECT_EQ((std::vector<Row>{{"Z", -7, -3}, {"Pilo", 100, 2}, {"Brem", 190, 1}, {"", 1230, 10},
                              {"ABC     ", 2000, 32767}}),
            ListRows());
}

TEST_F(GameFilesTest, HandMadeFilesAreReadAsAChannelReadsThem) {
  struct Case {
    const char* what;
    std::string bytes;
    std::vector<Row> expected;
  };
  const std::string tail = Entry(3, "C\r\n", 1) + Entry(4, "D\r\n", 1) + Entry(5, "E\r\n", 1);
  const Case cases[] = {
      {"out of order", Entry(50, "B\r\n", 1) + Entry(10, "A\r\n", 2) + tail,
       {{"A", 10, 2}, {"C", 3, 1}, {"D", 4, 1}, {"E", 5, 1}, {"B", 50, 1}}},
      {"a line feed without carriage return; a level read sign-extended",
       Entry(1, "A\n", 0xFFFF) + Entry(2, "B\r\n", 0x8000) + tail,
       {{"A", 1, -1}, {"B", 2, -32768}, {"C", 3, 1}, {"D", 4, 1}, {"E", 5, 1}}},
      {"bytes after the fifth entry are ignored", Entry(1, "A\r\n", 1) + Entry(2, "B\r\n", 1) + tail + "junk",
       {{"A", 1, 1}, {"B", 2, 1}, {"C", 3, 1}, {"D", 4, 1}, {"E", 5, 1}}},
      {"the longest name line a channel reads whole",
       Entry(1, std::string(1022, 'n') + "\r\n", 1) + Entry(2, "B\r\n", 1) + tail,
       {{std::string(1022, 'n'), 1, 1}, {"B", 2, 1}, {"C", 3, 1}, {"D", 4, 1}, {"E", 5, 1}}},
  };
  for (const Case& c : cases) {
    InitGameGlobals();
    LoadDefaultHiscores();
    ASSERT_TRUE(WriteFileBytes(Path("Hiscores.dat"), c.bytes));
    LoadHiscores(5);
    std::vector<Row> expected = c.expected;
    std::sort(expected.begin(), expected.end(), [](const Row& a, const Row& b) { return a.score < b.score; });
    EXPECT_EQ(expected, ListRows()) << c.what;
    EXPECT_EQ(c.bytes, ReadFileBytes(Path("Hiscores.dat"))) << c.what << ": not rewritten";
  }
}

TEST_F(GameFilesTest, DamagedFilesKeepTheListAndAreWrittenAnew) {
  std::vector<std::pair<std::string, std::string>> cases;
  // Every cut of the default file short of its last byte.
  for (std::size_t n = 0; n < kDefaultFile.size(); ++n) {
    cases.push_back({"cut at " + std::to_string(n), kDefaultFile.substr(0, n)});
  }
  const std::string four = Entry(2, "B\r\n", 1) + Entry(3, "C\r\n", 1) + Entry(4, "D\r\n", 1) +
                           Entry(5, "E\r\n", 1);
  cases.push_back({"a name line too long for one channel read",
                   Entry(1, std::string(1023, 'n') + "\r\n", 1) + four});
  cases.push_back({"a name line without its end", Entry(1, std::string(3000, 'n'), 1)});
  for (const auto& [what, bytes] : cases) {
    InitGameGlobals();
    LoadDefaultHiscores();
    ASSERT_TRUE(WriteFileBytes(Path("Hiscores.dat"), bytes));
    EXPECT_NO_THROW(LoadHiscores(5)) << what;
    EXPECT_EQ(kDefaultRows, ListRows()) << what;
    EXPECT_EQ(kDefaultFile, ReadFileBytes(Path("Hiscores.dat"))) << what;
  }
}

TEST_F(GameFilesTest, AFolderThatCannotTakeTheFileDoesNotEndTheGame) {
  LoadDefaultHiscores();
  EnterRemovedFolder();
  testing::internal::CaptureStdout();
  EXPECT_NO_THROW(LoadHiscores(5));
  EXPECT_NO_THROW(SaveHiscores(5));
  const std::string output = testing::internal::GetCapturedStdout();
  EXPECT_EQ(2u, CountLines(output, "can't write to file: Hiscores.dat\n")) << output;
  EXPECT_EQ(kDefaultRows, ListRows());
}

TEST_F(GameFilesTest, AFolderInPlaceOfTheFileDoesNotEndTheGame) {
  LoadDefaultHiscores();
  ASSERT_EQ(0, mkdir(Path("Hiscores.dat").c_str(), 0700));
  ASSERT_TRUE(WriteFileBytes(Path("Hiscores.dat/keep"), "x"));
  testing::internal::CaptureStdout();
  EXPECT_NO_THROW(LoadHiscores(5));
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(kDefaultRows, ListRows());
}

}  // namespace
