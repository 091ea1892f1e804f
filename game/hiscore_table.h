// The high-score list in memory: the default entries and the sort that keeps it ascending by
// score (entry 0 the lowest).
#pragma once

#include "core/record_sort.h"
#include "core/types.h"
#include "game/game_records.h"

namespace game {

// The runtime's record sort over first..last inclusive; without a compare function ascending by
// score. The order of equal scores follows the runtime's sort and is not otherwise defined.
void SortHiscores(HiscoreEntry* first, HiscoreEntry* last, RecordCompare<HiscoreEntry> compare);
// Sorts the whole global list when it holds more than one entry.
void SortHiscoreList();
// Appends the five default entries from their data block, then sorts the list.
void LoadDefaultHiscores();

}  // namespace game
