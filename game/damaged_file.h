// Keeping a damaged game file before the game writes its defaults over it, so that a player's
// scores or settings are never lost without a word.
#pragma once

namespace game {

// Renames the file to its name followed by ".damaged" (replacing an older one) and prints one line
// saying so; when it cannot be renamed, the line says that too. A name that is not a file on
// disk (nothing there, a folder, a pack entry) is left alone.
void KeepDamagedFile(const char* name);

}  // namespace game
