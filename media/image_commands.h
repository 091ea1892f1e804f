// The commands that load image files into the graphics device's slots. Names are resolved
// through the general file-resolver context (packs, case-insensitive names, memory files), so an
// image inside the program's pack loads like one beside it.
#pragma once

#include "core/dyn_string.h"
#include "core/types.h"

// Resolves name for a loader (memory results allowed) into path (kResolvedPathSize bytes);
// false when it does not resolve. Every graphics loader resolves this way.
bool ResolveImageName(const char* name, char* path);

// Empties the sprite, then loads the file into it with the device's transparent colour; an
// unresolvable name leaves the sprite empty.
void LoadSpriteFile(const DynString& name, i32 sprite);
// LoadSpriteFile, then the animation frame size when the sprite has a width.
void LoadAnimSpriteFile(const DynString& name, i32 sprite, i32 frameWidth, i32 frameHeight);
// Loads the background (screen slot 0) and draws it; when the file does not resolve or load,
// the background is removed and the picture cleared.
void LoadBackgroundCommand(const DynString& name);
