// The button word: decoding, the key-code table and the characters that key codes type, the
// device read over a regular file of words, the choice between the sources, and the keyboard
// stand-in's mapping.
#include <SDL.h>

#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "media/button_decoder.h"
#include "media/key_codes.h"
#include "media/keyboard_standin.h"
#include "tests/support/test_support.h"

namespace {

constexpr i32 F = kJoyFullDeflection;

TEST(DecodeButtons, EveryBitAndTheDiagonalRules) {
  // buttons: the eleven decoded bytes A B X Y stick start select vol- vol+ L R.
  const struct {
    u32 bits;
    i32 x, y, z, w;
    const char* buttons;
  } rows[] = {
      {kButtonUp, 0, -F, 0, 0, "00000000000"},       {kButtonUpLeft, -F, -F, 0, 0, "00000000000"},
      {kButtonLeft, -F, 0, 0, 0, "00000000000"},     {kButtonDownLeft, -F, F, 0, 0, "00000000000"},
      {kButtonDown, 0, F, 0, 0, "00000000000"},      {kButtonDownRight, F, F, 0, 0, "00000000000"},
      {kButtonRight, F, 0, 0, 0, "00000000000"},     {kButtonUpRight, F, -F, 0, 0, "00000000000"},
      {kButtonStart, 0, 0, 0, 0, "00000100000"},     {kButtonSelect, 0, 0, 0, 0, "00000010000"},
      {kButtonL, 0, 0, -F, 0, "00000000010"},        {kButtonR, 0, 0, F, 0, "00000000001"},
      {kButtonA, 0, 0, 0, 0, "10000000000"},         {kButtonB, 0, 0, 0, 0, "01000000000"},
      {kButtonX, 0, 0, 0, 0, "00100000000"},         {kButtonY, 0, 0, 0, 0, "00010000000"},
      {kButtonVolumeUp, 0, 0, 0, -F, "00000000100"}, {kButtonVolumeDown, 0, 0, 0, F, "00000001000"},
      {kButtonStick, 0, 0, 0, 0, "00001000000"},
      // A straight direction with a neighbouring diagonal is the straight direction.
      {kButtonUp | kButtonUpRight, 0, -F, 0, 0, "00000000000"},
      {kButtonLeft | kButtonDownLeft, -F, 0, 0, 0, "00000000000"},
      // Two diagonals: opposite sides cancel, the shared side stays.
      {kButtonUpLeft | kButtonUpRight, 0, -F, 0, 0, "00000000000"},
      {kButtonUpLeft | kButtonDownRight, 0, 0, 0, 0, "00000000000"},
      // Straight directions on both axes stay diagonal; opposite ones cancel.
      {kButtonLeft | kButtonUp, -F, -F, 0, 0, "00000000000"},
      {kButtonUp | kButtonDown, 0, 0, 0, 0, "00000000000"},
      {kButtonL | kButtonR | kButtonVolumeUp | kButtonVolumeDown, 0, 0, 0, 0, "00000001111"},
      {0xFFF80000u, 0, 0, 0, 0, "00000000000"},  // bits 19..31 are ignored
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << std::hex << "bits 0x" << row.bits);
    const JoyState s = DecodeButtonWord(row.bits);
    EXPECT_EQ((std::vector{row.x, row.y, row.z, row.w}), (std::vector{s.x, s.y, s.z, s.w}));
    std::string buttons;
    for (int i = 0; i < kJoyDecodedButtons; ++i) buttons += static_cast<char>('0' + s.buttons[i]);
    EXPECT_EQ(row.buttons, buttons);
    // What the handheld has no source for reads as no input; the hat is none of its directions.
    EXPECT_EQ(0, s.axis3 | s.axis5 | s.buttons[kJoyDecodedButtons] | s.buttons[31]);
    EXPECT_EQ(kJoyHatCentred, s.hat[0]);
  }
}

// Each PC key sets the button that answers that key's own code (only its low eight bits count);
// arrows give one pad direction.
TEST(KeyboardStandIn, EachKeyAnswersItsOwnCode) {
  const struct {
    std::vector<SDLKey> keys;
    std::set<i32> codes;  // every code the word answers
  } rows[] = {
      {{SDLK_TAB}, {kKeyTab}},
      {{SDLK_RETURN}, {kKeyEnter}},
      {{SDLK_w}, {kKeyW, kKeyCapsLock}},
      {{SDLK_CAPSLOCK}, {kKeyW, kKeyCapsLock}},
      {{SDLK_a}, {kKeyA, kKeyZ}},
      {{SDLK_z}, {kKeyA, kKeyZ}},
      {{SDLK_d}, {kKeyD, kKeyX}},
      {{SDLK_x}, {kKeyD, kKeyX}},
      {{SDLK_s}, {kKeyS, kKeyLeftCtrl}},
      {{SDLK_LCTRL}, {kKeyS, kKeyLeftCtrl}},
      {{SDLK_LSHIFT}, {kKeyLeftShift}},
      {{SDLK_RSHIFT}, {kKeyRightShift}},
      {{SDLK_SPACE}, {kKeySpace}},
      {{SDLK_PAGEUP}, {kKeyPageUp}},
      {{SDLK_PAGEDOWN}, {kKeyPageDown}},
      {{SDLK_PAGEUP, SDLK_PAGEDOWN}, {kKeyPageUp, kKeyPageDown, kKeyEscape}},
      {{SDLK_ESCAPE}, {}},  // the window's quit, not a button
      {{SDLK_UP}, {kKeyUp}},
      {{SDLK_UP, SDLK_LEFT}, {kKeyUp, kKeyLeft}},
      {{SDLK_DOWN, SDLK_RIGHT}, {kKeyDown, kKeyRight}},
      {{SDLK_UP, SDLK_DOWN, SDLK_LEFT}, {kKeyLeft}},
  };
  for (const auto& row : rows) {
    u8 keys[SDLK_LAST] = {};
    for (SDLKey k : row.keys) keys[k] = 1;
    const JoyState s = DecodeButtonWord(KeyboardButtonWord(keys, SDLK_LAST));
    std::set<i32> codes;
    for (i32 code = -300; code < 600; ++code) {
      if (IsKeyCodeDown(s, code)) codes.insert(code & 0xFF);
    }
    EXPECT_EQ(row.codes, codes) << SDL_GetKeyName(row.keys[0]);
  }
  u8 keys[SDLK_LAST] = {};
  keys[SDLK_UP] = keys[SDLK_LEFT] = 1;
  EXPECT_EQ(u32{kButtonUpLeft}, KeyboardButtonWord(keys, SDLK_LAST));  // the pad's own diagonal
  EXPECT_EQ(0u, KeyboardButtonWord(keys, SDLK_UP));  // a state array too short reads released
  EXPECT_EQ(0u, KeyboardButtonWord(nullptr, 0));
}

TEST(KeyCodes, CharactersOfCodes) {
  const std::pair<i32, u8> rows[] = {{28, 10}, {156, 10}, {14, 8},    {29, 0},     {58, 0},
                                     {221, 0}, {1, 0},    {31, 0},    {32, ' '},   {65, 'A'},
                                     {200, 200},          {256 + 65, 'A'}};
  for (const auto& [code, c] : rows) EXPECT_EQ(c, KeyCodeToChar(code)) << code;
}

TEST(GpioButtonSource, ReadsLittleEndianWordsAndReportsShortReads) {
  ScopedTempDir dir;
  // Two whole words, then two bytes of a third.
  ASSERT_TRUE(WriteFileBytes(dir.File("GPIO"), std::string("\x01\x10\x04\x00\x10\x00\x00\x80\x34\x12", 10)));
  GpioButtonSource source(GpioButtonSource::OpenDevice(dir.File("GPIO")));
  GpioButtonSource absent(GpioButtonSource::OpenDevice(dir.File("none")));
  testing::internal::CaptureStdout();
  EXPECT_EQ(0x00041001u, source.ReadWord());
  EXPECT_EQ(0x80000010u, source.ReadWord());
  EXPECT_EQ("", testing::internal::GetCapturedStdout());
  testing::internal::CaptureStdout();
  EXPECT_EQ(0x1234u, source.ReadWord());  // the short read keeps what arrived
  EXPECT_EQ(0u, source.ReadWord());       // nothing left
  EXPECT_EQ(0u, absent.ReadWord());
  EXPECT_EQ("GPIO READ ERROR\nGPIO READ ERROR\nGPIO READ ERROR\n",
            testing::internal::GetCapturedStdout());
}

TEST(ButtonSourceChoice, Table) {
  using K = ButtonSourceKind;
  const struct {
    const char* override;
    bool opened;
    const char* driver;
    K kind;
  } rows[] = {
      {nullptr, true, "x11", K::kDevice},    {nullptr, false, "x11", K::kKeyboard},
      {nullptr, false, "dummy", K::kDevice}, {nullptr, false, nullptr, K::kDevice},
      {"keyboard", true, "dummy", K::kKeyboard}, {"gpio", false, "x11", K::kDevice},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(row.kind, ChooseButtonSourceKind(row.override, row.opened, row.driver))
        << (row.override ? row.override : "-") << row.opened << (row.driver ? row.driver : "-");
  }
}

}  // namespace
