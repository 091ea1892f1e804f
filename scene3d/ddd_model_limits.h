// The limits every 3D model is held to, binary or "DDDA" text, read or written. Model files come
// from memory cards, packs and the internet, so the readers refuse a model beyond them rather than
// let a small file ask for gigabytes; the writer refuses to save such a model, so that every model
// it saves loads again; and a scene's models share the storage of one model.
#pragma once

#include "core/types.h"

// The largest count of any one list of a model: colours, texture coordinates, frames, a frame's
// vertices, polygons, a polygon's corners.
inline constexpr i32 kMaxDddCount = 1 << 22;
// The largest mesh, in vertices of storage (about 80 MB before Build turns it into triangles).
inline constexpr i64 kMaxDddMeshVertices = i64{1} << 20;

inline bool DddCountFits(i64 count) { return count >= 0 && count <= kMaxDddCount; }

// The storage a mesh's frames take, counted as the mesh holds them: every frame at least the
// entries a part's vertex list starts with, however few vertices it has.
class DddStorageBudget {
 public:
  // Counts `frames` frames of `vertices` vertices each: false, from then on, once the storage
  // passes kMaxDddMeshVertices or the frame count does not fit.
  bool Add(i64 frames, i64 vertices);
  // Whether `frames` frames fit the limit even when they are empty.
  static bool FramesFit(i64 frames);

 private:
  i64 used_ = 0;
  bool over_ = false;
};
