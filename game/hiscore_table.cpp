// The default high scores and the sort of the global list.
#include "game/hiscore_table.h"

#include "core/data_blocks.h"
#include "game/game_data.h"
#include "game/game_globals.h"

namespace game {

void SortHiscores(HiscoreEntry* first, HiscoreEntry* last, RecordCompare<HiscoreEntry> compare) {
  SortRecords(first, last, compare, [](const HiscoreEntry& entry) { return entry.score; });
}

void SortHiscoreList() {
  const i32 count = hiscores.dim[0];
  if (count > 1) SortHiscores(&hiscores.At(0), &hiscores.At(count - 1), nullptr);
}

void LoadDefaultHiscores() {
  RestoreDataBlock(DefaultHiscoreBlock());
  for (i32 i = 0; i < kHiscoreCount; ++i) {
    HiscoreEntry entry;
    ReadDataString(entry.name);
    ReadDataInt(&entry.level);
    ReadDataInt(&entry.score);
    hiscores.Append(entry);
  }
  SortHiscoreList();
}

}  // namespace game
