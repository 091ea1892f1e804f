// The game's pictures, fonts and landing sound: which file goes into which sprite, font and sound
// slot, and their loading from the packs beside the program ("fxdata.sbx" for everything loaded
// here, "streamdata.sbx" for the music). A file that is missing leaves its slot empty and the
// game goes on.
#pragma once

#include "core/types.h"

namespace game {

// Sprite ids.
constexpr i32 kSpriteField = 1000;
constexpr i32 kSpriteScoreLabel = 1001;
constexpr i32 kSpriteBorderLeft = 1002;
constexpr i32 kSpriteGameOver = 1003;
constexpr i32 kSpriteLinesLabel = 1004;
constexpr i32 kSpriteLevelLabel = 1005;
constexpr i32 kSpriteNextLabel = 1006;
constexpr i32 kSpriteNextBox = 1007;
constexpr i32 kSpriteBorderDown = 1008;
constexpr i32 kSpriteNextBorder = 1009;
constexpr i32 kSpriteLogo = 1010;
constexpr i32 kSpriteBorderRight = 1011;
constexpr i32 kSpriteHandicapLine = 1015;
constexpr i32 kSpritePaused = 1020;
constexpr i32 kSpriteTitleBackground = 999;
constexpr i32 kSpriteStart = 900;     // 901 highlighted
constexpr i32 kSpriteHandicap = 902;  // 903 highlighted
constexpr i32 kSpriteHiscores = 904;  // 905 highlighted
constexpr i32 kSpriteExit = 906;      // 907 highlighted
constexpr i32 kSpriteDigit = 2000;    // + digit
constexpr i32 kSpriteDigitHighlighted = 3000;
constexpr i32 kSpriteSplashLogo = 800;

constexpr i32 kGameFont = 1;
constexpr i32 kLandingSoundSlot = 2;

struct SpriteFile {
  i32 id;
  const char* name;
};

// Every sprite of the game but the splash logo and the handicap digits, in loading order.
constexpr SpriteFile kSpriteFiles[] = {
    {kSpriteLogo, "stakkologo.bmp"},
    {kSpriteTitleBackground, "stakkoback.bmp"},
    {1012, "stakkoback4.bmp"},
    {1013, "stakkoback2.bmp"},
    {1014, "stakkoback3.bmp"},
    {1016, "stakkoback5.bmp"},
    {kSpriteField, "field.bmp"},
    {kSpriteScoreLabel, "score.bmp"},
    {kSpriteLinesLabel, "lines.bmp"},
    {kSpriteLevelLabel, "level.bmp"},
    {kSpriteNextLabel, "next.bmp"},
    {kSpriteNextBox, "field2.bmp"},
    {kSpriteBorderLeft, "borderleft.bmp"},
    {kSpriteBorderRight, "borderright.bmp"},
    {kSpriteBorderDown, "borderdown.bmp"},
    {kSpriteNextBorder, "border2.bmp"},
    {kSpriteGameOver, "gameover.bmp"},
    {kSpriteStart, "start1.bmp"},
    {kSpriteStart + 1, "start2.bmp"},
    {kSpriteHiscores, "hiscores1.bmp"},
    {kSpriteHiscores + 1, "hiscores2.bmp"},
    {kSpriteHandicap, "handicap1.bmp"},
    {kSpriteHandicap + 1, "handicap2.bmp"},
    {kSpriteExit, "exit1.bmp"},
    {kSpriteExit + 1, "exit2.bmp"},
    {0, "greenblock.bmp"},
    {1, "redblock.bmp"},
    {2, "yellowblock.bmp"},
    {3, "blueblock.bmp"},
    {4, "lilablock.bmp"},
    {5, "pinkblock.bmp"},
    {6, "orangeblock.bmp"},
    {10, "handicap.bmp"},
    {kSpriteHandicapLine, "handycapline.bmp"},
    {kSpritePaused, "paused.bmp"},
};

// Makes the two packs the places files are looked for, then loads, with black as the transparent
// colour: the game font into font 1, every sprite above, the digits "0_1.bmp" .. "9_1.bmp" into
// 2000..2009 and "0_2.bmp" .. "9_2.bmp" into 3000..3009; makes font 1 current; loads "fix.wav"
// into sound slot 2 and the splash logo into sprite 800.
void LoadGameAssets();

}  // namespace game
