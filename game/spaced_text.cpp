// Spaced printing through the runtime's text command in the current font.
#include "game/spaced_text.h"

#include "core/text_functions.h"
#include "media/font_commands.h"

namespace game {

void PrintTextSpaced(const DynString& text, i32 x, i32 y, i32 pitch) {
  const i32 length = static_cast<i32>(text.Length());
  for (i32 i = 0; i < length; ++i) {
    const f32 at = static_cast<f32>(x) + static_cast<f32>(i) * static_cast<f32>(pitch);
    PrintTextCommand(CharToString(static_cast<u8>(text.CStr()[i])), at, static_cast<f32>(y));
  }
}

void PrintNumberSpaced(i32 number, i32 x, i32 y, i32 pitch) {
  PrintTextSpaced(DynString::FromInt(number), x, y, pitch);
}

}  // namespace game
