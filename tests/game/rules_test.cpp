// The rules of play without the screen: piece shapes, timers, particles, the falling
// piece (spawn, landing, gravity, turns), row clearing with its score, level and background
// change, and the start of a game with its handicap rows.
#include <SDL/SDL_mixer.h>

#include <algorithm>

#include "core/random.h"
#include "core/runtime_globals.h"
#include "game/effects.h"
#include "game/new_game.h"
#include "game/row_clearing.h"
#include "game/screens.h"
#include "game/timers.h"
#include "media/sound.h"
#include "tests/game/game_fixture.h"

namespace {

using Events = std::vector<i32>;

// The events of one pass at the clock, emptied again as the end of a pass does.
Events PassAt(i32 clock) {
  now = clock;
  UpdateTimers();
  Events events(timerEvents.data, timerEvents.data + timerEvents.dim[0]);
  timerEvents.Redim(0);
  return events;
}

TEST_F(GameTest, TimersAndParticlesAreServedPassByPass) {
  now = 0;
  for (const auto& [name, value, once] : {std::tuple{"a", 1, 0}, std::tuple{"once", 2, 1},
                                          std::tuple{"b", 3, 0}, std::tuple{"a", 4, 0}})
    AddTimer(DynString(name), 10, value, once);
  now = 5;
  SetTimer(DynString("a"), 20, 5, 0);  // the first "a": due at 25
  SetTimer(DynString("b"), -1, 6, 0);  // interval and due time kept
  // Per pass: the clock and the events. "b" moves into the removed once timer's place and waits
  // a pass; a late timer fires once and counts its interval from the pass that fired it.
  const std::pair<i32, Events> passes[] = {{9, {}},         {10, {2, 4}}, {11, {6}},
                                           {25, {5, 6, 4}}, {34, {}},     {35, {6, 4}}};
  for (const auto& [clock, events] : passes) EXPECT_EQ(events, PassAt(clock)) << clock;
  RemoveTimer(DynString("a"));
  ASSERT_EQ(2, timers.dim[0]);
  EXPECT_EQ(std::make_pair(6, 4), std::make_pair(timers.At(0).value, timers.At(1).value));
  // Particles move along their angle and fall; expired ones are removed in place.
  now = 100;
  // Up; expired; down (it moves into the expired one's place and waits a pass); right, falling.
  for (const EffectParticle& p :
       {EffectParticle{1, 0, 100, 4, 0, 200}, EffectParticle{2, 0, 100, 4, 0, 100},
        EffectParticle{3, 0, 100, 4, 180, 200}, EffectParticle{4, 0, 100, 4, 90, 200, 1, 0.5f}})
    effects.Append(p);
  const std::vector<std::pair<f32, f32>> moves[] = {{{0, 96}, {0, 100}, {4, 101}},
                                                     {{0, 92}, {0, 104}, {8, 102.5f}}};
  for (const auto& expected : moves) {
    DrawEffects();
    ASSERT_EQ(3, effects.dim[0]);
    for (i32 i = 0; i < 3; ++i) {
      EXPECT_NEAR(expected[i].first, effects.At(i).x, 1e-4f) << i;
      EXPECT_NEAR(expected[i].second, effects.At(i).y, 1e-4f) << i;
    }
  }
}

// One gravity step as the main loop drives it: a "block" event, then the tick.
void GravityEvent() {
  timerEvents.Redim(0);
  timerEvents.Append(0);
  GravityTick();
}

// The falling piece's cells as rows from the top, 'X' for a block, loaded the game's way.
Picture Shape(i32 piece, i32 turn) {
  PlacePiece(piece, turn, 0, 0);
  Picture rows(static_cast<std::size_t>(currentRows), std::string(currentColumns, '.'));
  for (i32 y = 0; y < currentRows; ++y)
    for (i32 x = 0; x < currentColumns; ++x)
      if (*currentCells.At(x, y) == 1.0f) rows[y][x] = 'X';
  return rows;
}

TEST_F(GameTest, ShapesFallingTurningAndClearing) {
  for (i32 piece = 0; piece < kPieceCount; ++piece)
    for (i32 turn = 0; turn < kRotationCount; ++turn) {
      // A quarter turn counter-clockwise on the screen (y down), keeping the box's top-left
      // corner: the old right-hand column becomes the new top row.
      const Picture s = Shape(piece, turn);
      Picture turned(s[0].size(), std::string(s.size(), '.'));
      for (std::size_t y = 0; y < turned.size(); ++y)
        for (std::size_t x = 0; x < s.size(); ++x) turned[y][x] = s[x][s[0].size() - 1 - y];
      std::string all;
      for (const std::string& row : s) all += row;
      EXPECT_EQ(4, std::count(all.begin(), all.end(), 'X')) << piece << "/" << turn;
      EXPECT_EQ(Shape(piece, (turn + 1) % kRotationCount), turned) << piece << "/" << turn;
    }
  SetUp();  // a piece rests on the floor for a step and lands with its sound
  ScopedTempDir dir;
  ASSERT_TRUE(WriteFileBytes(dir.File("tone.wav"), WavBytes(150)));
  LoadSoundFile(DynString(dir.File("tone.wav").c_str()), kLandingSoundSlot, 0);
  ASSERT_NE(nullptr, soundSlots[kLandingSoundSlot].sample);
  Mix_VolumeChunk(soundSlots[kLandingSoundSlot].sample, 0);
  musicVolume = 0.6f;
  SetNextPiece(kPieceI);
  PlacePiece(kPieceO, 0, 4, 17);
  GravityEvent();
  EXPECT_EQ((std::make_pair(kPieceO, 18)), std::make_pair(currentPiece, pieceRow));
  GravityEvent();
  EXPECT_EQ((Picture{kEmpty, "....XX....", "....XX...."}), Rows(17, 19));
  EXPECT_EQ((std::make_pair(kPieceI, 0)), std::make_pair(currentPiece, pieceRow));
  EXPECT_EQ(76, Mix_VolumeChunk(soundSlots[kLandingSoundSlot].sample, -1));  // 0.6 of 128
  SetUp();  // gravity steps only while running, but fixes an overlapping piece also while paused
  AddTimer(BlockTimerName(), 1000, 0, 0);
  AddTimer(DynString("other"), 10, 1, 0);
  PlacePiece(kPieceI, 0, 3, 0);
  SetNextPiece(kPieceI);
  for (i32 value : {0, 5, 0}) timerEvents.Append(value);  // 5: another timer's event
  GravityTick();
  EXPECT_EQ(2, pieceRow);
  pauseValue = kPaused;
  GravityTick();
  EXPECT_EQ(2, pieceRow);
  // A cleared row shifted a block into the paused piece: it goes back a row and is fixed there.
  FillRows(5, {"...X......"});
  GravityTick();
  EXPECT_EQ(Picture(5, "...X......"), Rows(1, 5));
  // The next one, at row 0, has no row above: it is fixed where it is, over the empty cells only,
  // and the spawn after it ends the game without writing the new piece.
  FillRows(2, {"...X2....."});
  EXPECT_NO_THROW(GravityTick());
  EXPECT_EQ((Picture{"....X.....", "...XX.....", "...XX.....", "...XX....."}), Rows(0, 3));
  EXPECT_EQ(kEmpty, Rows(19, 19)[0]);  // nothing wrapped round to the bottom
  EXPECT_EQ(std::make_tuple(1, 2, kPieceI),
            std::make_tuple(gameOver, *fieldColours.At(4, 2), *fieldColours.At(4, 3)));
  ASSERT_EQ(1, timers.dim[0]);  // the "block" timer is gone: nothing falls any more
  EXPECT_STREQ("other", timers.At(0).name.CStr());
  // Turns need the turned box inside the field and free cells.
  const struct {
    i32 piece, turn, column, row;
    i32 filledRow;
    std::string filled;
    bool turns;
  } turns[] = {
      {kPieceI, 0, 9, 0, 5, kEmpty, false},  // 9 + 4 columns would pass the right edge
      {kPieceI, 0, 6, 0, 5, kEmpty, true},
      {kPieceI, 1, 0, 18, 5, kEmpty, false},  // 18 + 4 rows would pass the floor
      {kPieceI, 1, 0, 16, 5, kEmpty, true},
      {kPieceL, 0, 8, 0, 5, kEmpty, false},
      {kPieceL, 0, 7, 0, 0, "........X.", true},   // a filled cell under a hole of the box
      {kPieceI, 0, 2, 5, 5, ".....X....", false},  // the turned I would cover (5, 5): undone
      {kPieceJ, 3, 0, 0, 0, ".X........", false},  // 3 turns to 0, overlaps, and back to 3
      // Already overlapping (a cleared row shifted a block into it) and unable to turn: it stays
      // as it is instead of being turned back to a lying I that reaches column 12.
      {kPieceI, 0, 9, 10, 12, ".........X", false},
  };
  for (const auto& c : turns) {
    SetUp();
    FillRows(c.filledRow, {c.filled});
    PlacePiece(c.piece, c.turn, c.column, c.row);
    TurnPiece();
    EXPECT_EQ(c.turns ? (c.turn + 1) % 4 : c.turn, rotation)
        << c.piece << " at " << c.column << "," << c.row;
    // The cells are those of the rotation it ends in, and the box stays inside the field.
    EXPECT_EQ(c.turns == (c.turn % 2 == 0), currentColumns > currentRows) << c.piece;
    EXPECT_LE(pieceColumn + currentColumns, kFieldColumns);
    EXPECT_LE(pieceRow + currentRows, kFieldRows);
  }
  SetUp();  // full rows clear from the bottom up; a row moved down waits for the next scan
  now = 1000;
  FillRows(15, {"5.........", kFull, "..X.......", kFull, "0123456012"});
  const Picture after[] = {{kEmpty, kEmpty, "X.........", "..X.......", kFull},
                           {kEmpty, kEmpty, kEmpty, "X.........", "..X......."}};
  for (const Picture& rows : after) {
    ClearFullRows();
    EXPECT_EQ(rows, Rows(15, 19));
  }
  EXPECT_EQ(std::make_tuple(3, 300, 5), std::make_tuple(lines, score, *fieldColours.At(0, 18)));
  ASSERT_EQ(30, effects.dim[0]);
  for (i32 x = 0; x < 10; ++x) {
    const EffectParticle& p = effects.At(x);  // the blocks of the first row cleared, row 19
    EXPECT_EQ(std::make_tuple("0123456012"[x] - '0', 110.0f + 10 * x, 223.0f),
              std::make_tuple(p.sprite, p.x, p.y));
    EXPECT_TRUE(p.speed >= 4 && p.speed <= 8 && p.endTime >= 3000 && p.endTime <= 5000 &&
                (p.angle <= 50 || p.angle >= 310));
  }
  FillRows(0, {kFull, "X.X.X.X.X.", "XXXX......"});  // clearing row 0 keeps row 1
  ClearFullRows();
  EXPECT_EQ((Picture{kEmpty, "X.X.X.X.X.", "XXXX......"}), Rows(0, 2));
  // Handicap, the row cleared, row 19 - handicap ("": the cleared row itself), lines and level
  // before; then the points, the level, the background fade starting (on rises to stored levels
  // 2, 5, 8, 11) and the "block" timer's interval.
  const struct {
    i32 handicap, clearedRow;
    std::string bonusRow;
    i32 linesBefore, levelBefore, points, newLevel;
    bool fades;
    i32 interval;
  } clears[] = {
      {3, 12, kEmpty, 0, 0, 400, 0, false, 1000},
      {3, 12, "....X.....", 0, 0, 100, 0, false, 1000},
      {0, 12, kEmpty, 0, 0, 100, 0, false, 1000},  // bonus earned, worth 100 x 0
      {0, 19, "", 9, 0, 600, 1, false, 800},       // the bonus row is full when tested
      {0, 19, "", 9, 1, 1100, 2, true, 600},
      {0, 19, "", 9, 10, 5600, 11, true, 228},  // past the table: 250 - 2 x level
      {0, 19, "", 10, 1, 100, 1, false, 1000}};
  for (const auto& c : clears) {
    SetUp();
    now = 5000;
    AddTimer(BlockTimerName(), 1000, 0, 0);
    handicap = c.handicap;
    lines = c.linesBefore;
    level = c.levelBefore;
    FillRows(c.clearedRow, {kFull});
    if (!c.bonusRow.empty()) FillRows(19 - c.handicap, {c.bonusRow});
    ClearFullRows();
    EXPECT_EQ(std::make_tuple(c.points, c.newLevel, c.fades ? 1 : 0, c.fades ? -0.99f : 0.0f),
              std::make_tuple(score, level, fadeDirection, fadeValue))
        << c.handicap << "/" << c.clearedRow << " level " << c.levelBefore;
    EXPECT_EQ(std::make_pair(c.interval, 5000 + c.interval),
              std::make_pair(timers.At(0).interval, timers.At(0).nextDue));
    // With the bonus, its sprite rises first, over the cleared row.
    const bool bonus = c.bonusRow == kEmpty;
    ASSERT_EQ(bonus ? 11 : 10, effects.dim[0]);
    EXPECT_EQ(bonus, effects.At(0).sprite == 10 && effects.At(0).y == 10.0f * c.clearedRow + 33);
  }
  // The background fades out, changes and fades in, round four pictures.
  std::vector<i32> shown;
  for (i32 change = 0; change < 4; ++change) {
    fadeDirection = 1;
    fadeValue = -0.99f;
    i32 out = 0, in = 0;
    for (; fadeDirection == 1 && out < 100; ++out) StepBackgroundFade();
    for (; fadeDirection != 0 && in < 100; ++in) StepBackgroundFade();
    EXPECT_EQ(std::make_tuple(49, 49, 0.0f), std::make_tuple(out, in, fadeValue));
    shown.push_back(*backgrounds.At(backgroundIndex, 0));
  }
  EXPECT_EQ((std::vector<i32>{1012, 1014, 1013, 999}), shown);
  // A new game starts from an empty field with its handicap rows.
  i32 seen[2] = {0, 0};  // rows with three holes, with two
  for (i32 h : {1, 2, 10})
    for (i32 seed : {1, 7, 99}) {
      SetUp();
      SeedRandom(seed);
      FillRows(0, {kFull});
      score = lines = level = backgroundIndex = 9;
      handicap = h;
      StartNewGame();
      ASSERT_EQ(1, timers.dim[0]);
      EXPECT_EQ(std::make_tuple(kStatePlay, 0, 1000),
                std::make_tuple(gameState, score + lines + level + backgroundIndex,
                                timers.At(0).interval));
      for (i32 y = 0; y < kFieldRows; ++y) {
        const std::string row = Rows(y, y)[0];
        const i32 filled = static_cast<i32>(std::count(row.begin(), row.end(), 'X'));
        if (y < kFieldRows + 1 - std::max(h, 1)) {
          EXPECT_EQ(0, filled) << "handicap " << h << " row " << y;
        } else {
          ASSERT_TRUE(filled == 7 || filled == 8) << "handicap " << h << " row " << y;
          ++seen[filled - 7];
        }
      }
    }
  EXPECT_TRUE(seen[0] > 0 && seen[1] > 0);
}

}  // namespace
