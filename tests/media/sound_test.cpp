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
#include "tests/media/wav_maker.h"

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

TEST_F(SoundTest, HandlesTellChannelAndLimitedSlot) {
  Load("long.wav", 0);
  Load("long.wav", 5);
  Load("long.wav", 130);  // limited to 127
  ASSERT_NE(nullptr, soundSlots[127].sample);
  EXPECT_EQ(nullptr, soundSlots[128].sample);
  EXPECT_EQ(0, PlaySoundCommand(0, 0.0f, 1.0f));
  EXPECT_EQ(1, PlaySoundCommand(-9, 0.0f, 1.0f));  // limited to 0
  EXPECT_EQ(2, PlaySoundCommand(0, 0.0f, 1.0f));
  EXPECT_EQ(3 + 5 * 256, PlaySoundCommand(5, 0.0f, 1.0f));
  EXPECT_EQ(4 + 127 * 256, PlaySoundCommand(130, 0.0f, 1.0f));
  EXPECT_EQ(-1, PlaySoundCommand(6, 0.0f, 1.0f));  // an empty slot plays nothing
  EXPECT_EQ(1, IsSoundPlaying(3 + 5 * 256));
  EXPECT_EQ(0, IsSoundPlaying(5));
  EXPECT_EQ(0, IsSoundPlaying(-1));
  StopAllSounds();
  EXPECT_EQ(0, IsSoundPlaying(3 + 5 * 256));
}

TEST_F(SoundTest, VolumeAndPanMapping) {
  const struct {
    f32 volume;
    int chunkVolume;
  } rows[] = {{0.5f, 64}, {2.0f, 128}, {-1.0f, 0},  {0.999f, 126}, {kNaN, 0},
              {kInf, 128}, {-kInf, 0}, {1e30f, 128}, {-1e30f, 0}};
  Load("long.wav", 1);
  for (const auto& row : rows) {
    StopAllSounds();
    ASSERT_EQ(256, PlaySoundCommand(1, 0.0f, row.volume)) << row.volume;
    EXPECT_EQ(row.chunkVolume, Mix_VolumeChunk(soundSlots[1].sample, -1)) << row.volume;
  }
  const struct {
    f32 pan;
    i32 value;
  } pans[] = {{0.5f, 127}, {-0.3f, -76}, {2.0f, 255}, {-2.0f, -255}, {kNaN, 0}, {-kInf, -255}};
  for (const auto& row : pans) EXPECT_EQ(row.value, SoundPanValue(row.pan)) << row.pan;
}

TEST_F(SoundTest, PackedAndRecasedFilesLoad) {
  ASSERT_TRUE(WriteFileBytes(Path("game.sbx"), MakePack({{"boom.wav", WavBytes(2000)}})));
  ASSERT_TRUE(WriteFileBytes(Path("Click.WAV"), WavBytes(100)));
  SetPack(Path("game.sbx"));
  testing::internal::CaptureStdout();
  Load("boom.wav", 7);  // unpacked into a temporary file that SDL opens by name
  testing::internal::GetCapturedStdout();
  EXPECT_FALSE(generalResolver->tempFile.empty());
  const i32 handle = PlaySoundCommand(7, 0.0f, 1.0f);
  ASSERT_GE(handle, 7 * 256);
  EXPECT_EQ(1, IsSoundPlaying(handle));
  Load("click.wav", 2);
  EXPECT_NE(nullptr, soundSlots[2].sample);
  testing::internal::CaptureStdout();
  Load("absent.wav", 2);  // a load that fails leaves the slot empty
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(-1, PlaySoundCommand(2, 0.0f, 1.0f));
}

TEST_F(SoundTest, MusicVolumeIsSetOnlyWhenItChanges) {
  SetMusicVolume(0.5f);
  EXPECT_EQ(64, Mix_VolumeMusic(-1));
  Mix_VolumeMusic(10);
  SetMusicVolume(0.5f);  // unchanged: the mixer is not called
  EXPECT_EQ(10, Mix_VolumeMusic(-1));
  StopMusic();
  SetMusicVolume(0.5f);  // after a stop the same value applies again
  EXPECT_EQ(64, Mix_VolumeMusic(-1));
  const struct {
    f32 v;
    int volume;
  } rows[] = {{0.25f, 32}, {5.0f, 128}, {kNaN, 0}, {0.75f, 96}, {-0.5f, 0}, {1e30f, 128}};
  for (const auto& row : rows) {
    SetMusicVolume(row.v);
    EXPECT_EQ(row.volume, Mix_VolumeMusic(-1)) << row.v;
  }
}

TEST_F(SoundTest, PlayMusicLeavesFullVolume) {
  ASSERT_TRUE(WriteFileBytes(Path("Theme.wav"), WavBytes(3000)));
  for (i32 loop : {0, 1}) {
    PlayMusic(DynString("theme.WAV"), loop);  // found under another letter case
    EXPECT_EQ(1, IsMusicPlaying()) << loop;
    EXPECT_EQ(1.0f, StoredMusicVolume());
    EXPECT_EQ(128, Mix_VolumeMusic(-1));
    SetMusicVolume(0.5f);
    EXPECT_EQ(64, Mix_VolumeMusic(-1));
  }
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
  EXPECT_EQ(1.0f, StoredMusicVolume());
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
