// The planner's search node: one grid cell reached during a search, with the node it was reached
// from, its cost so far and its ordering key. A plain record: the node pool leaves it
// uninitialised and the planner fills every field it later reads. `nextInBucket` chains the node
// into the closed set without any allocation of its own.
#pragma once

#include "core/types.h"

struct Node {
  Node* parent;        // the node this cell was reached from; null for the start
  i32 x;               // column of the cell
  i32 y;               // row of the cell
  f32 f;               // ordering key of the open list
  f32 g;               // cost of the best known way from the start to this cell
  Node* nextInBucket;  // next node on the same closed-set chain
};
