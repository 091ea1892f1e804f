// "Config.dat": the 4-byte volume, hand-made and damaged files, and a folder that cannot take it.
#include "game/config_file.h"

#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>

#include "tests/game/game_fixture.h"

namespace {

std::string FloatBytes(f32 v) {
  char bytes[4];
  std::memcpy(bytes, &v, 4);  // the test hosts are little endian, like the file
  return std::string(bytes, 4);
}

TEST_F(GameFilesTest, ConfigFilesFromTheVolumeAndBack) {
  // The file's bytes ("none": no file), the volume taken, and whether the file is damaged: kept
  // as "Config.dat.damaged" (replacing the older copy) and written anew with the default volume.
  const std::tuple<std::string, f32, bool> cases[] = {
      {"none", 0.3f, false},
      {FloatBytes(0.5f) + "more", 0.5f, false},
      {FloatBytes(5.0f), 5.0f, false},  // a finite value is taken as it stands
      {"", 0.3f, true},
      {FloatBytes(0.5f).substr(0, 3), 0.3f, true},
      {FloatBytes(std::nanf("")), 0.3f, true},
      {FloatBytes(-std::numeric_limits<f32>::infinity()), 0.3f, true}};
  for (const auto& [bytes, volume, rewritten] : cases) {
    musicVolume = 0.3f;
    std::remove(Path("Config.dat").c_str());
    if (bytes != "none") {
      ASSERT_TRUE(WriteFileBytes(Path("Config.dat"), bytes));
    }
    EXPECT_NO_THROW(LoadConfig());
    EXPECT_EQ(volume, musicVolume) << bytes.size();
    const std::string left = bytes == "none" ? "" : rewritten ? FloatBytes(0.3f) : bytes;
    EXPECT_EQ(left, ReadFileBytes(Path("Config.dat"))) << bytes.size();
    EXPECT_EQ(rewritten ? bytes : "", ReadFileBytes(Path("Config.dat.damaged"))) << bytes.size();
    EXPECT_EQ(rewritten, std::filesystem::exists(Path("Config.dat.damaged"))) << bytes.size();
  }
  musicVolume = 0.7f;
  SaveConfig();
  EXPECT_EQ(std::string("\x33\x33\x33\x3f"), ReadFileBytes(Path("Config.dat")));
  // Where no file can be made, nothing is written and the game goes on.
  EnterRemovedFolder();
  testing::internal::CaptureStdout();
  EXPECT_NO_THROW(SaveConfig());
  const std::string output = testing::internal::GetCapturedStdout();
  EXPECT_NE(std::string::npos, output.find("can't write to file: Config.dat\n")) << output;
}

}  // namespace
