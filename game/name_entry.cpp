// The name-entry state over the edited high-score entry.
#include "game/name_entry.h"

#include "core/text_concat.h"
#include "core/text_functions.h"
#include "game/game_data.h"
#include "game/game_globals.h"
#include "game/hiscore_file.h"
#include "game/hiscore_table.h"
#include "game/key_latches.h"
#include "media/font_commands.h"

namespace game {

namespace {

constexpr i32 kBlank = ' ';
constexpr i32 kDot = '.';

HiscoreEntry& EditedEntry() { return hiscores.At(editedEntry); }

// The letter under the cursor becomes current; an unedited position turns blank on the way.
void MoveCursor(i32 to) {
  nameCursor = to < 0 ? 0 : (to > kNameLength - 1 ? kNameLength - 1 : to);
  currentLetter =
      static_cast<i32>(DynStringFirstByte(Substring(EditedEntry().name, nameCursor, 1)));
  if (currentLetter == kDot) {
    currentLetter = kBlank;
    RebuildName();
  }
}

void Confirm() {
  EditedEntry().name = ReplaceAllCommand(EditedEntry().name, DynString("."), DynString(" "));
  SaveHiscores(kHiscoreCount);
  gameState = kStateTable;
}

}  // namespace

i32 NextLetter(i32 letter) {
  if (letter == kBlank) return 'A';
  return letter + 1 > 'Z' ? kBlank : letter + 1;
}

i32 PreviousLetter(i32 letter) {
  if (letter == kBlank) return 'Z';
  return letter == 'A' ? kBlank : letter - 1;
}

void RebuildName() {
  const DynString& name = EditedEntry().name;
  const i32 n = static_cast<i32>(name.Length());
  nameLength = static_cast<f32>(n);
  editedName = ConcatStringString(
      ConcatStringString(Substring(name, 0, nameCursor), CharToString(currentLetter)),
      Substring(name, nameCursor + 1, n - 1 - nameCursor));
  EditedEntry().name = editedName;
}

void EnterResult() {
  gameState = kStateNameEntry;
  editedName = DynString("A.......");
  HiscoreEntry& lowest = hiscores.At(0);
  lowest.level = level + 1;
  lowest.score = score;
  currentLetter = 'A';
  nameCursor = 0;
  lowest.name = editedName;
  SortHiscoreList();
  for (i32 i = 0; i < kHiscoreCount; ++i) {
    const HiscoreEntry& entry = hiscores.At(i);
    if (DynStringEquals(entry.name, editedName) == 1 && entry.score == score) {
      editedEntry = i;
      break;
    }
  }
}

void HandleNameEntryInput() {
  if (KeyReleased(kKeyUp) == 1) {
    currentLetter = NextLetter(currentLetter);
    RebuildName();
  } else if (KeyReleased(kKeyDown) == 1) {
    currentLetter = PreviousLetter(currentLetter);
    RebuildName();
  } else if (KeyReleased(kKeyLeft) == 1) {
    MoveCursor(nameCursor - 1);
  } else if (KeyReleased(kKeyRight) == 1) {
    MoveCursor(nameCursor + 1);
  }
  if (KeyReleased(kKeyAction) == 1) Confirm();
  PrintTextCommand(DynString("_"), static_cast<f32>(5 + 15 * nameCursor),
                   static_cast<f32>(TableRowY(editedEntry) + 2));
}

}  // namespace game
