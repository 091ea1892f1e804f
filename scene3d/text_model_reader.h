// The "DDDA" text model reader. A text model is the keyword "DDDA", a version (at most 1.1; only
// 1.1 gives vertex normals), the texture-coordinate pairs, the polygons (colour, then a vertex
// index and a texture-coordinate index per corner) and the animation frames (vertex positions,
// with normals in 1.1). The reader fills the lists of a DddTextReader; text_model_mesh.h turns
// them into a MeshObject.
//
// Model files come from memory cards, packs and the internet, so the reader refuses what it
// cannot read soundly: a count beyond the model limits (ddd_model_limits.h), a count whose
// elements the rest of the data cannot hold (a file cut short still reads its last few missing
// values as 0), an index outside its list, or a model whose mesh would pass the storage limit.
#pragma once

#include "core/grow_vector.h"
#include "core/types.h"
#include "scene3d/text_model_tokens.h"

struct DddTextPolygon {
  i32 red = 0, green = 0, blue = 0;  // as written; the mesh uses their low 8 bits
  // One entry per corner. Sized to the polygon's corner count (step 1) rather than to the usual
  // 512 entries, so that a model of many small polygons takes memory in proportion to its size.
  GrowVector<i32> vertexIndices{1, 1};
  GrowVector<i32> uvIndices{1, 1};
};

struct DddTextUv {
  f32 u = 0, v = 0;
};

struct DddTextVertex {
  f32 x = 0, y = 0, z = 0;
  f32 nx = 0, ny = 0, nz = 0;  // 0 in models without normals
};

struct DddTextFrame {
  GrowVector<DddTextVertex> vertices{1, 1};  // sized to the frame's count, as the index lists
};

struct DddTextReader {
  char tokenBuffer[kDddTokenBufferBytes] = {};
  GrowVector<DddTextPolygon> polygons;
  GrowVector<DddTextUv> uvs;
  GrowVector<DddTextFrame> frames;
};

// Elements of a list that may be missing at the end of the data and read as zeros.
inline constexpr i32 kDddMissingElements = 256;

// Reads the model named `name` (a path, opened with the case-insensitive fallback, or a "mem://"
// name of a live block) into the reader's lists: 1 when read, 0 when refused (no file, not
// "DDDA", a version above 1.1 or not a number, or a model refused as above); refused models leave
// the lists empty.
i32 LoadDddText(DddTextReader* reader, const char* name);

// True when every index lies inside its list (vertex indices in every frame, texture-coordinate
// indices when there are pairs) and the mesh the lists make stays within the limit.
bool DddTextModelFits(const DddTextReader& reader);
// The vertices each frame of the model's mesh holds: a separator per polygon, one per corner.
i64 DddTextFrameVertices(const DddTextReader& reader);
