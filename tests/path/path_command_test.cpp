// The path command: the rows it writes, the requests it refuses without touching the path array,
// the weight's clamp, and paths on random grids checked against an independent Dijkstra search.
#include "path/path_command.h"

#include <cmath>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "tests/path/reference_dijkstra.h"

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
    std::vector<f32> rows;  // x, y of each row; empty: no path
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
    EXPECT_EQ(static_cast<i32>(c.rows.size() / 2), n) << c.width << "x" << c.height << " w " << c.weight;
    EXPECT_EQ(c.untouched ? std::vector<f32>(6, 7) : c.rows, Rows(path));
  }
}

// The cost of the returned path, or -1 when it is not a path of orthogonal steps over passable
// cells from start to goal.
double CheckedCost(NumArray<f32>& path, const std::vector<double>& steps, i32 width, i32 start, i32 goal) {
  double cost = 0;
  i32 at = start;
  for (i32 i = 0; i < path.dim[0]; ++i) {
    const i32 x = static_cast<i32>(*path.At(i, 0)), y = static_cast<i32>(*path.At(i, 1));
    const i32 cell = y * width + x;
    const bool adjacent = std::abs(x - at % width) + std::abs(y - at / width) == (i == 0 ? 0 : 1);
    const bool inside = x >= 0 && x < width && cell >= 0 && cell < static_cast<i32>(steps.size());
    if (!adjacent || !inside || (i > 0 && steps[cell] < 0)) return -1;
    cost += i > 0 ? steps[cell] : 0;
    at = cell;
  }
  return at == goal ? cost : -1;
}

TEST(FindPathCommand, CheapestOnRandomGridsWhereTheWeightAllows) {
  std::mt19937 rng(21);
  for (int round = 0; round < 300; ++round) {
    const i32 width = 1 + rng() % 128, height = 2 + rng() % 127, cells = width * height;
    const u32 blockedPercent = rng() % 45;
    std::vector<f32> values(cells);
    // Sixteenths are exact in float sums, so equal costs compare equal.
    for (f32& v : values) v = rng() % 100 < blockedPercent ? -static_cast<f32>(rng() % 2) : 1 + rng() % 16;
    values[rng() % cells] = 16;
    const i32 start = rng() % cells, goal = (start + 1 + rng() % (cells - 1)) % cells;
    const f32 weights[] = {0.0f, 0.5f, 0.25f, 0.75f, 1.0f};
    const f32 weight = weights[round % 5];
    NumArray<f32> costs, path;
    Fill(costs, width, height, values);
    const i32 n = FindPathCommand(costs, path, weight, start % width, start / width, goal % width, goal / width);
    const double best = reference::DijkstraCost(values.data(), width, height, start, goal);
    if (best < 0) {
      EXPECT_EQ(0, n + path.dim[0]) << round;
      continue;
    }
    ASSERT_EQ(n, path.dim[0]);
    const double cost = CheckedCost(path, reference::StepCosts(values.data(), cells), width, start, goal);
    if (weight <= 0.5f)
      EXPECT_EQ(best, cost) << "round " << round;
    else
      EXPECT_LE(best, cost) << "round " << round;
  }
}

}  // namespace
