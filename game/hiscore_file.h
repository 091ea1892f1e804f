// "Hiscores.dat": the high-score list, lowest score first, with no header, count or trailer. Each
// entry is a score (i32, little endian), the name's bytes followed by CR LF, and the level as
// shown (the low 16 bits, little endian, read back sign-extended). The default list makes a
// 65-byte file. Read at start-up, written after a name is entered, through file channel 0.
#pragma once

#include "core/types.h"

namespace game {

// Reads `count` entries into the list and sorts it. A file that cannot be opened is created from
// the current list. A damaged file (too short, or a name line that is not ended within the
// channel's line length) changes nothing in the list; it is kept as "Hiscores.dat.damaged" and
// written anew from the list.
void LoadHiscores(i32 count);
// Writes the first `count` entries; when the file cannot be created nothing is written.
void SaveHiscores(i32 count);

}  // namespace game
