// The game tests' common set-up and field helpers.
#include "tests/game/game_fixture.h"

#include <SDL/SDL_mixer.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "core/data_blocks.h"
#include "core/random.h"
#include "core/runtime_globals.h"
#include "game/asset_loading.h"
#include "game/game_data.h"
#include "game/game_globals.h"
#include "game/game_main.h"
#include "game/play_rules.h"
#include "game/shape_table.h"
#include "game/timers.h"
#include "media/sound.h"
#include "platform/platform_ops.h"
#include "tests/media/wav_maker.h"

using namespace game;

void GameTest::SetUp() {
  InitGameGlobals();
  runtime.Hold(0);
  runtime.buttons->reads = 0;
  SetUpKeyLatches();
  SetUpPlayArrays();
  FillConstantTables();
  SeedRandom(12345);
}

void GameTest::TearDown() { InitGameGlobals(); }

void GameFilesTest::SetUp() {
  GameTest::SetUp();
  char cwd[4096];
  ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
  savedCwd_ = cwd;
  ASSERT_EQ(0, chdir(dir_.path().c_str()));
}

void GameFilesTest::TearDown() {
  ASSERT_EQ(0, chdir(savedCwd_.c_str()));
  GameTest::TearDown();
}

std::string GameDir() { return STAKKO_GAME_DIR; }

void GamePlayTest::SetUp() {
  GameFilesTest::SetUp();
  for (const char* pack : {"fxdata.sbx", "streamdata.sbx"})
    std::filesystem::create_symlink(GameDir() + "/" + pack, Path(pack));
  ASSERT_EQ(0, mkdir(Path("unpacked").c_str(), 0700));
  Platform().tempFolder = Path("unpacked") + "/";
  InitGameGlobals();
  GameSetup();
}

void GamePlayTest::TearDown() {
  Platform().tempFolder.clear();
  GameFilesTest::TearDown();
}

void GamePlayTest::Passes(i32 count) {
  for (i32 i = 0; i < count; ++i) GamePass();
}

void GamePlayTest::Tap(u32 buttons) {
  runtime.Hold(buttons);
  GamePass();
  runtime.Hold(0);
  GamePass();
}

bool GamePlayTest::TapUntilState(u32 buttons, i32 state, i32 limit) {
  for (i32 i = 0; i < limit && gameState != state; ++i) Tap(buttons);
  return gameState == state;
}

void GamePlayTest::RunSplashWithRelease() {
  BeginSplash();
  for (i32 frame = 0; SplashStep(); ++frame) runtime.Hold(frame == 110 ? kActionButton : 0);
}

void GameFilesTest::EnterRemovedFolder() {
  ASSERT_EQ(0, mkdir(Path("gone").c_str(), 0700));
  ASSERT_EQ(0, chdir(Path("gone").c_str()));
  ASSERT_EQ(0, rmdir(Path("gone").c_str()));
}

void FillRows(i32 top, const std::vector<std::string>& rows) {
  for (i32 r = 0; r < static_cast<i32>(rows.size()); ++r)
    for (i32 x = 0; x < kFieldColumns; ++x) {
      const char c = rows[static_cast<std::size_t>(r)].at(static_cast<std::size_t>(x));
      *fieldOccupancy.At(x, top + r) = c != '.' ? 1 : 0;
      if (c >= '0' && c <= '9') *fieldColours.At(x, top + r) = c - '0';
    }
}

std::vector<std::string> Rows(i32 top, i32 bottom) {
  std::vector<std::string> rows;
  for (i32 y = top; y <= bottom; ++y) {
    std::string row;
    for (i32 x = 0; x < kFieldColumns; ++x) row += *fieldOccupancy.At(x, y) == 1 ? 'X' : '.';
    rows.push_back(row);
  }
  return rows;
}

void PlacePiece(i32 piece, i32 turn, i32 column, i32 row) {
  currentPiece = currentColour = piece;
  rotation = turn;
  LoadPieceRotation();
  pieceColumn = column;
  pieceRow = row;
}

void SetNextPiece(i32 piece) {
  nextPiece = nextColour = piece;
  RestoreDataBlock(ShapeBlock(piece, 0));
  ReadDataInt(&nextColumns);
  ReadDataInt(&nextRows);
  nextCells.Redim(nextColumns, nextRows);
  for (i32 y = 0; y < nextRows; ++y)
    for (i32 x = 0; x < nextColumns; ++x) ReadDataFloat(nextCells.At(x, y));
}

void AddBlockTimer() { AddTimer(BlockTimerName(), FallIntervalForLevel(0), 0, 0); }

void LoadLandingSound() {
  ScopedTempDir dir;
  ASSERT_TRUE(WriteFileBytes(dir.File("tone.wav"), WavBytes(150)));
  LoadSoundFile(DynString(dir.File("tone.wav").c_str()), kLandingSoundSlot, 0);
  ASSERT_NE(nullptr, soundSlots[kLandingSoundSlot].sample);
}

i32 SetLandingSoundVolume(i32 volume) {
  return Mix_VolumeChunk(soundSlots[kLandingSoundSlot].sample, volume);
}
