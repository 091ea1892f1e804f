// Key, joystick and pointer queries, the input waits and the line editor over a scripted button
// source, scripted typed characters and a scripted pointer.
#include <string>
#include <vector>

#include "runtime/input_waits.h"
#include "runtime/joystick_queries.h"
#include "runtime/key_queries.h"
#include "runtime/line_editor.h"
#include "runtime/pointer_queries.h"
#include "media/button_decoder.h"
#include "media/font_commands.h"
#include "tests/media/scripted_pointer.h"
#include "tests/runtime/runtime_fixture.h"

namespace {

class InputTest : public RuntimeTest {
 protected:
  ScopedScriptedPointer pointer{6};  // a new sample on every pointer read
};

// The pixel of the last presented frame.
u16 ShownPixel(i32 x, i32 y) {
  const SDL_Surface* screen = SDL_GetVideoSurface();
  return static_cast<const u16*>(screen->pixels)[y * (screen->pitch / 2) + x];
}

TEST_F(InputTest, QueriesThePumpTheWaitsAndTheLineEditor) {
  buttons->words = {kButtonLeft | kButtonA | kButtonVolumeUp | kButtonVolumeDown};
  std::size_t reads = buttons->reads;
  EXPECT_EQ(std::make_pair(1, 0), std::make_pair(IsKeyDown(1), IsKeyDown(45)));  // 1: Escape
  EXPECT_EQ(reads + 2, buttons->reads);
  reads = buttons->reads;
  f32 x = 9, y = 9, b1 = 9, b2 = 9;
  ReadJoystick(x, y, b1, b2);
  EXPECT_EQ((std::vector<f32>{-1, 0, 1, 0}), (std::vector<f32>{x, y, b1, b2}));
  EXPECT_EQ(std::make_tuple(-1.0f, 0.0f, 1, 0, 0),
            std::make_tuple(GetJoyX(0), GetJoyHatX(0), GetJoyButton(0, kJoyA),
                            GetJoyButton(0, kJoyB), GetJoyButton(0, 0xFFFFFFFFu)));
  EXPECT_EQ(reads, buttons->reads);  // none of them reads the device
  buttons->words = {0};
  buttons->typed = {'q'};
  EXPECT_EQ("q", std::string(GetTypedKey().CStr()));
  EXPECT_EQ("", std::string(GetTypedKey().CStr()));
  // The pointer is clamped to the screen and written back.
  SetMousePosition(500, -7);
  pointer.Touches({{0, 0, 0}});  // not touching
  GetMouseState(x, y, b1, b2);
  EXPECT_EQ((std::vector<f32>{kScreenW - 1, 0, 0, 0}), (std::vector<f32>{x, y, b1, b2}));
  EXPECT_EQ(std::make_pair(kScreenW - 1, 0),
            std::make_pair(inputDevice->pointer.mouseX, inputDevice->pointer.mouseY));
  pointer.Touches({{14, 20}});
  EXPECT_EQ(std::make_pair(1, 0), std::make_pair(GetMouseAxis(3), GetMouseAxis(6)));  // button 1
  // The pump is bounded and returns on input.
  const u64 slept = clock.SleptNs();
  reads = buttons->reads;
  PumpInputEvents();  // nothing: fifteen passes of a read and 255 key tests
  EXPECT_EQ(slept + 15 * 5000u, clock.SleptNs());
  EXPECT_EQ(reads + 15 * 256u, buttons->reads);
  buttons->words = {kButtonSelect};
  reads = buttons->reads;
  PumpInputEvents();
  EXPECT_LT(buttons->reads - reads, 256u);  // within the first pass
  // Up for the snapshot, then down: the first pass sees the pointer change.
  buttons->words = {0};
  std::vector<Touch> touches(20, Touch{30, 30, 1});
  touches.front() = Touch{0, 0, 0};
  pointer.Touches(touches);
  reads = buttons->reads;
  PumpInputEvents();
  EXPECT_EQ(256u, buttons->reads - reads);
  // The waits return once input came; a quit stores no code.
  buttons->typed = {0, 0, 'k'};  // two empty queries, then a key
  WaitForKey();
  EXPECT_TRUE(buttons->typed.empty());
  // Up, a long touch, up again: the wait returns once the button is released.
  std::vector<Touch> click(3, Touch{0, 0, 0});
  click.insert(click.end(), 60, Touch{10, 10, 1});
  click.push_back(Touch{0, 0, 0});
  pointer.Touches(click);
  SetMousePosition(10, 10);
  WaitForMouseClick();
  EXPECT_EQ(click.size(), scriptedPointer.next);
  errorCode = 3.0f;
  PushQuit();
  EXPECT_FATAL(3.0f, WaitForKey());
  buttons->words = {kButtonVolumeUp | kButtonVolumeDown};
  EXPECT_FATAL(3.0f, PumpInputEvents());
  // The line editor edits over the saved screen until Enter, in the built-in font.
  buttons->words = {0};
  LoadFontFile(DynString(), 0);
  // Start, typed characters, result.
  const std::tuple<const char*, std::string, const char*> rows[] = {
      {"", "ab\b\n", "a"},
      {"abc", "\b\b\b\b\bq\n", "q"},
      {"", std::string("o\0\0k\n", 5), "ok"}};  // idle frames type nothing
  for (const auto& [start, typed, result] : rows) {
    FillRect(0, 0, kScreenW, kScreenH, 0x00FF00);
    const std::size_t framesBefore = buttons->reads;
    buttons->typed.assign(typed.begin(), typed.end());
    DynString text(start);
    InputLine(text, 4, 4);
    EXPECT_EQ(result, std::string(text.CStr(), text.Length()));
    // One frame for the first picture, one for each character before Enter.
    EXPECT_EQ(framesBefore + typed.size(), buttons->reads) << typed;
    EXPECT_EQ(0, graphicsDevice->Screen(3)->height);  // the saved screen is freed
  }
  EXPECT_EQ(0x07E0, ShownPixel(kScreenW - 1, kScreenH - 1));
  int lit = 0;
  for (i32 y = 4; y < 12; ++y)
    for (i32 x = 4; x < 20; ++x) lit += ShownPixel(x, y) == 0xFFFF ? 1 : 0;
  EXPECT_GT(lit, 10);  // "ok" in white over the green
  i32 number = 0;
  buttons->typed = {'-', '7', 'x', '\n'};
  InputNumber(number, 0, 0);
  EXPECT_EQ(-7, number);
  buttons->typed = {'\b', '\b', '\b', '\b', '\b', 'x', '\n'};
  EXPECT_EQ("x", std::string(RequestFileName().CStr()));
  PushQuit();  // while editing: the frame step ends the program
  buttons->typed = {'a'};
  DynString edited;
  EXPECT_FATAL(kErrRegularEnd, InputLine(edited, 0, 0));
}

}  // namespace
