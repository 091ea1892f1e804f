// "Config.dat": the 4-byte volume, hand-made and damaged files, and a folder that cannot take it.
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "game/config_file.h"
#include "game/game_globals.h"
#include "tests/game/game_fixture.h"

using namespace game;

namespace {

std::string FloatBytes(f32 v) {
  u32 bits;
  std::memcpy(&bits, &v, sizeof bits);
  std::string bytes;
  for (i32 shift = 0; shift < 32; shift += 8) bytes += static_cast<char>(bits >> shift);
  return bytes;
}

TEST_F(GameFilesTest, ConfigKeepsTheVolumeAsFourLittleEndianBytes) {
  musicVolume = 0.7f;
  SaveConfig();
  const std::string expected = {'\x33', '\x33', '\x33', '\x3f'};
  EXPECT_EQ(expected, ReadFileBytes(Path("Config.dat")));
  musicVolume = 0.3f;
  LoadConfig();
  EXPECT_EQ(0.7f, musicVolume);
}

TEST_F(GameFilesTest, AMissingConfigKeepsTheVolumeAndWritesNothing) {
  LoadConfig();
  EXPECT_EQ(0.3f, musicVolume);
  EXPECT_EQ("", ReadFileBytes(Path("Config.dat")));
}

TEST_F(GameFilesTest, HandMadeAndDamagedConfigFiles) {
  const f32 inf = std::numeric_limits<f32>::infinity();
  struct Case {
    const char* what;
    std::string bytes;
    f32 volume;
    bool rewritten;
  };
  const Case cases[] = {
      {"0.9", FloatBytes(0.9f), 0.9f, false},
      {"longer than 4 bytes", FloatBytes(0.5f) + "more", 0.5f, false},
      {"a larger finite value is used as it stands", FloatBytes(5.0f), 5.0f, false},
      {"negative", FloatBytes(-1.0f), -1.0f, false},
      {"empty", "", 0.3f, true},
      {"3 bytes", FloatBytes(0.5f).substr(0, 3), 0.3f, true},
      {"NaN", FloatBytes(std::nanf("")), 0.3f, true},
      {"+inf", FloatBytes(inf), 0.3f, true},
      {"-inf", FloatBytes(-inf), 0.3f, true},
  };
  for (const Case& c : cases) {
    musicVolume = 0.3f;
    ASSERT_TRUE(WriteFileBytes(Path("Config.dat"), c.bytes));
    EXPECT_NO_THROW(LoadConfig()) << c.what;
    EXPECT_EQ(c.volume, musicVolume) << c.what;
    EXPECT_EQ(c.rewritten ? FloatBytes(0.3f) : c.bytes, ReadFileBytes(Path("Config.dat"))) << c.what;
  }
}

TEST_F(GameFilesTest, AConfigThatCannotBeWrittenDoesNotEndTheGame) {
  EnterRemovedFolder();
  testing::internal::CaptureStdout();
  EXPECT_NO_THROW(SaveConfig());
  const std::string output = testing::internal::GetCapturedStdout();
  EXPECT_NE(std::string::npos, output.find("can't write to file: Config.dat\n")) << output;
}

}  // namespace
