// "Config.dat": the music volume as 4 bytes, an IEEE 754 single-precision float, little endian,
// with no header. Read once at start-up, written when the player leaves through the exit button.
// Both go through file channel 0; a file that cannot be read or written never ends the program.
#pragma once

#include "core/types.h"

namespace game {

constexpr i32 kConfigBytes = 4;

// Takes the music volume from the file when it opens. A file shorter than 4 bytes, or one holding
// a volume that is not a finite number, is damaged: it is kept as "Config.dat.damaged", the
// volume becomes (or stays) the default and the file is written anew. A finite volume is taken as
// it stands; bytes after the first 4 are ignored.
void LoadConfig();
// Writes the music volume; when the file cannot be created nothing is written.
void SaveConfig();

}  // namespace game
