// Input: decoding the button word, the key-code table and the characters that key codes type,
// the device read over a regular file of words, the choice between the sources, the keyboard
// stand-in's mapping, typed characters from held buttons, and pointer sampling with a scripted
// pointer and clock.
#include <SDL.h>

#include <array>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "media/button_decoder.h"
#include "media/input_device.h"
#include "media/key_codes.h"
#include "media/keyboard_standin.h"
#include "tests/media/scripted_pointer.h"
#include "tests/support/test_support.h"

namespace {

constexpr i32 F = kJoyFullDeflection;

TEST(DecodeButtons, DirectionsShouldersVolumeAndButtonBytes) {
  for (auto [bits, x, y, z, w] : {
           std::tuple<u32, i32, i32, i32, i32>{kButtonUp, 0, -F, 0, 0},
           {kButtonUpLeft, -F, -F, 0, 0}, {kButtonLeft, -F, 0, 0, 0},
           {kButtonDownLeft, -F, F, 0, 0}, {kButtonDown, 0, F, 0, 0},
           {kButtonDownRight, F, F, 0, 0}, {kButtonRight, F, 0, 0, 0},
           {kButtonUpRight, F, -F, 0, 0},
           // A straight direction with a neighbouring diagonal is the straight direction.
           {kButtonUp | kButtonUpRight, 0, -F, 0, 0}, {kButtonLeft | kButtonDownLeft, -F, 0, 0, 0},
           // Two diagonals: opposite sides cancel, the shared side stays.
           {kButtonUpLeft | kButtonUpRight, 0, -F, 0, 0},
           {kButtonUpLeft | kButtonDownRight, 0, 0, 0, 0},
           // Straight directions on both axes stay diagonal; opposite ones cancel.
           {kButtonLeft | kButtonUp, -F, -F, 0, 0}, {kButtonUp | kButtonDown, 0, 0, 0, 0},
           // The shoulders and the volume buttons are axes too.
           {kButtonL, 0, 0, -F, 0}, {kButtonR, 0, 0, F, 0}, {kButtonVolumeUp, 0, 0, 0, -F},
           {kButtonVolumeDown, 0, 0, 0, F},
           {kButtonL | kButtonR | kButtonVolumeUp | kButtonVolumeDown, 0, 0, 0, 0}}) {
    const JoyState s = DecodeButtonWord(bits);
    EXPECT_EQ((std::array{x, y, z, w}), (std::array{s.x, s.y, s.z, s.w})) << std::hex << bits;
  }
  const u32 byteOrder[] = {kButtonA,     kButtonB,          kButtonX,        kButtonY,
                           kButtonStick, kButtonStart,      kButtonSelect,   kButtonVolumeDown,
                           kButtonVolumeUp, kButtonL,       kButtonR};
  for (int i = 0; i < kJoyDecodedButtons; ++i) {
    const JoyState s = DecodeButtonWord(byteOrder[i] | 0xFFF80000u);  // bits 19..31 are ignored
    for (int j = 0; j < 32; ++j) EXPECT_EQ(i == j, s.buttons[j] != 0) << i << " " << j;
    // What the handheld has no source for reads as no input; the hat is none of its directions.
    EXPECT_EQ(0, s.axis3 | s.axis5);
    EXPECT_EQ(kJoyHatCentred, s.hat[0]);
  }
}

// Each PC key sets the button that answers that key's own code; arrows give one pad direction.
TEST(KeyboardStandIn, EachKeyAnswersItsOwnCode) {
  const struct {
    std::vector<SDLKey> keys;
    std::set<i32> codes;  // every code the word answers
  } rows[] = {
      {{SDLK_TAB}, {kKeyTab}},                        {{SDLK_RETURN}, {kKeyEnter}},
      {{SDLK_w}, {kKeyW, kKeyCapsLock}},              {{SDLK_CAPSLOCK}, {kKeyW, kKeyCapsLock}},
      {{SDLK_a}, {kKeyA, kKeyZ}},                     {{SDLK_z}, {kKeyA, kKeyZ}},
      {{SDLK_d}, {kKeyD, kKeyX}},                     {{SDLK_x}, {kKeyD, kKeyX}},
      {{SDLK_s}, {kKeyS, kKeyLeftCtrl}},              {{SDLK_LCTRL}, {kKeyS, kKeyLeftCtrl}},
      {{SDLK_LSHIFT}, {kKeyLeftShift}},               {{SDLK_RSHIFT}, {kKeyRightShift}},
      {{SDLK_SPACE}, {kKeySpace}},                    {{SDLK_PAGEUP}, {kKeyPageUp}},
      {{SDLK_PAGEDOWN}, {kKeyPageDown}},              {{SDLK_UP}, {kKeyUp}},
      {{SDLK_PAGEUP, SDLK_PAGEDOWN}, {kKeyPageUp, kKeyPageDown, kKeyEscape}},
      {{SDLK_ESCAPE}, {}},  // the window's quit, not a button
      {{SDLK_UP, SDLK_LEFT}, {kKeyUp, kKeyLeft}},
      {{SDLK_DOWN, SDLK_RIGHT}, {kKeyDown, kKeyRight}},
      {{SDLK_UP, SDLK_DOWN, SDLK_LEFT}, {kKeyLeft}},  // opposite arrows cancel
      {{SDLK_LEFT, SDLK_RIGHT, SDLK_DOWN}, {kKeyDown}},
  };
  for (const auto& row : rows) {
    u8 keys[SDLK_LAST] = {};
    for (SDLKey k : row.keys) keys[k] = 1;
    const JoyState s = DecodeButtonWord(KeyboardButtonWord(keys, SDLK_LAST));
    std::set<i32> codes;
    for (i32 code = 0; code < 256; ++code) {
      if (IsKeyCodeDown(s, code)) codes.insert(code);
      EXPECT_EQ(IsKeyCodeDown(s, code), IsKeyCodeDown(s, code - 512));  // the low eight bits count
    }
    EXPECT_EQ(row.codes, codes) << SDL_GetKeyName(row.keys[0]);
  }
  u8 keys[SDLK_LAST] = {};
  keys[SDLK_UP] = keys[SDLK_LEFT] = 1;
  EXPECT_EQ(u32{kButtonUpLeft}, KeyboardButtonWord(keys, SDLK_LAST));  // the pad's own diagonal
  EXPECT_EQ(0u, KeyboardButtonWord(keys, SDLK_UP));  // a state array too short reads released
  EXPECT_EQ(0u, KeyboardButtonWord(nullptr, 0));
}

TEST(ButtonSources, GpioWordsShortReadsAndTheChoiceOfSource) {
  ScopedTempDir dir;
  // Two whole words, then two bytes of a third.
  const std::string words("\x01\x10\x04\x00\x10\x00\x00\x80\x34\x12", 10);
  ASSERT_TRUE(WriteFileBytes(dir.File("GPIO"), words));
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
  using K = ButtonSourceKind;
  for (auto [override, opened, driver, kind] :
       {std::tuple<const char*, bool, const char*, K>{nullptr, true, "x11", K::kDevice},
        {nullptr, false, "x11", K::kKeyboard}, {nullptr, false, "dummy", K::kDevice},
        {nullptr, false, nullptr, K::kDevice}, {"keyboard", true, "dummy", K::kKeyboard},
        {"gpio", false, "x11", K::kDevice}}) {
    EXPECT_EQ(kind, ChooseButtonSourceKind(override, opened, driver))
        << (override ? override : "-") << opened << (driver ? driver : "-");
  }
}

// One query per frame over a script of words, and the characters typed (0: none).
TEST(ReadKeyChar, CharactersOfCodesAndSequences) {
  const std::pair<i32, u8> codes[] = {{28, 10}, {156, 10}, {14, 8},    {29, 0},     {58, 0},
                                      {221, 0}, {1, 0},    {31, 0},    {32, ' '},   {65, 'A'},
                                      {200, 200},          {256 + 65, 'A'}};
  for (const auto& [code, c] : codes) EXPECT_EQ(c, KeyCodeToChar(code)) << code;
  const struct {
    std::vector<u32> words;
    std::vector<u8> typed;
  } rows[] = {
      // A held button types once; a release lets it type again.
      {{kButtonB, kButtonB, kButtonB, 0, kButtonB}, {' ', 0, 0, 0, ' '}},
      // Another button while one is held types at once.
      {{kButtonA, kButtonB, kButtonA}, {',', ' ', ','}},
      {{kButtonStart, kButtonStick, kButtonUp, kButtonVolumeUp | kButtonVolumeDown},
       {10, '9', 200, 201}},
      {{kButtonSelect, kButtonL}, {0, 0}},
      {{kButtonA | kButtonB}, {' '}},  // the lowest code that types wins: B (32) before A (44)
  };
  for (const auto& row : rows) {
    ResetTypedCharStateForTests();
    InputDevice device;
    device.SetButtonSource(std::make_unique<ScriptedButtonSource>(row.words));
    device.Open(false);
    std::vector<u8> typed;
    for (std::size_t i = 0; i < row.words.size(); ++i, device.NextFrame()) {
      typed.push_back(device.ReadKeyChar());
    }
    EXPECT_EQ(row.typed, typed) << row.words.size();
  }
  ResetTypedCharStateForTests();
}

class ReadMouseTest : public testing::Test {
 protected:
  void SetUp() override {
    device.SetButtonSource(std::make_unique<ScriptedButtonSource>());
    device.Open(false);
  }
  // The touches of one read; its result.
  i32 Read(std::vector<Touch> touches) {
    pointer.Touches(std::move(touches));
    return device.ReadMouse(out);
  }
  void MoveTo(i32 x, i32 y) { device.pointer.mouseX = x, device.pointer.mouseY = y; }

  ScopedScriptedPointer pointer;
  InputDevice device;
  MouseSample out;
};

TEST_F(ReadMouseTest, JumpsEdgesAndRelease) {
  MoveTo(10, 20);
  EXPECT_EQ(1, Read({{26, 20}}));  // 16 pixels away: the ninth jump sample moves the pointer
  EXPECT_EQ(13u, scriptedPointer.reads);
  EXPECT_EQ(26, device.pointer.mouseX);
  ASSERT_EQ(1, Read({{0, 0, 0}}));  // released: button up, the history emptied
  EXPECT_EQ(0, out.button1);
  MoveTo(319, 239);
  ASSERT_EQ(1, Read({{319, 239}}));  // the last pixel is accepted
  EXPECT_EQ(319, device.pointer.mouseX);
  EXPECT_EQ(319 - 26, out.dx);  // from the last computed sample
  const MouseSample accepted = out;
  for (Touch outside : {Touch{320, 100}, Touch{100, 240}, Touch{-1, 100}}) {
    ASSERT_EQ(1, Read({outside}));  // the previous sample again
    EXPECT_EQ(1u, scriptedPointer.reads);
    EXPECT_EQ(accepted.dx, out.dx);
    EXPECT_EQ(1, out.button1);
  }
  ASSERT_EQ(1, Read({{0, 0, 0}}));
  ASSERT_EQ(1, Read({{319, 239}}));  // a new touch collects thirteen samples again
  EXPECT_EQ(13u, scriptedPointer.reads);
}

// A held touch keeps 13 or 14 points between reads; jump samples on top of them must not grow
// the history beyond 16, and the newest 14 decide the position.
TEST_F(ReadMouseTest, JumpBurstOnAFullHistoryStaysBounded) {
  MoveTo(50, 50);
  ASSERT_EQ(1, Read({{50, 50}}));  // 13 points
  ASSERT_EQ(1, Read({{50, 50}}));  // 14 points
  std::vector<Touch> burst(8, Touch{200, 200});
  burst.push_back({50, 50});
  ASSERT_EQ(1, Read(burst));
  EXPECT_EQ(9u, scriptedPointer.reads);
  // (50,50) at weight 8, eight jumps at 7..1 and 1, five older (50,50) at 1.
  EXPECT_EQ(153, device.pointer.mouseX);
  ASSERT_EQ(1, Read({{250, 200}}));  // nine jump samples replace the history
  EXPECT_EQ(250, device.pointer.mouseX);
}

TEST_F(ReadMouseTest, NothingBeforeOpenAndARateLimitThatSurvivesClockWrapAndSteps) {
  InputDevice unopened;
  out.dx = 7;
  pointer.Touches({{30, 30}});
  EXPECT_EQ(0, unopened.ReadMouse(out));
  EXPECT_EQ(0, out.button1 | out.dx);
  EXPECT_EQ(0u, scriptedPointer.reads);
  ResetPointerSamplingForTests();
  MoveTo(30, 30);
  scriptedPointer.nowMs = 0xFFFFFFFAu;
  scriptedPointer.touches = {{30, 30}};
  ASSERT_EQ(1, device.ReadMouse(out));
  for (auto [now, samples] :
       {std::pair{0xFFFFFFFFu, false}, {0u, true}, {3u, false}, {0u - 100u, true}}) {
    scriptedPointer.nowMs = now;
    scriptedPointer.reads = 0;
    ASSERT_EQ(1, device.ReadMouse(out));
    EXPECT_EQ(samples, scriptedPointer.reads > 0) << now;
  }
}


}  // namespace
