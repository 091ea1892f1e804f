// The path command: a path between two cells of a grid whose cell costs a program keeps in a
// two-dimensional number array (x in dimension 0, y in dimension 1; a cost of 0 or less blocks
// the cell), written as rows of (x, y) from the start to the goal. Moves are orthogonal only.
#pragma once

#include "core/num_array.h"
#include "core/types.h"

// The weight trades speed for optimality: 0 searches by cost alone, 0.5 by cost plus distance
// (both find a cheapest path), 1 by distance alone; it is held to 0..1. Returns the number of
// cells on the path, start and goal included, into `path` as n rows of two columns. Returns 0
// with `path` untouched for an invalid request (a cell outside the grid, start equal to goal, a
// cost array of fewer than two dimensions or without a positive cost), and 0 with `path` emptied
// when the goal cannot be reached.
i32 FindPathCommand(NumArray<f32>& costs, NumArray<f32>& path, f32 weight, i32 startX, i32 startY,
                    i32 goalX, i32 goalY);
