// Sound effects and music under the dummy audio driver: slot limits, handle arithmetic, volume
// mapping, packed and differently-cased sound files, and the stored music volume.
#include <SDL_mixer.h>

#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "core/runtime_globals.h"
#include "media/music.h"
#include "media/sound.h"
#include "tests/files/files_fixture.h"
#include "tests/media/media_test_util.h"

namespace {

constexpr f32 kNaN = std::numeric_limits<f32>::quiet_NaN();
constexpr f32 kInf = std::numeric_limits<f32>::infinity();

// A working folder with both resolver contexts, an open audio output and the sound slots.
class SoundTest : public FilesTest {
 protected:
  void SetUp() override {
    FilesTest::SetUp();
    audioDevice = new AudioDevice();
    audioDevice->Open();
    ASSERT_TRUE(audioDevice->opened) << "the dummy audio driver must open";
    soundSlots = new SoundSlot[kSoundSlotCount];
    ASSERT_TRUE(WriteFileBytes(Path("long.wav"), WavBytes(3000)));
  }
  void TearDown() override {
    StopAllSounds();
    StopMusic();
    delete[] soundSlots;
    soundSlots = nullptr;
    audioDevice->Close();
    delete audioDevice;
    audioDevice = nullptr;
    FilesTest::TearDown();
  }
  static void Load(const char* name, i32 slot) { LoadSoundFile(DynString(name), slot, 0); }
};

// Sounds from a file, from a pack (unpacked into a temporary file that SDL opens by name) and under
// another letter case; handles tell the channel and the limited slot; volumes are limited.
TEST_F(SoundTest, LoadsFilesAndPackEntriesAndHandlesTellChannelAndLimitedSlot) {
  ASSERT_TRUE(WriteFileBytes(Path("game.sbx"), MakePack({{"boom.wav", WavBytes(3000)}})));
  ASSERT_TRUE(WriteFileBytes(Path("Click.WAV"), WavBytes(100)));
  SetPack(Path("game.sbx"));
  testing::internal::CaptureStdout();
  Load("long.wav", 0);
  Load("boom.wav", 5);
  Load("long.wav", 130);  // limited to 127
  Load("click.wav", 6);
  EXPECT_NE(nullptr, soundSlots[6].sample);
  Load("absent.wav", 6);  // a load that fails leaves the slot empty
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(nullptr, soundSlots[128].sample);
  EXPECT_EQ(0, PlaySoundCommand(0, 0.0f, 1.0f));
  EXPECT_EQ(1, PlaySoundCommand(-9, 0.0f, 1.0f));  // limited to 0
  EXPECT_EQ(2 + 5 * 256, PlaySoundCommand(5, 0.0f, 1.0f));
  EXPECT_EQ(3 + 127 * 256, PlaySoundCommand(130, 0.0f, 1.0f));
  EXPECT_EQ(-1, PlaySoundCommand(6, 0.0f, 1.0f));  // an empty slot plays nothing
  EXPECT_EQ(1, IsSoundPlaying(2 + 5 * 256));
  EXPECT_EQ(0, IsSoundPlaying(5) + IsSoundPlaying(-1));
  StopAllSounds();
  EXPECT_EQ(0, IsSoundPlaying(2 + 5 * 256));
  for (auto [volume, chunkVolume] : {std::pair{0.5f, 64}, {2.0f, 128}, {-1.0f, 0}, {kNaN, 0},
                                     {kInf, 128}, {-kInf, 0}}) {
    StopAllSounds();
    ASSERT_EQ(0, PlaySoundCommand(0, 0.0f, volume)) << volume;
    EXPECT_EQ(chunkVolume, Mix_VolumeChunk(soundSlots[0].sample, -1)) << volume;
  }
  for (auto [pan, value] : {std::pair{-0.3f, -76}, {2.0f, 255}, {-kInf, -255}, {kNaN, 0}})
    EXPECT_EQ(value, SoundPanValue(pan)) << pan;
}

TEST_F(SoundTest, MusicVolumeIsLimitedSetOnlyWhenItChangesAndFullAfterPlay) {
  SetMusicVolume(0.5f);
  EXPECT_EQ(64, Mix_VolumeMusic(-1));
  Mix_VolumeMusic(10);
  SetMusicVolume(0.5f);  // unchanged: the mixer is not called
  EXPECT_EQ(10, Mix_VolumeMusic(-1));
  StopMusic();
  SetMusicVolume(0.5f);  // after a stop the same value applies again
  EXPECT_EQ(64, Mix_VolumeMusic(-1));
  for (auto [v, volume] : {std::pair{5.0f, 128}, {kNaN, 0}, {0.25f, 32}, {-0.5f, 0}}) {
    SetMusicVolume(v);
    EXPECT_EQ(volume, Mix_VolumeMusic(-1)) << v;
  }
  ASSERT_TRUE(WriteFileBytes(Path("Theme.wav"), WavBytes(3000)));
  SetMusicVolume(0.5f);
  PlayMusic(DynString("theme.WAV"), 1);  // found under another letter case
  EXPECT_EQ(1, IsMusicPlaying());
  EXPECT_EQ(1.0f, StoredMusicVolume());
  EXPECT_EQ(128, Mix_VolumeMusic(-1));
  StopMusic();
  EXPECT_EQ(0, IsMusicPlaying());
  EXPECT_EQ(-1.0f, StoredMusicVolume());

  testing::internal::CaptureStdout();
  PlayMusic(DynString("absent.ogg"), 1);  // does not resolve: silently nothing
  EXPECT_EQ(std::string::npos, testing::internal::GetCapturedStdout().find("PLAYMUSIC:"));
  EXPECT_EQ(-1.0f, StoredMusicVolume());
  ASSERT_TRUE(WriteFileBytes(Path("noise.mod"), "not music at all"));
  testing::internal::CaptureStdout();
  PlayMusic(DynString("noise.mod"), 1);  // resolves, does not load
  const std::string output = testing::internal::GetCapturedStdout();
  EXPECT_EQ(0u, output.find("PLAYMUSIC:\n")) << output;
  EXPECT_EQ(0, IsMusicPlaying());
}

// Without an audio output the program carries on: loads leave slots empty, plays answer -1.
TEST(AudioDevice, CarriesOnWithoutAudio) {
  ScopedTempDir dir;
  ASSERT_TRUE(WriteFileBytes(dir.File("a.wav"), WavBytes(100)));
  const ChildResult child = RunInChild([&] {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    AudioDevice device;
    device.Open();
    audioDevice = &device;
    soundSlots = new SoundSlot[kSoundSlotCount];
    LoadSoundFile(DynString(dir.File("a.wav").c_str()), 1, 0);
    std::printf("%d %d\n", PlaySoundCommand(1, 0.0f, 1.0f), IsSoundPlaying(0));
    StopAllSounds();
  });
  EXPECT_EQ(0, child.exitStatus);
  EXPECT_EQ(0u, child.output.find("Can't init audio\n-1 0\n")) << child.output;
}

}  // namespace
