// The 3D commands that load objects from model and scene files and save them to model files.
#pragma once

#include "core/dyn_string.h"
#include "core/types.h"

// Fills the slot from the named model or scene: a file, a file whose name differs in letter case,
// or an entry of the general pack. A name that resolves to nothing leaves the slot as it was.
void LoadObjectCommand(const DynString& name, f32 slot);
// Writes mesh 0 of the slot's object to the named .ddd file: 1 when written, 0 when the slot is
// outside the table or holds no mesh, or the file could not be written (its message printed).
i32 SaveObjectCommand(const DynString& name, f32 slot);
