// The weighted A* search: the best node is taken from the back of the sorted open list, its
// neighbours are costed and filed by f = g + W * (h - g), and the goal is recognised when it is
// taken, not when it is first reached, so that a cheaper way found meanwhile still wins.
#include <bit>
#include <cstdlib>

#include "path/planner.h"

namespace {

struct Step {
  i32 dx, dy;
  bool diagonal;
};

// The fixed neighbour order; it decides which of several equal paths is returned.
constexpr Step kSteps[] = {{-1, -1, true}, {0, -1, false}, {1, -1, true},  {1, 0, false},
                           {-1, 0, false}, {-1, 1, true},  {0, 1, false},  {1, 1, true}};

// One unit in the last place above the float nearest to the square root of 2.
constexpr f32 kDiagonalFactor = std::bit_cast<f32>(0x3FB504F4u);

}  // namespace

void AStarPlanner::Reset() {
  Planner::Reset();
  if (grid == nullptr || request.width <= 0) return;  // not set up: nothing to search from
  Node* start = pool.Allocate();
  if (start == nullptr) return;
  start->parent = nullptr;
  start->x = request.startX;
  start->y = request.startY;
  start->g = 0.0f;
  start->f = 0.0f;
  InsertOpen(openList.Count(), start);
}

bool AStarPlanner::Search() {
  const f32 diagonalFactor = request.diagonalCostSqrt2 != 0 ? kDiagonalFactor : 1.0f;
  while (Node* current = openList.PopBack()) {
    openNodes[CellIndex(current->x, current->y)] = nullptr;
    if (current->x == request.goalX && current->y == request.goalY) {
      closedSet.Insert(current);
      goal = current;
      return true;
    }
    for (const Step& step : kSteps) {
      if (step.diagonal && request.diagonalsAllowed == 0) continue;
      const i32 nx = current->x + step.dx;
      const i32 ny = current->y + step.dy;
      if (nx < 0 || nx >= request.width || ny < 0 || ny >= request.height) continue;
      const f32 cost = grid[CellIndex(nx, ny)];
      if (cost == kBlocked) continue;
      Visit(current, nx, ny, current->g + (step.diagonal ? diagonalFactor * cost : cost));
    }
    closedSet.Insert(current);
  }
  return true;
}

void AStarPlanner::Visit(Node* from, i32 nx, i32 ny, f32 g) {
  NodeHashTable::Iterator closed(&closedSet);
  if (Node* node = closed.Find(nx, ny)) {
    if (g < node->g) {
      closed.Unlink();
      Open(node, from, nx, ny, g);
    }
    return;
  }
  if (Node* node = openNodes[CellIndex(nx, ny)]) {
    if (g < node->g) {
      openList.EraseAt(OpenIndexOf(node));
      Open(node, from, nx, ny, g);
    }
    return;
  }
  if (Node* node = pool.Allocate()) Open(node, from, nx, ny, g);
}

void AStarPlanner::Open(Node* node, Node* from, i32 nx, i32 ny, f32 g) {
  node->parent = from;
  node->x = nx;
  node->y = ny;
  node->g = g;
  const f32 h = static_cast<f32>(std::abs(request.goalX - nx) + std::abs(request.goalY - ny));
  // Single precision, in this order: t = h - g, t = W * t, f = g + t.
  f32 t = h - g;
  t = request.heuristicWeight * t;
  node->f = g + t;
  // Before every node of equal or lower f, so that among equal keys the earlier node is taken
  // first from the back.
  InsertOpen(FirstNotAbove(node->f), node);
}

u32 AStarPlanner::FirstNotAbove(f32 f) const {
  u32 lo = 0;
  u32 hi = openList.Count();
  while (lo < hi) {
    const u32 mid = lo + (hi - lo) / 2;
    if (f < openList.At(mid)->f)
      lo = mid + 1;
    else
      hi = mid;
  }
  return lo;
}

u32 AStarPlanner::OpenIndexOf(const Node* node) const {
  // The list is sorted by f, so the node lies in the run of nodes of its own f.
  const u32 count = openList.Count();
  for (u32 i = FirstNotAbove(node->f); i < count && openList.At(i)->f == node->f; ++i)
    if (openList.At(i) == node) return i;
  return count;
}

void AStarPlanner::InsertOpen(u32 i, Node* node) {
  // A full list turns the node away, and the search goes on without it.
  openNodes[CellIndex(node->x, node->y)] = openList.InsertAt(i, node) ? node : nullptr;
}
