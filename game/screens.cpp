// The four state bodies over the runtime's drawing commands.
#include "game/screens.h"

#include "core/dyn_string.h"
#include "game/asset_loading.h"
#include "game/effects.h"
#include "game/field_drawing.h"
#include "game/game_data.h"
#include "game/game_globals.h"
#include "game/handle_input.h"
#include "game/name_entry.h"
#include "game/play_rules.h"
#include "game/row_clearing.h"
#include "game/spaced_text.h"
#include "media/font_commands.h"
#include "media/graphics_commands.h"

namespace game {

namespace {

constexpr f32 kFieldBlend = -0.6f;
constexpr f32 kFadeStep = 0.02f;
constexpr i32 kShownBackgrounds = 4;  // the fifth table entry is never reached
constexpr i32 kDigitPitch = 12;
constexpr i32 kNamePitch = 15;
constexpr i32 kBannerX = 0;
constexpr i32 kBannerY = 80;

i32 MenuFlag(i32 button) { return *menuFlags.At(button, 0); }

void DrawMenuButton(i32 button, i32 sprite, i32 y) {
  const i32 flag = MenuFlag(button);
  DrawSpriteCommand(sprite + flag, 110, y + flag);
}

void DrawHandicapDigits() {
  const DynString digits = DynString::FromInt(handicap);
  const i32 first = MenuFlag(kMenuHandicap) == 1 ? kSpriteDigitHighlighted : kSpriteDigit;
  for (i32 j = 0; j < static_cast<i32>(digits.Length()); ++j)
    DrawSpriteCommand(first + (digits.CStr()[j] - '0'), 205 + 14 * j, 119);
}

void DrawFrame() {
  SetBlendMode(kFieldBlend);
  DrawSpriteCommand(kSpriteField, 110, 33);
  DrawSpriteCommand(kSpriteNextBox, 250, 33);
  SetBlendMode(0.0f);
  DrawSpriteCommand(kSpriteBorderLeft, 104, 33);
  DrawSpriteCommand(kSpriteBorderRight, 210, 33);
  DrawSpriteCommand(kSpriteBorderDown, 110, 233);
  DrawSpriteCommand(kSpriteScoreLabel, 2, 10);
  DrawSpriteCommand(kSpriteLinesLabel, 2, 56);
  DrawSpriteCommand(kSpriteLevelLabel, 2, 105);
  DrawSpriteCommand(kSpriteNextBorder, 249, 32);
  DrawSpriteCommand(kSpriteNextLabel, 247, 10);
}

// The marker above the handicap rows.
void DrawHandicapLine() {
  if (handicap <= 0) return;
  const i32 y = CellY(kFieldRows - handicap);
  for (i32 i = 0; i < kFieldColumns; ++i) DrawSpriteCommand(kSpriteHandicapLine, CellX(i), y);
}

void DrawNumbers() {
  SetCurrentFont(kGameFont);
  PrintNumberSpaced(score, 15, 25, kDigitPitch);
  PrintNumberSpaced(lines, 15, 70, kDigitPitch);
  PrintNumberSpaced(level + 1, 15, 120, kDigitPitch);
}

void DrawBanner() {
  if (gameOver == 1) {
    DrawSpriteCommand(kSpriteGameOver, kBannerX, kBannerY);
  } else if (pauseValue == kPaused) {
    DrawSpriteCommand(kSpritePaused, kBannerX, kBannerY);
  }
}

// The number's last digit ends at `right`, whatever its length.
void PrintNumberRightAligned(i32 number, i32 right, i32 y) {
  PrintNumberSpaced(number, right - kDigitPitch * IntTextLength(number), y, kDigitPitch);
}

}  // namespace

void StepBackgroundFade() {
  if (fadeDirection == 1) {
    fadeValue = static_cast<f32>(static_cast<f64>(fadeValue) + 0.02);
    if (static_cast<f64>(fadeValue) > -0.02) {
      backgroundIndex = backgroundIndex + 1 >= kShownBackgrounds ? 0 : backgroundIndex + 1;
      fadeValue = -kFadeStep;
      fadeDirection = -1;
    }
  } else if (fadeDirection == -1) {
    fadeValue = static_cast<f32>(static_cast<f64>(fadeValue) - 0.02);
    if (static_cast<f64>(fadeValue) < -0.98) {
      fadeValue = 0.0f;
      fadeDirection = 0;
    }
  }
}

void DrawTitleScreen() {
  DrawSpriteCommand(kSpriteTitleBackground, 0, 0);
  DrawSpriteCommand(kSpriteLogo, 50, 20);
  DrawMenuButton(kMenuStart, kSpriteStart, 85);
  DrawMenuButton(kMenuHandicap, kSpriteHandicap, 115);
  DrawHandicapDigits();
  DrawMenuButton(kMenuHiscores, kSpriteHiscores, 145);
  DrawMenuButton(kMenuExit, kSpriteExit, 175);
  HandleInput();
}

void DrawPlayScreen() {
  // The background keeps this frame's blending from before the fade step.
  SetBlendMode(fadeValue);
  StepBackgroundFade();
  DrawSpriteCommand(*backgrounds.At(backgroundIndex, 0), 0, 0);
  DrawFrame();
  DrawHandicapLine();
  HandleInput();
  DrawFieldCells();
  DrawCurrentPiece();
  DrawNextPiece();
  DrawEffects();
  ClearFullRows();
  DrawNumbers();
  DrawBanner();
  GravityTick();
}

void DrawTableScreen() {
  DrawSpriteCommand(kSpriteTitleBackground, 0, 0);
  DrawSpriteCommand(kSpriteLogo, 50, 20);
  SetCurrentFont(kGameFont);
  for (i32 i = kHiscoreCount - 1; i >= 0; --i) {
    const HiscoreEntry& entry = hiscores.At(i);
    const i32 y = TableRowY(i);
    PrintTextSpaced(entry.name, 5, y, kNamePitch);
    PrintNumberRightAligned(entry.level, 200, y);
    PrintNumberRightAligned(entry.score, 305, y);
  }
  HandleInput();
}

void RunStateBody() {
  switch (gameState) {
    case kStateTitle:
      DrawTitleScreen();
      break;
    case kStatePlay:
      DrawPlayScreen();
      break;
    case kStateTable:
    case kStateNameEntry:
      DrawTableScreen();
      break;
    default:
      break;
  }
}

}  // namespace game
