// The line editor over scripted typed characters: editing, Enter, backspace, the number readers
// and the file-name prompt; a quit while editing ends the program.
#include <string>

#include "core/startup/line_editor.h"
#include "media/font_commands.h"
#include "tests/runtime/runtime_fixture.h"

namespace {

class LineEditorTest : public RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    LoadFontFile(DynString(), 0);  // the built-in font
  }
  std::string Edit(const std::string& start, const std::string& typed) {
    buttons->typed.assign(typed.begin(), typed.end());
    DynString text(start.c_str());
    InputLine(text, 4, 4);
    return std::string(text.CStr(), text.Length());
  }
};

TEST_F(LineEditorTest, EditsUntilEnter) {
  const struct {
    const char* start;
    std::string typed;
    const char* result;
  } rows[] = {
      {"", "ab\b\n", "a"},
      {"", "\b\n", ""},
      {"", "\n", ""},
      {"1", "xyz\n", "1xyz"},
      {"abc", "\b\b\b\b\bq\n", "q"},
      {"", std::string("a\0\0b\n", 5), "ab"},  // idle frames type nothing
  };
  for (const auto& row : rows) {
    const std::size_t framesBefore = buttons->reads;
    EXPECT_EQ(row.result, Edit(row.start, row.typed)) << row.typed;
    // One frame for the first picture, one for each character before Enter.
    EXPECT_EQ(framesBefore + row.typed.size(), buttons->reads) << row.typed;
    EXPECT_EQ(0, graphicsDevice->Screen(3)->height);  // the saved screen is freed
  }
}

// The pixel of the last presented frame.
u16 ShownPixel(i32 x, i32 y) {
  const SDL_Surface* screen = SDL_GetVideoSurface();
  return static_cast<const u16*>(screen->pixels)[y * (screen->pitch / 2) + x];
}

TEST_F(LineEditorTest, TextIsShownOverTheSavedScreen) {
  FillRect(0, 0, kScreenW, kScreenH, 0x00FF00);
  EXPECT_EQ("ok", Edit("", "ok\n"));
  EXPECT_EQ(0x07E0, ShownPixel(kScreenW - 1, kScreenH - 1));
  int lit = 0;
  for (i32 y = 4; y < 12; ++y)
    for (i32 x = 4; x < 20; ++x) lit += ShownPixel(x, y) == 0xFFFF ? 1 : 0;
  EXPECT_GT(lit, 10);
}

TEST_F(LineEditorTest, NumbersAndFileNames) {
  i32 number = 0;
  buttons->typed = {'4', '2', '\n'};
  InputNumber(number, 0, 0);
  EXPECT_EQ(42, number);
  buttons->typed = {'-', '7', 'x', '\n'};
  InputNumber(number, 0, 0);
  EXPECT_EQ(-7, number);
  f32 decimal = 0.0f;
  buttons->typed = {'2', '.', '5', '\n'};
  InputDecimal(decimal, 0, 0);
  EXPECT_EQ(2.5f, decimal);
  buttons->typed = {'a', '.', 'b', '\n'};
  EXPECT_EQ("File:a.b", std::string(RequestFileName().CStr()));
  buttons->typed = {'\b', '\b', '\b', '\b', '\b', 'x', '\n'};
  EXPECT_EQ("x", std::string(RequestFileName().CStr()));
}

TEST_F(LineEditorTest, QuitWhileEditingEndsTheProgram) {
  PushQuit();
  buttons->typed = {'a'};
  DynString text;
  EXPECT_FATAL(kErrRegularEnd, InputLine(text, 0, 0));
}

}  // namespace
