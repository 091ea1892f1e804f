// Decoding the button word, the key-code table and the characters that key codes type.
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "media/button_decoder.h"
#include "media/key_codes.h"

namespace {

constexpr i32 F = kJoyFullDeflection;

TEST(DecodeButtons, EveryBitAndTheDiagonalRules) {
  // buttons: the eleven decoded bytes A B X Y stick start select vol- vol+ L R.
  const struct {
    u32 bits;
    i32 x, y, z, w;
    const char* buttons;
  } rows[] = {
      {0, 0, 0, 0, 0, "00000000000"},
      {kButtonUp, 0, -F, 0, 0, "00000000000"},
      {kButtonUpLeft, -F, -F, 0, 0, "00000000000"},
      {kButtonLeft, -F, 0, 0, 0, "00000000000"},
      {kButtonDownLeft, -F, F, 0, 0, "00000000000"},
      {kButtonDown, 0, F, 0, 0, "00000000000"},
      {kButtonDownRight, F, F, 0, 0, "00000000000"},
      {kButtonRight, F, 0, 0, 0, "00000000000"},
      {kButtonUpRight, F, -F, 0, 0, "00000000000"},
      {kButtonStart, 0, 0, 0, 0, "00000100000"},
      {kButtonSelect, 0, 0, 0, 0, "00000010000"},
      {kButtonL, 0, 0, -F, 0, "00000000010"},
      {kButtonR, 0, 0, F, 0, "00000000001"},
      {kButtonA, 0, 0, 0, 0, "10000000000"},
      {kButtonB, 0, 0, 0, 0, "01000000000"},
      {kButtonX, 0, 0, 0, 0, "00100000000"},
      {kButtonY, 0, 0, 0, 0, "00010000000"},
      {kButtonVolumeUp, 0, 0, 0, -F, "00000000100"},
      {kButtonVolumeDown, 0, 0, 0, F, "00000001000"},
      {kButtonStick, 0, 0, 0, 0, "00001000000"},
      // A straight direction with a neighbouring diagonal is the straight direction.
      {kButtonUp | kButtonUpRight, 0, -F, 0, 0, "00000000000"},
      {kButtonDown | kButtonDownRight, 0, F, 0, 0, "00000000000"},
      {kButtonLeft | kButtonDownLeft, -F, 0, 0, 0, "00000000000"},
      // Two diagonals: opposite sides cancel, the shared side stays.
      {kButtonUpLeft | kButtonUpRight, 0, -F, 0, 0, "00000000000"},
      {kButtonUpLeft | kButtonDownRight, 0, 0, 0, 0, "00000000000"},
      // Straight directions on both axes stay diagonal; opposite ones cancel.
      {kButtonLeft | kButtonUp, -F, -F, 0, 0, "00000000000"},
      {kButtonUp | kButtonDown, 0, 0, 0, 0, "00000000000"},
      {kButtonL | kButtonR | kButtonVolumeUp | kButtonVolumeDown, 0, 0, 0, 0, "00000001111"},
      {0x7FFFFu, 0, 0, 0, 0, "11111111111"},
      {0xFFF80000u, 0, 0, 0, 0, "00000000000"},  // bits 19..31 are ignored
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << std::hex << "bits 0x" << row.bits);
    const JoyState s = DecodeButtonWord(row.bits);
    EXPECT_EQ(row.x, s.x);
    EXPECT_EQ(row.y, s.y);
    EXPECT_EQ(row.z, s.z);
    EXPECT_EQ(row.w, s.w);
    std::string buttons;
    for (int i = 0; i < kJoyDecodedButtons; ++i) buttons += static_cast<char>('0' + s.buttons[i]);
    EXPECT_EQ(row.buttons, buttons);
    // What the handheld has no source for reads as no input; the hat is none of its directions.
    EXPECT_EQ(0, s.axis3 | s.axis5 | s.buttons[kJoyDecodedButtons] | s.buttons[31]);
    EXPECT_EQ(kJoyHatCentred, s.hat[0]);
  }
}

TEST(KeyCodes, EachButtonAnswersItsCodes) {
  const struct {
    u32 bits;
    std::set<i32> codes;
  } rows[] = {
      {0, {}},
      {kButtonUp, {200}},
      {kButtonUpLeft, {200, 203}},
      {kButtonDownRight, {205, 208}},
      {kButtonStart, {28}},
      {kButtonSelect, {15}},
      {kButtonA, {30, 44}},
      {kButtonB, {32, 45}},
      {kButtonX, {29, 31}},
      {kButtonY, {17, 58}},
      {kButtonL, {42}},
      {kButtonR, {54}},
      {kButtonStick, {57}},
      {kButtonVolumeUp, {201}},
      {kButtonVolumeDown, {209}},
      {kButtonVolumeUp | kButtonVolumeDown, {1, 201, 209}},  // Escape: both together
  };
  for (const auto& row : rows) {
    const JoyState s = DecodeButtonWord(row.bits);
    std::set<i32> down;
    for (i32 code = -300; code < 600; ++code) {
      if (IsKeyCodeDown(s, code)) down.insert(code & 0xFF);  // only the low eight bits count
    }
    EXPECT_EQ(row.codes, down) << std::hex << row.bits;
  }
}

TEST(KeyCodes, CharactersOfCodes) {
  const struct {
    i32 code;
    u8 c;
  } rows[] = {{28, 10},   {156, 10},  {14, 8},    {29, 0},    {42, 0},    {54, 0},
              {56, 0},    {58, 0},    {69, 0},    {221, 0},   {1, 0},     {31, 0},
              {32, ' '},  {44, ','},  {57, '9'},  {65, 'A'},  {200, 200}, {256 + 65, 'A'}};
  for (const auto& row : rows) EXPECT_EQ(row.c, KeyCodeToChar(row.code)) << row.code;
}

}  // namespace
