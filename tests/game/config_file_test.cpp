// "Config.dat": the 4-byte volume, hand-made and damaged files, and a folder that cannot take it.
#include "game/config_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "game/game_globals.h"
#include "tests/game/game_fixture.h"

using namespace game;

namespace {

std::string FloatBytes(f32 v) {
  char bytes[4];
  std::memcpy(bytes, &v, 4);  // the test hosts are little endian, like the file
  return std::string(bytes, 4);
}

TEST_F(GameFilesTest, ConfigFilesFromTheVolumeAndBack) {
  const f32 inf = std::numeric_limits<f32>::infinity();
  const struct {
    std::string bytes;  // "none": no file
    f32 volume;
    bool rewritten;  // with the default volume
  } cases[] = {
      {"none", 0.3f, false},
      {FloatBytes(0.9f), 0.9f, false},
      {FloatBytes(0.5f) + "more", 0.5f, false},
      {FloatBytes(5.0f), 5.0f, false},  // a finite value is taken as it stands
      {FloatBytes(-1.0f), -1.0f, false},
      {"", 0.3f, true},
      {FloatBytes(0.5f).substr(0, 3), 0.3f, true},
      {FloatBytes(std::nanf("")), 0.3f, true},
      {FloatBytes(inf), 0.3f, true},
      {FloatBytes(-inf), 0.3f, true},
  };
  for (const auto& c : cases) {
    musicVolume = 0.3f;
    std::remove(Path("Config.dat").c_str());
    if (c.bytes != "none") {
      ASSERT_TRUE(WriteFileBytes(Path("Config.dat"), c.bytes));
    }
    EXPECT_NO_THROW(LoadConfig());
    EXPECT_EQ(c.volume, musicVolume) << c.bytes.size();
    const std::string left = c.bytes == "none" ? "" : c.rewritten ? FloatBytes(0.3f) : c.bytes;
    EXPECT_EQ(left, ReadFileBytes(Path("Config.dat"))) << c.bytes.size();
  }
  musicVolume = 0.7f;
  SaveConfig();
  EXPECT_EQ(std::string("\x33\x33\x33\x3f"), ReadFileBytes(Path("Config.dat")));
}

TEST_F(GameFilesTest, AConfigThatCannotBeWrittenDoesNotEndTheGame) {
  EnterRemovedFolder();
  testing::internal::CaptureStdout();
  EXPECT_NO_THROW(SaveConfig());
  const std::string output = testing::internal::GetCapturedStdout();
  EXPECT_NE(std::string::npos, output.find("can't write to file: Config.dat\n")) << output;
}

}  // namespace
