// Turning a text model's lists into a MeshObject: one part per animation frame, in which every
// polygon becomes a fan separator followed by its corners, then the mesh's colour table. The
// model file's text path (LoadDddTextModel) reads a "DDDA" file and builds its mesh in one call.
#pragma once

#include "core/types.h"

class MeshObject;
struct DddTextReader;

// Builds the mesh from the reader's lists (left unchanged): 1 when built, 0 when the lists hold an
// index outside its list or make too large a mesh (text_model_reader.h); the mesh is then empty.
// The corners' texture v is the file's v negated; normals stay unknown (normalsValid 0).
i32 FinishLoad(DddTextReader* reader, MeshObject* mesh);

// Reads the text model `name` into the mesh: 1 on success. On failure prints "# read error" and
// the name, each on a line of its own, and leaves the mesh empty with its storage released.
i32 LoadDddTextModel(MeshObject* mesh, const char* name);
