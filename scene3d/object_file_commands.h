// The 3D commands that save objects to model files (and load them).
#pragma once

#include "core/dyn_string.h"
#include "core/types.h"

// Writes mesh 0 of the slot's object to the named .ddd file: 1 when written, 0 when the slot is
// outside the table or holds no mesh, or the file could not be written (its message printed).
i32 SaveObjectCommand(const DynString& name, f32 slot);
