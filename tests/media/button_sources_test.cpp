// The button sources: the device path read from a regular file of words, the choice between the
// sources, the scripted source, and the keyboard stand-in's mapping.
#include <SDL.h>
#include <fcntl.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "media/button_decoder.h"
#include "media/button_sources.h"
#include "media/key_codes.h"
#include "media/keyboard_standin.h"
#include "tests/support/test_support.h"

namespace {

std::string Words(const std::vector<u32>& words) {
  std::string bytes;
  for (u32 w : words) {
    for (int i = 0; i < 4; ++i) bytes += static_cast<char>(w >> (8 * i));
  }
  return bytes;
}

TEST(GpioButtonSource, ReadsLittleEndianWordsAndReportsShortReads) {
  ScopedTempDir dir;
  const std::string path = dir.File("GPIO");
  // Two whole words, then two bytes of a third.
  ASSERT_TRUE(WriteFileBytes(path, Words({0x00041001u, 0x80000010u}) + std::string("\x34\x12", 2)));
  const int fd = GpioButtonSource::OpenDevice(path);
  ASSERT_GE(fd, 0);
  GpioButtonSource source(fd);
  testing::internal::CaptureStdout();
  EXPECT_EQ(0x00041001u, source.ReadWord());
  EXPECT_EQ(0x80000010u, source.ReadWord());
  EXPECT_EQ("", testing::internal::GetCapturedStdout());
  testing::internal::CaptureStdout();
  EXPECT_EQ(0x1234u, source.ReadWord());  // the short read keeps what arrived
  EXPECT_EQ(0u, source.ReadWord());       // nothing left
  EXPECT_EQ("GPIO READ ERROR\nGPIO READ ERROR\n", testing::internal::GetCapturedStdout());
}

TEST(GpioButtonSource, AbsentDeviceReadsNothing) {
  EXPECT_LT(GpioButtonSource::OpenDevice("/nonexistent/GPIO"), 0);
  GpioButtonSource absent(-1);
  testing::internal::CaptureStdout();
  EXPECT_EQ(0u, absent.ReadWord());
  EXPECT_EQ("GPIO READ ERROR\n", testing::internal::GetCapturedStdout());
}

TEST(ButtonSourceChoice, Table) {
  using K = ButtonSourceKind;
  const struct {
    const char* override;
    bool opened;
    const char* driver;
    K kind;
  } rows[] = {
      {nullptr, true, "x11", K::kDevice},       {nullptr, false, "x11", K::kKeyboard},
      {nullptr, false, "dummy", K::kDevice},    {nullptr, false, nullptr, K::kDevice},
      {nullptr, false, "", K::kDevice},         {"keyboard", true, "dummy", K::kKeyboard},
      {"gpio", false, "x11", K::kDevice},       {"other", false, "x11", K::kKeyboard},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(row.kind, ChooseButtonSourceKind(row.override, row.opened, row.driver))
        << (row.override ? row.override : "-") << " " << row.opened << " "
        << (row.driver ? row.driver : "-");
  }
}

TEST(ScriptedButtonSource, OneWordPerFrameAndTypedCharacters) {
  ScriptedButtonSource empty;
  EXPECT_EQ(0u, empty.ReadWord());
  ScriptedButtonSource source({1, 2}, "ab");
  EXPECT_EQ(1u, source.ReadWord());
  EXPECT_EQ(1u, source.ReadWord());  // the same frame reads the same word
  source.NextFrame();
  EXPECT_EQ(2u, source.ReadWord());
  source.NextFrame();
  EXPECT_EQ(2u, source.ReadWord());  // the last word stays
  EXPECT_EQ(4u, source.reads);
  u8 c = 0;
  ASSERT_TRUE(source.TakeTypedChar(c));
  EXPECT_EQ('a', c);
  ASSERT_TRUE(source.TakeTypedChar(c));
  EXPECT_EQ('b', c);
  EXPECT_FALSE(source.TakeTypedChar(c));
}

// Each PC key sets the button that answers that key's own code.
TEST(KeyboardStandIn, EachKeyAnswersItsOwnCode) {
  const struct {
    SDLKey key;
    i32 code;
  } rows[] = {
      {SDLK_TAB, kKeyTab},           {SDLK_w, kKeyW},           {SDLK_RETURN, kKeyEnter},
      {SDLK_LCTRL, kKeyLeftCtrl},    {SDLK_a, kKeyA},           {SDLK_s, kKeyS},
      {SDLK_d, kKeyD},               {SDLK_LSHIFT, kKeyLeftShift}, {SDLK_z, kKeyZ},
      {SDLK_x, kKeyX},               {SDLK_RSHIFT, kKeyRightShift}, {SDLK_SPACE, kKeySpace},
      {SDLK_CAPSLOCK, kKeyCapsLock}, {SDLK_UP, kKeyUp},         {SDLK_PAGEUP, kKeyPageUp},
      {SDLK_LEFT, kKeyLeft},         {SDLK_RIGHT, kKeyRight},   {SDLK_DOWN, kKeyDown},
      {SDLK_PAGEDOWN, kKeyPageDown},
  };
  for (const auto& row : rows) {
    u8 keys[SDLK_LAST] = {};
    keys[row.key] = 1;
    const JoyState s = DecodeButtonWord(KeyboardButtonWord(keys, SDLK_LAST));
    EXPECT_TRUE(IsKeyCodeDown(s, row.code)) << SDL_GetKeyName(row.key);
    EXPECT_FALSE(IsKeyCodeDown(s, kKeyEscape)) << SDL_GetKeyName(row.key);
  }
  u8 keys[SDLK_LAST] = {};
  keys[SDLK_PAGEUP] = keys[SDLK_PAGEDOWN] = 1;  // both volume keys: the quit combination
  EXPECT_TRUE(IsKeyCodeDown(DecodeButtonWord(KeyboardButtonWord(keys, SDLK_LAST)), kKeyEscape));
}

TEST(KeyboardStandIn, ArrowsMakeOneDPadDirection) {
  const struct {
    std::vector<SDLKey> keys;
    u32 word;
  } rows[] = {
      {{}, 0},
      {{SDLK_UP}, kButtonUp},
      {{SDLK_UP, SDLK_LEFT}, kButtonUpLeft},
      {{SDLK_UP, SDLK_RIGHT}, kButtonUpRight},
      {{SDLK_DOWN, SDLK_LEFT}, kButtonDownLeft},
      {{SDLK_DOWN, SDLK_RIGHT}, kButtonDownRight},
      {{SDLK_UP, SDLK_DOWN}, 0},
      {{SDLK_UP, SDLK_DOWN, SDLK_LEFT}, kButtonLeft},
      {{SDLK_ESCAPE}, 0},  // the window's quit, not a button
      {{SDLK_a, SDLK_z, SDLK_RIGHT}, kButtonA | kButtonRight},
  };
  for (const auto& row : rows) {
    u8 keys[SDLK_LAST] = {};
    for (SDLKey k : row.keys) keys[k] = 1;
    EXPECT_EQ(row.word, KeyboardButtonWord(keys, SDLK_LAST)) << row.keys.size();
  }
  u8 shortState[SDLK_RETURN] = {};  // a state array too short for Return reads as released
  EXPECT_EQ(0u, KeyboardButtonWord(shortState, SDLK_RETURN));
  EXPECT_EQ(0u, KeyboardButtonWord(nullptr, 0));
}

}  // namespace
