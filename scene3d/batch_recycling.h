// The renderer's draw batches that meshes own. The renderer never releases a batch, so the 3D
// engine recycles them: a mesh that the device drops (an emptied or reloaded slot, a rebuilt mesh
// with fewer frames) gives its batches back to one free list beside the renderer's one table, and
// every Build takes from that list before it asks the renderer for new batches. A program that
// loads a model into a slot every frame thus keeps the batch table at a steady size.
//
// A new render target discards the renderer's whole table (start-up only, in a running program);
// the free list notices that the table has shrunk and forgets the indices it held.
#pragma once

#include "core/grow_vector.h"
#include "core/types.h"

// Gives a mesh exactly `parts` batches in frameBatches: the ones it owns first (those past
// `parts` go back to the free list; a list that names batches of a discarded table is dropped),
// then recycled ones, then new ones.
void AssignFrameBatches(GrowVector<i32>& frameBatches, i32 parts);
// Gives every batch of the list back to the free list and empties the list: the mesh that held it
// is being dropped.
void ReleaseFrameBatches(GrowVector<i32>& frameBatches);
