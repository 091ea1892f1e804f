// The rule by which a part's source vertices form triangles, shared by the batch builder and the
// normal pass so that both see the same triangles. A part starts as a triangle list; a separator
// entry (by its own colour code) starts a new run of its kind and drops corners left over. In a
// list every three vertices make a triangle; in a strip each new vertex makes a triangle with the
// two before it; in a fan with the run's first vertex and the one before it.
#pragma once

#include "core/grow_vector.h"
#include "core/types.h"
#include "scene3d/mesh_model.h"

// Calls emit(a, b, c, flipped) for every triangle in order, with the source indices of its
// corners: strip triangles come as (P, Q, R), (Q, R, S), (R, S, T), ... with every second one
// flipped, meaning its winding is the reverse of (a, b, c), so (b, a, c) keeps the strip's facing.
template <class Emit>
void ForEachRunTriangle(const GrowVector<MeshVertex>& source, Emit&& emit) {
  u32 mode = kListSeparator;
  i32 corner[3] = {};
  i32 corners = 0;
  u32 parity = 0;
  for (i32 j = 0; j < source.count; ++j) {
    const u32 colour = source[j].colour;
    if (IsSeparatorCode(colour)) {
      mode = colour;
      corners = 0;
      parity = 0;
      continue;
    }
    corner[corners++] = j;
    if (corners < 3) continue;
    emit(corner[0], corner[1], corner[2], mode == kStripSeparator && parity == 1);
    parity ^= 1u;
    if (mode == kListSeparator) {
      corners = 0;
      continue;
    }
    if (mode == kStripSeparator) corner[0] = corner[1];  // a fan keeps its first vertex
    corner[1] = corner[2];
    corners = 2;
  }
}
