// Key, joystick and pointer queries and the input waits over a scripted button source and a
// scripted pointer.
#include <set>
#include <string>
#include <vector>

#include "core/startup/input_waits.h"
#include "core/startup/joystick_queries.h"
#include "core/startup/key_queries.h"
#include "core/startup/pointer_queries.h"
#include "media/button_decoder.h"
#include "tests/media/scripted_pointer.h"
#include "tests/runtime/runtime_fixture.h"

namespace {

class InputQueriesTest : public RuntimeTest {
 protected:
  // A new sample on every pointer read.
  ScopedScriptedPointer pointer{6};
};

TEST_F(InputQueriesTest, IsKeyDownReadsAfreshAndKnowsTheVolumePair) {
  const struct {
    u32 word;
    std::set<i32> down;  // among 1, 201, 209, 257, 45, 200
  } rows[] = {
      {0, {}},
      {kButtonVolumeUp, {201}},
      {kButtonVolumeDown, {209}},
      {kButtonVolumeUp | kButtonVolumeDown, {1, 201, 209, 257}},
      {kButtonB | kButtonUpLeft, {45, 200}},
  };
  for (const auto& row : rows) {
    buttons->words = {row.word};
    const std::size_t readsBefore = buttons->reads;
    std::set<i32> down;
    for (i32 code : {1, 201, 209, 257, 45, 200}) {
      if (IsKeyDown(code) == 1) down.insert(code);
    }
    EXPECT_EQ(row.down, down) << std::hex << row.word;
    EXPECT_EQ(readsBefore + 6, buttons->reads);
  }
  buttons->words = {0};
  buttons->typed = {'q'};
  EXPECT_EQ("q", std::string(GetTypedKey().CStr()));
  EXPECT_EQ("", std::string(GetTypedKey().CStr()));
}

TEST_F(InputQueriesTest, JoystickReadersDecodeTheLastWord) {
  buttons->words = {kButtonLeft | kButtonA | kButtonVolumeUp | kButtonR};
  f32 x = 9, y = 9, b1 = 9, b2 = 9;
  ReadJoystick(x, y, b1, b2);  // nothing read yet
  EXPECT_EQ(0.0f, x + y + b1 + b2);
  IsKeyDown(0);  // one read
  ReadJoystick(x, y, b1, b2);
  EXPECT_EQ((std::vector<f32>{-1, 0, 1, 0}), (std::vector<f32>{x, y, b1, b2}));
  const std::size_t reads = buttons->reads;
  // x y third z fifth w, then the hat: centred, neither up nor right.
  EXPECT_EQ((std::vector<f32>{-1, 0, 0, 1, 0, -1, 0, 0}),
            (std::vector<f32>{GetJoyX(0), GetJoyY(0), GetJoyAxis3(0), GetJoyZ(0), GetJoyAxis5(0),
                              GetJoyW(0), GetJoyHatX(0), GetJoyHatY(0)}));
  EXPECT_EQ((std::vector<i32>{1, 0, 1, 0, 0}),
            (std::vector<i32>{GetJoyButton(0, kJoyA), GetJoyButton(0, kJoyB), GetJoyButton(0, kJoyR),
                              GetJoyButton(0, 32), GetJoyButton(0, 0xFFFFFFFFu)}));
  EXPECT_EQ(reads, buttons->reads);  // none of them reads the device
  EXPECT_EQ(1.0f, GetJoystickCountCommand());
  EXPECT_EQ("WIZ", std::string(GetJoystickNameCommand(0).CStr()));
  EXPECT_EQ("", std::string(GetJoystickNameCommand(1).CStr()));
  UpdateInputDeviceCommand(1, 2, 3, 4);
}

TEST_F(InputQueriesTest, PointerIsClampedToTheScreenAndWrittenBack) {
  const struct {
    i32 setX, setY;
    i32 x, y;
  } rows[] = {
      {500, -7, kScreenW - 1, 0},
      {-3, 1000, 0, kScreenH - 1},
      {10, 20, 10, 20},
  };
  for (const auto& row : rows) {
    SetMousePosition(row.setX, row.setY);
    pointer.Touches({{0, 0, 0}});  // not touching
    f32 x = -1, y = -1, b1 = -1, b2 = -1;
    GetMouseState(x, y, b1, b2);
    EXPECT_EQ((std::vector<f32>{f32(row.x), f32(row.y), 0, 0}), (std::vector<f32>{x, y, b1, b2}));
    EXPECT_EQ(row.x, inputDevice->pointer.mouseX);  // written back
    EXPECT_EQ(row.y, inputDevice->pointer.mouseY);
  }
  // A touch near the position: thirteen samples, then the buttons and the movement.
  pointer.Touches({{12, 20}});
  i32 ix = 0, iy = 0, ib1 = 0, ib2 = 0;
  ReadMouseClamped(ix, iy, ib1, ib2);
  EXPECT_EQ((std::vector<i32>{12, 20, 1, 0}), (std::vector<i32>{ix, iy, ib1, ib2}));
  pointer.Touches({{14, 20}});
  EXPECT_EQ(1, GetMouseAxis(3));
  for (i32 axis : {2, 4, 5, 6, -1}) EXPECT_EQ(0, GetMouseAxis(axis)) << axis;
}

TEST_F(InputQueriesTest, PumpIsBoundedAndReturnsOnInput) {
  const u64 slept = clock.SleptNs();
  std::size_t reads = buttons->reads;
  PumpInputEvents();  // nothing: fifteen passes of a read and 255 key tests
  EXPECT_EQ(slept + 15 * 5000u, clock.SleptNs());
  EXPECT_EQ(reads + 15 * 256u, buttons->reads);

  for (u32 word : {kButtonA, kButtonRight, kButtonSelect}) {
    buttons->words = {word};
    reads = buttons->reads;
    PumpInputEvents();
    EXPECT_LT(buttons->reads - reads, 256u) << word;  // within the first pass
  }
  buttons->words = {0};
  // Up for the snapshot, then down: the first pass sees the pointer change.
  std::vector<Touch> touches(20, Touch{30, 30, 1});
  touches.front() = Touch{0, 0, 0};
  pointer.Touches(touches);
  reads = buttons->reads;
  PumpInputEvents();
  EXPECT_EQ(256u, buttons->reads - reads);
  EXPECT_EQ(30, inputDevice->pointer.mouseX);
}

TEST_F(InputQueriesTest, QuitsDuringWaitsStoreNoCode) {
  errorCode = 3.0f;
  PushQuit();
  EXPECT_FATAL(3.0f, PumpInputEvents());
  DrainEvents();
  buttons->words = {kButtonVolumeUp | kButtonVolumeDown};
  EXPECT_FATAL(3.0f, PumpInputEvents());
  buttons->words = {0};
  PushQuit();
  EXPECT_FATAL(3.0f, WaitForKey());
}

TEST_F(InputQueriesTest, WaitsReturnOnceInputCame) {
  buttons->typed = {0, 0, 'k'};  // two empty queries, then a key
  WaitForKey();
  EXPECT_TRUE(buttons->typed.empty());

  // Up, a long touch, up again: the wait returns once the button is released.
  std::vector<Touch> touches(3, Touch{0, 0, 0});
  touches.insert(touches.end(), 60, Touch{10, 10, 1});
  touches.push_back(Touch{0, 0, 0});
  pointer.Touches(touches);
  SetMousePosition(10, 10);
  WaitForMouseClick();
  EXPECT_EQ(touches.size(), scriptedPointer.next);
}

}  // namespace
