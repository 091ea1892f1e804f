// The button sources: the device path over a regular file of words, the choice between the
// sources, and the keyboard stand-in's mapping.
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

// Each PC key sets the button that answers that key's own code; arrows give one pad direction.
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
      {{SDLK_UP, SDLK_DOWN}, {}},
      {{SDLK_UP, SDLK_DOWN, SDLK_LEFT}, {kKeyLeft}},
  };
  for (const auto& row : rows) {
    u8 keys[SDLK_LAST] = {};
    for (SDLKey k : row.keys) keys[k] = 1;
    const JoyState s = DecodeButtonWord(KeyboardButtonWord(keys, SDLK_LAST));
    std::set<i32> codes;
    for (i32 code = 0; code < 256; ++code) {
      if (IsKeyCodeDown(s, code)) codes.insert(code);
    }
    EXPECT_EQ(row.codes, codes) << SDL_GetKeyName(row.keys.empty() ? SDLK_UNKNOWN : row.keys[0]);
  }
  u8 keys[SDLK_LAST] = {};
  keys[SDLK_UP] = keys[SDLK_LEFT] = 1;
  EXPECT_EQ(u32{kButtonUpLeft}, KeyboardButtonWord(keys, SDLK_LAST));  // the pad's own diagonal
  EXPECT_EQ(0u, KeyboardButtonWord(keys, SDLK_UP));  // a state array too short reads released
  EXPECT_EQ(0u, KeyboardButtonWord(nullptr, 0));
}

}  // namespace
