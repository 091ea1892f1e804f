// The path command: builds the request from the cost array, runs the A* planner on its own frame
// and copies the path out.
#include "path/path_command.h"

#include <new>
#include <vector>

#include "core/runtime_error.h"
#include "path/planner.h"

namespace {

constexpr i32 kMinHashBits = 8;
constexpr i32 kMaxHashBits = 24;

// About one closed-set bucket per cell (at least 2^8, at most 2^24), so that the chains stay
// short on large grids too. The hash only decides which chain a node is on, so the paths found
// do not depend on it.
i32 HashBitsFor(i64 cells) {
  i32 bits = kMinHashBits;
  while (bits < kMaxHashBits && (i64{1} << bits) < cells) bits += 2;
  return bits;
}

f32 ClampWeight(f32 weight) {
  if (!(weight < 1.0f)) return 1.0f;
  return weight < 0.0f ? 0.0f : weight;
}

// Writes the n cells of the parent chain from the goal back to the start into rows n - 1 to 0.
void WritePath(const Node* goal, i32 n, NumArray<f32>& path) {
  path.Redim(n, 2, 0, 0);
  for (const Node* node = goal; node != nullptr; node = node->parent) {
    --n;
    *NumArrayAt4(path, n, 0, 0, 0) = static_cast<f32>(node->x);
    *NumArrayAt4(path, n, 1, 0, 0) = static_cast<f32>(node->y);
  }
}

i32 FindPath(NumArray<f32>& costs, NumArray<f32>& path, PathRequest request) {
  const i64 cells = i64{request.width} * request.height;
  // A one-dimensional array has no height; a negative size or a grid beyond what the array
  // holds is no grid either.
  if (request.width < 1 || request.height < 1 || costs.data == nullptr ||
      cells > costs.ElementCount())
    return 0;
  const std::vector<f64> costCopy(costs.data, costs.data + cells);
  request.costs = costCopy.data();
  request.hashBits = HashBitsFor(cells);

  AStarPlanner planner;
  if (!planner.Setup(request)) return 0;
  planner.Reset();
  planner.Search();
  if (planner.goal == nullptr) {
    path.Redim(0, 0, 0, 0);
    return 0;
  }
  WritePath(planner.goal, planner.PathLength(), path);
  planner.Clear();
  return path.dim[0];
}

}  // namespace

i32 FindPathCommand(NumArray<f32>& costs, NumArray<f32>& path, f32 weight, i32 startX, i32 startY,
                    i32 goalX, i32 goalY) {
  PathRequest request;
  request.startX = startX;
  request.startY = startY;
  request.goalX = goalX;
  request.goalY = goalY;
  request.diagonalCostSqrt2 = 1;
  request.diagonalsAllowed = 0;
  request.heuristicWeight = ClampWeight(weight);
  request.width = costs.dim[0];
  request.height = costs.dim[1];
  try {
    return FindPath(costs, path, request);
  } catch (const std::bad_alloc&) {
    // The grid, the pool and the open list are sized from the cost array: a grid too large for
    // memory is the runtime's "no storage" error, as for the arrays themselves.
    FatalError(kErrStorage);
  }
}
