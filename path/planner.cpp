// The planner's request check, the normalised grid, sizing of the containers, and the results.
#include "path/planner.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>

namespace {

// A cell's cost as the float the grid starts from: 0 for a blocked cell. Costs beyond the float
// range are held at its largest value (still passable, and the dearest), and a cost that is not
// a finite number blocks the cell rather than spreading NaN through every sum.
f32 CostAsFloat(f64 cost) {
  if (!std::isfinite(cost) || cost <= 0.0) return 0.0f;
  return cost > FLT_MAX ? FLT_MAX : static_cast<f32>(cost);
}

bool Inside(i32 x, i32 y, i32 width, i32 height) {
  return x >= 0 && x < width && y >= 0 && y < height;
}

}  // namespace

Planner::~Planner() {
  Planner::Clear();
  delete[] grid;
  delete[] openNodes;
}

bool Planner::Setup(const PathRequest& r) {
  if (!Inside(r.startX, r.startY, r.width, r.height) ||
      !Inside(r.goalX, r.goalY, r.width, r.height))
    return false;
  if (r.startX == r.goalX && r.startY == r.goalY) return false;
  // The pool and the open list count the cells in 32 bits.
  const i64 cells = i64{r.width} * r.height;
  if (cells > INT32_MAX || r.nodeCount < 0 || r.openCapacity < 0 || r.costs == nullptr)
    return false;

  // Nodes of an earlier search belong to the old grid: none may be searched on over the new one.
  Clear();
  if (grid != nullptr) ReleaseGrid();
  grid = new f32[cells];
  openNodes = new Node* [cells] {};
  f32 largest = 0.0f;
  for (i64 i = 0; i < cells; ++i) {
    const f32 value = CostAsFloat(r.costs[i]);
    grid[i] = value > 0.0f ? value : kBlocked;
    if (value > largest) largest = value;
  }
  if (largest <= 0.0f) return false;
  // Every passable cell costs 1.0 to 2.0 to enter: the dearest 2.0, the cheapest just above 1.0,
  // so the distance to the goal never overestimates the cost of reaching it.
  for (i64 i = 0; i < cells; ++i)
    if (grid[i] > 0.0f) grid[i] = grid[i] / largest + 1.0f;

  pool.Reserve(static_cast<u32>(r.nodeCount != 0 ? r.nodeCount : cells));
  openList.Allocate(static_cast<u32>(r.openCapacity != 0 ? r.openCapacity : cells));
  closedSet.Resize(static_cast<u32>(r.hashBits));
  request = r;
  goal = nullptr;
  f32& weight = request.heuristicWeight;
  if (weight < 0.0f) weight = 0.0f;
  if (!(weight <= 1.0f)) weight = 1.0f;  // NaN too: some weight must order the search
  return true;
}

void Planner::Reset() { goal = nullptr; }

void Planner::Clear() {
  // Every node handed out belongs to this search, also those a full open list turned away (they
  // are in neither list), so all of them go back, not only those the lists hold.
  openList.Clear();
  closedSet.Clear();
  if (openNodes != nullptr) std::fill(openNodes, openNodes + CellCount(), nullptr);
  pool.Release(pool.used);
  goal = nullptr;
}

void Planner::ReleaseGrid() {
  delete[] grid;
  grid = nullptr;
  delete[] openNodes;
  openNodes = nullptr;
  request = PathRequest{};
  goal = nullptr;
}

i32 Planner::PathLength() const {
  i32 length = 0;
  for (const Node* n = goal; n != nullptr; n = n->parent) ++length;
  return length;
}
