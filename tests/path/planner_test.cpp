// The planner: costs of found paths (reopening included), the neighbour order, a search repeated
// after Clear, requests refused, searches whose pool or open list runs out, and a Setup that runs
// out of memory.
#include "path/planner.h"

#include <bit>
#include <cmath>
#include <new>
#include <vector>

#include <gtest/gtest.h>

#include "tests/path/allocation_limit.h"

namespace {

TEST(AStarPlanner, PathCostsAndRepeatedSearch) {
  const std::vector<f64> nine(9, 1.0);
  const struct {
    std::vector<f64> costs;
    i32 width, gx, gy;
    f32 weight, cost;  // from (0, 0); -1: no path
    i32 nodeCount = 0, openCapacity = 0;
  } rows[] = {
      {std::vector<f64>(20, 3.0), 5, 4, 3, 0.5f, 14.0f},  // 7 steps into equal cells: 2 each
      {{0, 1, 1}, 3, 2, 0, 0.5f, 4.0f},                   // a blocked start is left all the same
      {{1, NAN, 1, INFINITY, INFINITY, 1}, 3, 2, 0, 0.5f, -1.0f},
      {{1, 1e300, 1}, 3, 2, 0, 0.5f, 3.0f},  // beyond the float range: the dearest cell, not a wall
      // A NaN weight orders by distance alone, as 1 does: the dearer way (by (1, 0)), generated
      // first at the same distance, reaches the goal first and is kept.
      {{3, 10, 5, 5}, 2, 1, 1, NAN, 3.5f},
      // (4, 0) is closed by way of (1, 0) before the cheaper way along row 1 reopens it.
      {{1, 4, 1, 0, 3, 2, 1, 1, 3, 1}, 5, 4, 0, 0.6f, 8.75f},
      {nine, 3, 2, 2, 0.5f, -1.0f, 1},    // the start node only: every neighbour is skipped
      {nine, 3, 2, 2, 0.5f, -1.0f, 0, 2},  // a full open list turns nodes away, and loses the goal
  };
  for (const auto& row : rows) {
    AStarPlanner planner;
    const i32 height = static_cast<i32>(row.costs.size()) / row.width;
    ASSERT_TRUE(planner.Setup({0, 0, row.gx, row.gy, 0, 0, row.nodeCount, row.openCapacity, 8,
                               row.weight, row.width, height, row.costs.data()}));
    f32 costs[2];
    for (f32& cost : costs) {
      planner.Reset();
      EXPECT_TRUE(planner.Search());
      cost = planner.PathCost();
      planner.Clear();  // also the nodes a full open list turned away go back
      EXPECT_EQ(0u, planner.pool.used);
    }
    EXPECT_EQ(row.cost, costs[0]) << row.width << " wide";
    EXPECT_EQ(costs[0], costs[1]);
  }
}

TEST(AStarPlanner, NeighbourOrderAndDiagonalCost) {
  const std::vector<f64> costs(9, 1.0);
  const std::vector<std::pair<i32, i32>> orders[2] = {
      {{1, 0}, {2, 1}, {0, 1}, {1, 2}},
      {{0, 0}, {1, 0}, {2, 0}, {2, 1}, {0, 1}, {0, 2}, {1, 2}, {2, 2}}};
  for (const u8 diagonals : {0, 1}) {
    AStarPlanner planner;
    ASSERT_TRUE(
        planner.Setup({1, 1, 2, 2, diagonals, diagonals, 0, 0, 8, 0.5f, 3, 3, costs.data()}));
    planner.Reset();
    planner.Search();
    // The first expansion takes nodes 1 on from the pool, one per neighbour in visiting order.
    for (size_t i = 0; i < orders[diagonals].size(); ++i)
      EXPECT_EQ(orders[diagonals][i],
                std::pair(planner.pool.nodes[i + 1]->x, planner.pool.nodes[i + 1]->y));
    EXPECT_EQ(diagonals ? 2.0f * std::bit_cast<f32>(0x3FB504F4u) : 4.0f, planner.PathCost());
  }
}

TEST(AStarPlanner, SetupRefusalsAndResetWithoutAFreeNode) {
  const std::vector<f64> costs{1, 1, 1, 1}, blocked{0, -1, 0, 0};
  const PathRequest bad[] = {
      {0, 0, 1, 1, 0, 0, 0, 0, 8, 0.5f, 65536, 65536, costs.data()},  // more cells than i32 counts
      {0, 0, 1, 1, 0, 0, -1, 0, 8, 0.5f, 2, 2, costs.data()},
      {0, 0, 1, 1, 0, 0, 0, 0, 8, 0.5f, 2, 2, nullptr},
      {0, 0, 1, 1, 0, 0, 0, 0, 8, 0.5f, 2, 2, blocked.data()},
  };
  AStarPlanner planner;
  // A search left uncleared: its nodes are still in both lists.
  ASSERT_TRUE(planner.Setup({0, 0, 1, 1, 0, 0, 0, 0, 8, 0.5f, 2, 2, costs.data()}));
  planner.Reset();
  planner.Search();
  for (const PathRequest& r : bad) EXPECT_FALSE(planner.Setup(r)) << r.width;
  // The last refusal came after the grid was replaced: the old search's nodes went with it.
  EXPECT_EQ(std::pair(0u, 0u), std::pair(planner.OpenCount(), planner.ClosedCount()));
  planner.Reset();
  planner.Search();
  EXPECT_EQ(nullptr, planner.goal);
  ASSERT_TRUE(planner.Setup({0, 0, 1, 1, 0, 0, 1, 0, 8, 0.5f, 2, 2, costs.data()}));  // one node
  planner.Reset();
  planner.Reset();  // the pool's one node is in the open list already
  EXPECT_EQ(1u, planner.OpenCount());
}

// A Setup of a used planner that runs out of memory part way (at any of its allocations in turn)
// leaves a planner that a new Setup, a search and its destruction handle: no buffer is freed twice
// (the sanitizer build sees it).
TEST(AStarPlanner, SetupRunningOutOfMemoryLeavesAUsablePlanner) {
  const std::vector<f64> costs(9, 1.0);
  const PathRequest request{0, 0, 2, 2, 0, 0, 0, 0, 8, 0.5f, 3, 3, costs.data()};
  for (i32 allowed = 0;; ++allowed) {
    ASSERT_LT(allowed, 100) << "Setup never succeeded";
    AStarPlanner planner;
    ASSERT_TRUE(planner.Setup(request));
    try {
      const ScopedAllocationLimit limit(allowed);
      if (planner.Setup(request)) break;
    } catch (const std::bad_alloc&) {
    }
    ASSERT_TRUE(planner.Setup(request));
    planner.Reset();
    planner.Search();
    EXPECT_EQ(8.0f, planner.PathCost()) << allowed << " allocations";
  }
}

}  // namespace
