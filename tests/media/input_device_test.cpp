// The input device: typed characters from held buttons, and pointer sampling with a scripted
// pointer and clock.
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "media/button_decoder.h"
#include "media/input_device.h"
#include "media/pointer.h"
#include "tests/media/scripted_pointer.h"

namespace {

class InputDeviceTest : public testing::Test {
 protected:
  void SetUp() override { ResetTypedCharStateForTests(); }
  void TearDown() override { ResetTypedCharStateForTests(); }

  // Opens the device over a script of button words.
  void OpenWith(std::vector<u32> words) {
    device.SetButtonSource(std::make_unique<ScriptedButtonSource>(std::move(words)));
    device.Open(false);
  }

  void Touches(std::vector<Touch> touches) { pointer.Touches(std::move(touches)); }

  ScopedScriptedPointer pointer;
  InputDevice device;
};

// One query per frame over a script of words, and the characters typed (0: none).
TEST_F(InputDeviceTest, ReadKeyCharSequences) {
  const struct {
    std::vector<u32> words;
    std::vector<u8> typed;
  } rows[] = {
      // A held button types once; a release lets it type again.
      {{kButtonB, kButtonB, kButtonB, 0, kButtonB}, {' ', 0, 0, 0, ' '}},
      // Another button while one is held types at once.
      {{kButtonA, kButtonB, kButtonA}, {',', ' ', ','}},
      {{kButtonStart, kButtonStick, kButtonUp, kButtonLeft, kButtonRight, kButtonDown},
       {10, '9', 200, 203, 205, 208}},
      {{kButtonVolumeUp, kButtonVolumeDown, kButtonVolumeUp | kButtonVolumeDown},
       {201, 209, 201}},
      // Buttons whose codes type nothing.
      {{kButtonSelect, kButtonX, kButtonY, kButtonL, kButtonR}, {0, 0, 0, 0, 0}},
      // The lowest code that types wins: B (32) before A (44).
      {{kButtonA | kButtonB}, {' '}},
  };
  for (const auto& row : rows) {
    ResetTypedCharStateForTests();
    InputDevice fresh;
    fresh.SetButtonSource(std::make_unique<ScriptedButtonSource>(row.words));
    fresh.Open(false);
    std::vector<u8> typed;
    for (std::size_t i = 0; i < row.words.size(); ++i) {
      typed.push_back(fresh.ReadKeyChar());
      fresh.NextFrame();
    }
    EXPECT_EQ(row.typed, typed) << row.words.size();
  }
}

TEST_F(InputDeviceTest, ReadButtonsAndDecode) {
  OpenWith({kButtonUp | kButtonA});
  device.ReadButtons();
  JoyState s;
  DecodeButtons(device, s, 3);  // the index is not used
  EXPECT_EQ(-kJoyFullDeflection, s.y);
  EXPECT_EQ(1, s.buttons[kJoyA]);
  char name[4];
  device.GetJoystickName(0, name);
  EXPECT_STREQ("WIZ", name);
  device.GetJoystickName(1, name);
  EXPECT_STREQ("", name);
  device.Close();
  EXPECT_EQ(-1, device.state);
  EXPECT_EQ(1, device.closed);
}

TEST_F(InputDeviceTest, ReadMouseBeforeOpenGivesNothing) {
  Touches({{50, 50}});
  MouseSample out;
  out.dx = 7;
  EXPECT_EQ(0, device.ReadMouse(out));
  EXPECT_EQ(0, out.button1);
  EXPECT_EQ(0, out.dx);
  EXPECT_EQ(0u, scriptedPointer.reads);
}

TEST_F(InputDeviceTest, ReadMouseCollectsThirteenSamplesAndWeighsThem) {
  OpenWith({});
  device.pointer.mouseX = 10, device.pointer.mouseY = 20;
  // Thirteen points, newest last: x rises by 1, y stays.
  std::vector<Touch> touches;
  for (i32 i = 0; i < 13; ++i) touches.push_back({10 + i, 20});
  Touches(touches);
  MouseSample out;
  EXPECT_EQ(1, device.ReadMouse(out));
  EXPECT_EQ(13u, scriptedPointer.reads);
  // Weights 8..1 for x 22..15, 1 for x 14..10: (8*22+7*21+...+1*15 + 14+13+12+11+10) / 41.
  EXPECT_EQ((8 * 22 + 7 * 21 + 6 * 20 + 5 * 19 + 4 * 18 + 3 * 17 + 2 * 16 + 15 + 60) / 41,
            device.pointer.mouseX);
  EXPECT_EQ(20, device.pointer.mouseY);
  EXPECT_EQ(1, out.button1);
  EXPECT_EQ(device.pointer.mouseX, out.dx);  // from the construction's last position 0
  EXPECT_EQ(20, out.dy);

  // Next read within 6 ms: the cached sample, nothing read.
  scriptedPointer.reads = 0;
  scriptedPointer.nowMs += 5;
  MouseSample again;
  EXPECT_EQ(1, device.ReadMouse(again));
  EXPECT_EQ(0u, scriptedPointer.reads);
  EXPECT_EQ(out.dx, again.dx);
  EXPECT_EQ(1, again.button1);
}

TEST_F(InputDeviceTest, NineJumpSamplesMoveThePointer) {
  OpenWith({});
  device.pointer.mouseX = 10, device.pointer.mouseY = 20;
  Touches({{26, 20}});  // 16 pixels away from the smoothed position
  MouseSample out;
  EXPECT_EQ(1, device.ReadMouse(out));
  EXPECT_EQ(13u, scriptedPointer.reads);
  EXPECT_EQ(26, device.pointer.mouseX);
  EXPECT_EQ(20, device.pointer.mouseY);
}

TEST_F(InputDeviceTest, EdgesOfTheScreenAndRelease) {
  OpenWith({});
  device.pointer.mouseX = 319, device.pointer.mouseY = 239;
  Touches({{319, 239}});
  MouseSample out;
  ASSERT_EQ(1, device.ReadMouse(out));
  EXPECT_EQ(1, out.button1);
  EXPECT_EQ(319, device.pointer.mouseX);
  const MouseSample accepted = out;

  for (Touch outside : {Touch{320, 100}, Touch{100, 240}, Touch{-1, 100}}) {
    Touches({outside});
    ASSERT_EQ(1, device.ReadMouse(out));
    EXPECT_EQ(1u, scriptedPointer.reads);
    EXPECT_EQ(accepted.dx, out.dx);
    EXPECT_EQ(accepted.button1, out.button1);
    EXPECT_EQ(319, device.pointer.mouseX);
  }

  Touches({{0, 0, 0}});  // released: button up, the history emptied
  ASSERT_EQ(1, device.ReadMouse(out));
  EXPECT_EQ(0, out.button1);
  EXPECT_EQ(accepted.dx, out.dx);
  scriptedPointer.nowMs += 6;
  EXPECT_EQ(0, device.AnyMouseButton());
  Touches({{319, 239}});  // a new touch collects thirteen samples again
  ASSERT_EQ(1, device.ReadMouse(out));
  EXPECT_EQ(13u, scriptedPointer.reads);
  EXPECT_EQ(0, out.dx);
}

// A held touch keeps 13 or 14 points between reads; jump samples on top of them must not grow
// the history beyond 16, and the newest 14 decide the position.
TEST_F(InputDeviceTest, JumpBurstOnAFullHistoryStaysBounded) {
  OpenWith({});
  device.pointer.mouseX = 50, device.pointer.mouseY = 50;
  Touches({{50, 50}});
  MouseSample out;
  ASSERT_EQ(1, device.ReadMouse(out));  // 13 points
  Touches({{50, 50}});
  ASSERT_EQ(1, device.ReadMouse(out));  // 14 points
  std::vector<Touch> burst(8, Touch{200, 200});
  burst.push_back({50, 50});
  Touches(burst);
  ASSERT_EQ(1, device.ReadMouse(out));
  EXPECT_EQ(9u, scriptedPointer.reads);
  // Newest 14: (50,50) at weight 8, eight jumps at 7..1 and 1, five older (50,50) at 1.
  EXPECT_EQ((8 * 50 + 29 * 200 + 5 * 50) / 42, device.pointer.mouseX);
}

TEST_F(InputDeviceTest, RateLimitSurvivesClockWrap) {
  OpenWith({});
  device.pointer.mouseX = 30, device.pointer.mouseY = 30;
  scriptedPointer.nowMs = 0xFFFFFFFAu;
  scriptedPointer.touches = {{30, 30}};
  MouseSample out;
  ASSERT_EQ(1, device.ReadMouse(out));
  ASSERT_EQ(13u, scriptedPointer.reads);
  const struct {
    u32 now;
    bool samples;
  } steps[] = {
      {0xFFFFFFFFu, false},  // 5 ms later
      {0u, true},            // 6 ms later, across the wrap
      {3u, false},
      {0u - 100u, true},     // a clock that stepped back does not freeze the pointer
  };
  for (const auto& step : steps) {
    scriptedPointer.nowMs = step.now;
    scriptedPointer.reads = 0;
    ASSERT_EQ(1, device.ReadMouse(out));
    EXPECT_EQ(step.samples, scriptedPointer.reads > 0) << step.now;
  }
}

TEST_F(InputDeviceTest, MousePositionAndFlagCommandsNeedTheDevice) {
  SetMousePositionCommand(5, 6);  // no global device: nothing happens
  SetInputFlagCommand(1.0f);
  EXPECT_EQ(100, device.pointer.mouseX);
  EXPECT_EQ(0, device.closed);
}

}  // namespace
