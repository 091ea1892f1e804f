// Sound effects and music under the dummy audio driver: slot limits, handle arithmetic, volume
// mapping, packed and differently-cased sound files, and the stored music volume.
#include <SDL_mixer.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "core/runtime_globals.h"
#include "files/file_resolver.h"
#include "media/music.h"
#include "media/sound.h"
#include "platform/platform_ops.h"
#include "tests/files/files_fixture.h"
#include "tests/media/wav_maker.h"
#include "tests/support/test_support.h"

namespace {

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
  static void Load(const std::string& name, i32 slot) {
    DynString text(name.c_str());
    LoadSoundFile(text, slot, 0);
  }
  static int ChunkVolume(i32 slot) { return Mix_VolumeChunk(soundSlots[slot].sample, -1); }
};

TEST_F(SoundTest, HandlesTellChannelAndLimitedSlot) {
  Load("long.wav", 0);
  Load("long.wav", 5);
  Load("long.wav", 130);  // limited to 127
  Load("long.wav", -4);   // limited to 0
  ASSERT_NE(nullptr, soundSlots[5].sample);
  ASSERT_NE(nullptr, soundSlots[127].sample);
  EXPECT_EQ(nullptr, soundSlots[128].sample);

  EXPECT_EQ(0, PlaySoundCommand(0, 0.0f, 1.0f));
  EXPECT_EQ(1, PlaySoundCommand(-9, 0.0f, 1.0f));
  EXPECT_EQ(2, PlaySoundCommand(0, 0.0f, 1.0f));
  EXPECT_EQ(3 + 5 * 256, PlaySoundCommand(5, 0.0f, 1.0f));
  EXPECT_EQ(4 + 127 * 256, PlaySoundCommand(130, 0.0f, 1.0f));
  EXPECT_EQ(-1, PlaySoundCommand(6, 0.0f, 1.0f));  // an empty slot plays nothing

  EXPECT_EQ(1, IsSoundPlaying(3 + 5 * 256));
  EXPECT_EQ(1, IsSoundPlaying(4));
  EXPECT_EQ(0, IsSoundPlaying(5));
  EXPECT_EQ(0, IsSoundPlaying(-1));
  StopAllSounds();
  EXPECT_EQ(0, IsSoundPlaying(3 + 5 * 256));
}

TEST_F(SoundTest, VolumeAndPanMapping) {
  const f32 nan = std::numeric_limits<f32>::quiet_NaN();
  const f32 inf = std::numeric_limits<f32>::infinity();
  const struct {
    f32 volume;
    i32 percent;
    int chunkVolume;
  } rows[] = {
      {0.5f, 50, 64},  {2.0f, 100, 128}, {-1.0f, 0, 0},  {1.0f, 100, 128}, {0.999f, 99, 126},
      {nan, 0, 0},     {inf, 100, 128},  {-inf, 0, 0},   {1e30f, 100, 128}, {-1e30f, 0, 0},
  };
  Load("long.wav", 1);
  for (const auto& row : rows) {
    EXPECT_EQ(row.percent, SoundVolumePercent(row.volume)) << row.volume;
    StopAllSounds();
    ASSERT_GE(PlaySoundCommand(1, 0.0f, row.volume), 256) << row.volume;
    EXPECT_EQ(row.chunkVolume, ChunkVolume(1)) << row.volume;
  }
  const struct {
    f32 pan;
    i32 value;
  } pans[] = {{0.5f, 127}, {-0.3f, -76}, {2.0f, 255}, {-2.0f, -255}, {nan, 0}, {-inf, -255}};
  for (const auto& row : pans) EXPECT_EQ(row.value, SoundPanValue(row.pan)) << row.pan;
  EXPECT_GE(PlaySoundCommand(1, nan, nan), 256);  // a damaged setting still plays, silently
}

TEST_F(SoundTest, PackedSoundPlaysFromATemporaryFile) {
  const std::string pack = Path("game.sbx");
  ASSERT_TRUE(WriteFileBytes(pack, MakePack({{"boom.wav", WavBytes(2000)}})));
  SetPack(pack);
  Load("boom.wav", 7);
  ASSERT_NE(nullptr, soundSlots[7].sample);
  EXPECT_FALSE(generalResolver->tempFile.empty());
  const i32 handle = PlaySoundCommand(7, 0.0f, 1.0f);
  ASSERT_GE(handle, 7 * 256);
  EXPECT_EQ(1, IsSoundPlaying(handle));
}

TEST_F(SoundTest, NamesFallBackToAnotherLetterCase) {
  ASSERT_TRUE(WriteFileBytes(Path("Click.WAV"), WavBytes(100)));
  Load("click.wav", 2);
  EXPECT_NE(nullptr, soundSlots[2].sample);

  testing::internal::CaptureStdout();
  Load("absent.wav", 2);  // the slot is emptied by a load that fails
  Load("", 3);
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(nullptr, soundSlots[2].sample);
  EXPECT_EQ(-1, PlaySoundCommand(2, 0.0f, 1.0f));
}

TEST_F(SoundTest, WithoutSlotsNothingPlays) {
  SoundSlot* saved = soundSlots;
  soundSlots = nullptr;
  Load("long.wav", 1);
  EXPECT_EQ(-1, PlaySoundCommand(1, 0.0f, 1.0f));
  soundSlots = saved;
}

int MusicVolume() { return Mix_VolumeMusic(-1); }

TEST_F(SoundTest, MusicVolumeIsSetOnlyWhenItChanges) {
  StopMusic();
  SetMusicVolume(0.5f);
  EXPECT_EQ(64, MusicVolume());
  Mix_VolumeMusic(10);
  SetMusicVolume(0.5f);  // unchanged: the mixer is not called
  EXPECT_EQ(10, MusicVolume());
  StopMusic();
  SetMusicVolume(0.5f);  // after a stop the same value applies again
  EXPECT_EQ(64, MusicVolume());

  const f32 nan = std::numeric_limits<f32>::quiet_NaN();
  const struct {
    f32 v;
    int volume;
  } rows[] = {{1.0f, 128}, {0.25f, 32}, {5.0f, 128}, {nan, 0}, {0.75f, 96}, {-0.5f, 0},
              {1e30f, 128}};
  for (const auto& row : rows) {
    SetMusicVolume(row.v);
    EXPECT_EQ(row.volume, MusicVolume()) << row.v;
  }
}

TEST_F(SoundTest, PlayMusicLeavesFullVolume) {
  ASSERT_TRUE(WriteFileBytes(Path("Theme.wav"), WavBytes(3000)));
  for (i32 loop : {0, 1}) {
    DynString name("theme.WAV");  // found under another letter case
    PlayMusic(name, loop);
    EXPECT_EQ(1, IsMusicPlaying()) << loop;
    EXPECT_EQ(1.0f, StoredMusicVolume());
    EXPECT_EQ(128, MusicVolume());
    SetMusicVolume(0.5f);
    EXPECT_EQ(64, MusicVolume());
  }
  StopMusic();
  EXPECT_EQ(0, IsMusicPlaying());
  EXPECT_EQ(-1.0f, StoredMusicVolume());
}

TEST_F(SoundTest, MusicThatDoesNotResolveOrLoad) {
  testing::internal::CaptureStdout();
  DynString absent("absent.ogg");
  PlayMusic(absent, 1);
  const std::string missing = testing::internal::GetCapturedStdout();
  EXPECT_EQ(std::string::npos, missing.find("PLAYMUSIC:"));
  EXPECT_EQ(-1.0f, StoredMusicVolume());

  ASSERT_TRUE(WriteFileBytes(Path("noise.mod"), "not music at all"));
  testing::internal::CaptureStdout();
  DynString noise("noise.mod");
  PlayMusic(noise, 1);
  const std::string output = testing::internal::GetCapturedStdout();
  EXPECT_EQ(0u, output.find("PLAYMUSIC:\n")) << output;
  EXPECT_EQ('\n', output.back());
  EXPECT_EQ(0, IsMusicPlaying());
  EXPECT_EQ(1.0f, StoredMusicVolume());
}

}  // namespace
