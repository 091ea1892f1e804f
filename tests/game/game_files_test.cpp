// The game's files. "Hiscores.dat": files as a channel reads them, sorted; damaged files (kept
// beside it, the exact default file written) and unwritable ones, which keep the list and never
// end the program. "Config.dat": the 4-byte volume, hand-made and damaged files, and a folder
// that cannot take it.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <filesystem>
#include <limits>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <tuple>
#include <vector>

#include "game/config_file.h"
#include "game/game_globals.h"
#include "game/hiscore_file.h"
#include "game/hiscore_table.h"
#include "tests/game/game_fixture.h"

using namespace game;

namespace {

using List = std::vector<std::tuple<std::string, i32, i32>>;  // name, score, level

std::string Entry(i32 score, const std::string& nameLine, i32 level) {
  return LE(static_cast<u32>(score), 4) + nameLine + LE(static_cast<u32>(level), 2);
}

const std::string kDefaultFile = Entry(80, "Tullo\r\n", 1) + Entry(100, "Pilo\r\n", 2) +
                                 Entry(120, "Zorvan\r\n", 3) + Entry(190, "Brem\r\n", 1) +
                                 Entry(1230, "Mekkas\r\n", 10);
const List kDefaultList = {
    {"Tullo", 80, 1}, {"Pilo", 100, 2}, {"Zorvan", 120, 3}, {"Brem", 190, 1}, {"Mekkas", 1230, 10}};

std::string FloatBytes(f32 v) { return LE(std::bit_cast<u32>(v), 4); }

List ListNow() {
  List list;
  for (i32 i = 0; i < hiscores.dim[0]; ++i) {
    const HiscoreEntry& e = hiscores.At(i);
    list.emplace_back(std::string(e.name.CStr(), e.name.Length()), e.score, e.level);
  }
  return list;
}

// Starts from the defaults, lays the file (unless absent) and loads it.
void LoadFrom(const std::string& path, const std::string* bytes) {
  InitGameGlobals();
  LoadDefaultHiscores();
  if (bytes != nullptr) {
    ASSERT_TRUE(WriteFileBytes(path, *bytes));
  }
  EXPECT_NO_THROW(LoadHiscores(5));
}

TEST_F(GameFilesTest, HiscoreAndConfigFilesReadDamagedAndUnwritable) {
  const std::string tail = Entry(3, "C\r\n", 1) + Entry(4, "D\r\n", 1) + Entry(5, "E\r\n", 1);
  const List tailList = {{"C", 3, 1}, {"D", 4, 1}, {"E", 5, 1}};
  const std::pair<std::string, List> cases[] = {
      {Entry(50, "B\r\n", 1) + Entry(10, "A\r\n", 2) + tail, {{"A", 10, 2}, {"B", 50, 1}}},
      // A line feed alone ends a line; the level is sign-extended; bytes after 5 entries are
      // ignored.
      {Entry(1, "A\n", 0xFFFF) + Entry(2, "B\r\n", 0x8000) + tail + "junk",
       {{"A", 1, -1}, {"B", 2, -32768}}},
      // The longest names one channel read returns whole, whatever ends their lines.
      {Entry(1, std::string(1024, 'n') + "\r\n", 1) + Entry(2, std::string(1024, 'm') + "\n", 1) +
           tail,
       {{std::string(1024, 'n'), 1, 1}, {std::string(1024, 'm'), 2, 1}}},
  };
  for (const auto& [bytes, head] : cases) {
    LoadFrom(Path("Hiscores.dat"), &bytes);
    List expected = head;
    expected.insert(expected.end(), tailList.begin(), tailList.end());
    std::sort(expected.begin(), expected.end(),
              [](auto& a, auto& b) { return std::get<1>(a) < std::get<1>(b); });
    EXPECT_EQ(expected, ListNow());
    EXPECT_EQ(bytes, ReadFileBytes(Path("Hiscores.dat")));  // not rewritten
    EXPECT_FALSE(std::filesystem::exists(Path("Hiscores.dat.damaged")));
  }
  // The damaged bytes are kept beside the file, replacing an older copy, and one line says so.
  std::vector<std::string> bad;
  for (std::size_t n = 0; n < kDefaultFile.size(); ++n) bad.push_back(kDefaultFile.substr(0, n));
  bad.push_back(Entry(1, std::string(1025, 'n') + "\r\n", 1) + kDefaultFile);  // line too long
  bad.push_back(Entry(1, std::string(3000, 'n'), 1));                          // line never ends
  for (const std::string& bytes : bad) {
    testing::internal::CaptureStdout();
    LoadFrom(Path("Hiscores.dat"), &bytes);
    EXPECT_EQ("Hiscores.dat is damaged: kept as Hiscores.dat.damaged, the defaults are written in "
              "its place\n",
              testing::internal::GetCapturedStdout());
    EXPECT_EQ(kDefaultList, ListNow()) << bytes.size() << " bytes";
    EXPECT_EQ(kDefaultFile, ReadFileBytes(Path("Hiscores.dat"))) << bytes.size() << " bytes";
    EXPECT_EQ(bytes, ReadFileBytes(Path("Hiscores.dat.damaged"))) << bytes.size() << " bytes";
  }
  // "Config.dat". The file's bytes ("none": no file), the volume taken (0.7 is the one the game
  // had), and whether the file is damaged: kept as "Config.dat.damaged" (replacing the older copy)
  // and written anew with the volume taken; one that is not a finite number becomes the default.
  const std::tuple<std::string, f32, bool> configs[] = {
      {"none", 0.7f, false},
      {FloatBytes(0.5f) + "more", 0.5f, false},
      {FloatBytes(5.0f), 5.0f, false},  // a finite value is taken as it stands
      {"", 0.7f, true},
      {FloatBytes(0.5f).substr(0, 3), 0.7f, true},
      {FloatBytes(std::nanf("")), 0.3f, true},
      {FloatBytes(-std::numeric_limits<f32>::infinity()), 0.3f, true}};
  for (const auto& [bytes, volume, rewritten] : configs) {
    musicVolume = 0.7f;
    std::remove(Path("Config.dat").c_str());
    if (bytes != "none") {
      ASSERT_TRUE(WriteFileBytes(Path("Config.dat"), bytes));
    }
    EXPECT_NO_THROW(LoadConfig());
    EXPECT_EQ(volume, musicVolume) << bytes.size();
    const std::string left = bytes == "none" ? "" : rewritten ? FloatBytes(volume) : bytes;
    EXPECT_EQ(left, ReadFileBytes(Path("Config.dat"))) << bytes.size();
    EXPECT_EQ(rewritten ? bytes : "", ReadFileBytes(Path("Config.dat.damaged"))) << bytes.size();
    EXPECT_EQ(rewritten, std::filesystem::exists(Path("Config.dat.damaged"))) << bytes.size();
  }
  // Files that cannot be made or read do not end the game.
  // A folder in place of the file reports an endless size and fails every read.
  std::remove(Path("Hiscores.dat").c_str());
  ASSERT_EQ(0, mkdir(Path("Hiscores.dat").c_str(), 0700));
  ASSERT_TRUE(WriteFileBytes(Path("Hiscores.dat/x"), "x"));
  testing::internal::CaptureStdout();
  LoadFrom(Path("Hiscores.dat"), nullptr);
  EXPECT_EQ(kDefaultList, ListNow());
  ASSERT_EQ(0, mkdir(Path("gone").c_str(), 0700));  // a working folder where no file can be made
  ASSERT_EQ(0, chdir(Path("gone").c_str()));
  ASSERT_EQ(0, rmdir(Path("gone").c_str()));
  LoadFrom(Path("Hiscores.dat"), nullptr);
  EXPECT_NO_THROW(SaveHiscores(5));
  EXPECT_NO_THROW(SaveConfig());
  const std::string output = testing::internal::GetCapturedStdout();
  EXPECT_NE(std::string::npos, output.find("can't write to file: Config.dat\n")) << output;
  std::size_t refusals = 0;
  for (std::size_t at = 0;
       (at = output.find("can't write to file: Hiscores.dat\n", at)) != std::string::npos; ++at)
    ++refusals;
  EXPECT_EQ(3u, refusals) << output;
}

}  // namespace
