// The game tests' runtime, folders, field helpers and screen probes.
#include "tests/game/game_fixture.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "core/data_blocks.h"
#include "core/random.h"
#include "media/font_commands.h"
#include "media/graphics_commands.h"
#include "media/pixel_format.h"
#include "platform/platform_ops.h"

GameTest::GameTest() : RuntimeDevicesTest(320, 240, 30, true) {
  LoadFontFile(DynString(), 1);
  LoadFontFile(DynString(), 0);
  ResetDrawState();
}

void GameTest::SetUp() {
  InitGameGlobals();
  Hold(0);
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

void GamePlayTest::SetUp() {
  GameFilesTest::SetUp();
  for (const char* pack : {"fxdata.sbx", "streamdata.sbx"})
    std::filesystem::create_symlink(kGameDir + "/" + pack, Path(pack));
  ASSERT_EQ(0, mkdir(Path("unpacked").c_str(), 0700));
  ASSERT_TRUE(WriteFileBytes(Path("Config.dat"), LE(0x3F000000, 4)));  // a music volume of 0.5
  Platform().tempFolder = Path("unpacked") + "/";
  InitGameGlobals();
  GameSetup();
}

void GamePlayTest::TearDown() {
  Platform().tempFolder.clear();
  GameFilesTest::TearDown();
}

void FillRows(i32 top, const Picture& rows) {
  for (i32 r = 0; r < static_cast<i32>(rows.size()); ++r)
    for (i32 x = 0; x < kFieldColumns; ++x) {
      const char c = rows[static_cast<std::size_t>(r)].at(static_cast<std::size_t>(x));
      *fieldOccupancy.At(x, top + r) = c != '.' ? 1 : 0;
      if (c >= '0' && c <= '9') *fieldColours.At(x, top + r) = c - '0';
    }
}

Picture Rows(i32 top, i32 bottom) {
  Picture rows;
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

i32 PixelsUnlike(i32 x, i32 y, i32 w, i32 h, u32 colour) {
  i32 unlike = 0;
  for (i32 j = y; j < y + h; ++j)
    for (i32 i = x; i < x + w; ++i) unlike += GetPixelCommand(i, j) != colour ? 1 : 0;
  return unlike;
}

i32 PixelsUnlikeSprite(i32 sprite, i32 x, i32 y, i32 w, i32 h) {
  i32 unlike = 0;
  for (i32 j = y; j < y + h; ++j)
    for (i32 i = x; i < x + w; ++i) unlike += GetPixelCommand(i, j) != SpritePixel(sprite, i, j);
  return unlike;
}

u32 SpritePixel(i32 sprite, i32 x, i32 y) {
  const Surface* s = graphicsDevice->Sprite(sprite);
  if (s == nullptr || x < 0 || y < 0 || x >= s->width || y >= s->height) return ~0u;
  const u16 p = s->pixels[y * s->width + x];
  return PixelRed8(p) | static_cast<u32>(PixelGreen8(p)) << 8 |
         static_cast<u32>(PixelBlue8(p)) << 16;
}

bool SpriteShownAt(i32 sprite, i32 x, i32 y) {
  const auto [w, h] = graphicsDevice->GetSpriteSize(sprite);
  if (w == 0 || h == 0) return false;
  for (i32 j = 0; j < h; ++j)
    for (i32 i = 0; i < w; ++i) {
      const u32 pixel = SpritePixel(sprite, i, j);
      if (pixel != 0 && GetPixelCommand(x + i, y + j) != pixel) return false;
    }
  return true;
}
