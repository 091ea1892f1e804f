// The input device: typed characters from held buttons, and pointer sampling with a scripted
// pointer and clock.
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "media/button_decoder.h"
#include "media/input_device.h"
#include "tests/media/scripted_pointer.h"

namespace {

// One query per frame over a script of words, and the characters typed (0: none).
TEST(ReadKeyChar, Sequences) {
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
      {{kButtonVolumeUp, kButtonVolumeDown, kButtonVolumeUp | kButtonVolumeDown}, {201, 209, 201}},
      {{kButtonSelect, kButtonX, kButtonY, kButtonL, kButtonR}, {0, 0, 0, 0, 0}},
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

TEST_F(ReadMouseTest, ThirteenWeightedSamples) {
  MoveTo(10, 20);
  std::vector<Touch> touches;
  for (i32 i = 0; i < 13; ++i) touches.push_back({10 + i, 20});  // x rises, newest last
  EXPECT_EQ(1, Read(touches));
  EXPECT_EQ(13u, scriptedPointer.reads);
  // Weights 8..1 for x 22..15, 1 for x 14..10.
  const i32 x = (8 * 22 + 7 * 21 + 6 * 20 + 5 * 19 + 4 * 18 + 3 * 17 + 2 * 16 + 15 + 60) / 41;
  EXPECT_EQ(x, device.pointer.mouseX);
  EXPECT_EQ(20, device.pointer.mouseY);
  EXPECT_EQ(1, out.button1);
  EXPECT_EQ(x, out.dx);  // from the construction's last position 0
  EXPECT_EQ(20, out.dy);
  // Within 6 ms: the cached sample, nothing read.
  scriptedPointer.nowMs += 5;
  scriptedPointer.reads = 0;
  MouseSample again;
  EXPECT_EQ(1, device.ReadMouse(again));
  EXPECT_EQ(0u, scriptedPointer.reads);
  EXPECT_EQ(x, again.dx);
}

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
  EXPECT_EQ((8 * 50 + 29 * 200 + 5 * 50) / 42, device.pointer.mouseX);
}

TEST_F(ReadMouseTest, RateLimitSurvivesClockWrapAndSteps) {
  MoveTo(30, 30);
  scriptedPointer.nowMs = 0xFFFFFFFAu;
  scriptedPointer.touches = {{30, 30}};
  ASSERT_EQ(1, device.ReadMouse(out));
  const struct {
    u32 now;
    bool samples;
  } steps[] = {{0xFFFFFFFFu, false}, {0u, true}, {3u, false}, {0u - 100u, true}};
  for (const auto& step : steps) {
    scriptedPointer.nowMs = step.now;
    scriptedPointer.reads = 0;
    ASSERT_EQ(1, device.ReadMouse(out));
    EXPECT_EQ(step.samples, scriptedPointer.reads > 0) << step.now;
  }
}

TEST(ReadMouse, BeforeOpenGivesNothing) {
  ScopedScriptedPointer pointer;
  pointer.Touches({{50, 50}});
  InputDevice device;
  MouseSample out;
  out.dx = 7;
  EXPECT_EQ(0, device.ReadMouse(out));
  EXPECT_EQ(0, out.button1 | out.dx);
  EXPECT_EQ(0u, scriptedPointer.reads);
}

}  // namespace
