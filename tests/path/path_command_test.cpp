// The path command: the rows it writes, the requests it refuses without touching the path array,
// the weight's clamp, memory running out, and paths on random grids checked against an
// independent Dijkstra search.
#include "path/path_command.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "path/planner.h"
#include "bench/reference_dijkstra.h"
#include "tests/path/allocation_limit.h"
#include "tests/support/test_support.h"

namespace {

void Fill(NumArray<f32>& costs, i32 width, i32 height, const std::vector<f32>& values) {
  costs.Redim(width, height);
  std::copy(values.begin(), values.end(), costs.data);
}

std::vector<f32> Rows(NumArray<f32>& path) {
  std::vector<f32> out;
  for (i32 i = 0; i < path.dim[0]; ++i) out.insert(out.end(), {*path.At(i, 0), *path.At(i, 1)});
  return out;
}

TEST(FindPathCommand, RowsWeightsAndRefusals) {
  // A dear middle row: by distance alone the path goes straight through it, by cost around it.
  const std::vector<f32> detour{1, 1, 1, 1, 1, 1, 16, 16, 16, 1, 2, 2, 2, 2, 2};
  const struct {
    i32 width, height;
    std::vector<f32> costs;
    f32 weight;
    i32 sx, sy, gx, gy;
    std::vector<f32> rows;  // x, y of each row; when there are none, whether the array is untouched
    bool untouched;
  } cases[] = {
      {2, 1, {1, 1}, 0.5f, 0, 0, 1, 0, {0, 0, 1, 0}, false},
      {2, 2, {1, 1, 1, 1}, 0.5f, 0, 0, 1, 1, {0, 0, 1, 0, 1, 1}, false},  // (1, 0) comes first
      {5, 3, detour, 5.0f, 0, 1, 4, 1, {0, 1, 1, 1, 2, 1, 3, 1, 4, 1}, false},
      {5, 3, detour, NAN, 0, 1, 4, 1, {0, 1, 1, 1, 2, 1, 3, 1, 4, 1}, false},
      {5, 3, detour, -2.0f, 0, 1, 4, 1, {0, 1, 0, 0, 1, 0, 2, 0, 3, 0, 4, 0, 4, 1}, false},
      {3, 1, {1, 1, 0}, 0.5f, 0, 0, 2, 0, {}, false},  // blocked goal: emptied
      {2, 2, {1, 1, 1, 1}, 0.5f, 1, 1, 1, 1, {}, true},
      {2, 2, {1, 1, 1, 1}, 0.5f, 0, 0, 2, 0, {}, true},
      {4, 0, {1, 1, 1, 1}, 0.5f, 0, 0, 1, 0, {}, true},  // one dimension only
  };
  for (const auto& c : cases) {
    NumArray<f32> costs, path;
    Fill(costs, c.width, c.height, c.costs);
    Fill(path, 3, 2, {7, 7, 7, 7, 7, 7});
    const i32 n = FindPathCommand(costs, path, c.weight, c.sx, c.sy, c.gx, c.gy);
    EXPECT_EQ(static_cast<i32>(c.rows.size() / 2), n)
        << c.width << "x" << c.height << " w " << c.weight;
    EXPECT_EQ(c.untouched ? std::vector<f32>(6, 7) : c.rows, Rows(path));
  }
}

// Memory running out at any allocation of the command (the cost copy, the grid, the pool and its
// nodes, the open list, the buckets) is the runtime's storage error, with nothing freed twice or
// lost (the sanitizer build sees both); with enough memory the same call finds its path.
TEST(FindPathCommand, MemoryRunningOutIsTheStorageError) {
  NumArray<f32> costs, path;
  Fill(costs, 2, 2, {1, 1, 1, 1});
  i32 allowed = 0;
  for (;; ++allowed) {
    ASSERT_LT(allowed, 100) << "the command never found its path";
    ScopedFatalHook hook;
    i32 found = -1;
    try {
      const ScopedAllocationLimit limit(allowed);
      found = FindPathCommand(costs, path, 0.5f, 0, 0, 1, 1);
    } catch (const FatalEndForTests& end) {
      EXPECT_EQ(7.0f, end.code) << allowed << " allocations";
    }
    if (found >= 0) {
      EXPECT_EQ(3, found);
      break;
    }
  }
  EXPECT_GE(allowed, 12);  // every allocation above was met
}

// The cost of a path of orthogonal steps over passable cells from cell `start` to cell `goal`,
// the start's own cell not paid for; -1 for any other rows.
double PathCost(const std::vector<f32>& xy, const std::vector<double>& enter, i32 width, i32 start,
                i32 goal) {
  double cost = 0;
  i32 at = start;
  for (size_t i = 0; i < xy.size(); i += 2) {
    const i32 x = static_cast<i32>(xy[i]), y = static_cast<i32>(xy[i + 1]), cell = y * width + x;
    const i32 stride = std::abs(x - at % width) + std::abs(y - at / width);
    if (x < 0 || x >= width || y < 0 || cell >= static_cast<i32>(enter.size())) return -1;
    if (stride != (i == 0 ? 0 : 1) || (i > 0 && enter[cell] < 0)) return -1;
    cost += i > 0 ? enter[cell] : 0;
    at = cell;
  }
  return xy.empty() || at != goal ? -1 : cost;
}

TEST(FindPathCommand, CheapestOnRandomGridsWhereTheWeightAllows) {
  std::mt19937 rng(21);
  for (int round = 0; round < 300; ++round) {
    const i32 width = 1 + rng() % 128, height = 2 + rng() % 127, cells = width * height;
    const u32 blocked = rng() % 45;  // percent
    std::vector<f32> values(cells);
    // Sixteenths add up exactly in floats, so equal costs compare equal.
    for (f32& v : values) v = rng() % 100 < blocked ? -static_cast<f32>(rng() % 2) : 1 + rng() % 16;
    values[rng() % cells] = 16;
    const i32 start = rng() % cells, goal = (start + 1 + rng() % (cells - 1)) % cells;
    const i32 sx = start % width, sy = start / width, gx = goal % width, gy = goal / width;
    const f32 weight = std::array{0.0f, 0.5f, 0.25f, 0.75f, 1.0f}[round % 5];
    NumArray<f32> costs, path;
    Fill(costs, width, height, values);
    const i32 n = FindPathCommand(costs, path, weight, sx, sy, gx, gy);
    const std::vector<f32> rows = Rows(path);
    ASSERT_EQ(static_cast<size_t>(n) * 2, rows.size());
    const double best = reference::DijkstraCost(values.data(), width, height, start, goal);
    const double cost =
        PathCost(rows, reference::StepCosts(values.data(), cells), width, start, goal);
    // Up to weight 0.5 the path is a cheapest one; above, it is one no cheaper than Dijkstra's.
    EXPECT_EQ(best, weight <= 0.5f || best < 0 ? cost : std::min(best, cost)) << "round " << round;
    // The command sizes the closed set from the grid; the smallest table finds the same path.
    const std::vector<f64> asDoubles(values.begin(), values.end());
    AStarPlanner planner;
    const PathRequest request{
        sx, sy, gx, gy, 1, 0, 0, 0, 8, weight, width, height, asDoubles.data()};
    ASSERT_TRUE(planner.Setup(request));
    planner.Reset();
    planner.Search();
    std::vector<f32> planned;
    for (const Node* p = planner.goal; p != nullptr; p = p->parent)
      planned.insert(planned.begin(), {f32(p->x), f32(p->y)});
    EXPECT_EQ(rows, planned) << "round " << round;
  }
}

}  // namespace
