// The renderer's entry for geometry given in floats: the 2D device draws its rotated sprites as
// 4-vertex fans (x, y, u, v) and its textured polygons as fans of 8-float vertices; the 3D engine
// records its meshes as triangle lists into draw batches. Each vertex is, in order: x, y; z when
// hasZ; nx, ny (and nz with hasZ) when lit; u, v always; r, g, b, a when coloured or
// hasColourSlot. A flag is set when nonzero.
//
// Floats become 16.16 as at every float interface of the renderer; fields the flags leave out are
// zero, except the colour, which is 1.0 when the mesh is not coloured. The fourth colour float is
// never read.
#pragma once

#include "core/types.h"

// OpenGL's primitive numbers; any other mode builds no triangles.
constexpr i32 kMeshTriangles = 4;
constexpr i32 kMeshTriangleStrip = 5;
constexpr i32 kMeshTriangleFan = 6;

// SoftRenderContext::SubmitFloatMesh on the runtime's context. A count below 1 gives an empty
// mesh.
void SubmitFloatMesh(i32 mode, i32 count, const f32* data, u32 hasZ, u32 lit, u32 textured,
                     u32 coloured, u32 hasColourSlot);

// Floats per vertex for the given layout flags (4 to 12).
i32 FloatMeshVertexFloats(u32 hasZ, u32 lit, u32 coloured, u32 hasColourSlot);
