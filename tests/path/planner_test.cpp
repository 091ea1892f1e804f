// The planner: request checks, costs of found paths (reopening included), the neighbour order,
// the weight's clamp, a search repeated after Clear, and searches whose pool or open list runs out.
#include <bit>
#include <cmath>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

#include "path/planner.h"

namespace {

PathRequest Request(const std::vector<f64>& costs, i32 width, i32 sx, i32 sy, i32 gx, i32 gy, f32 w) {
  PathRequest r;
  r.startX = sx, r.startY = sy, r.goalX = gx, r.goalY = gy;
  r.hashBits = 8;
  r.heuristicWeight = w;
  r.width = width;
  r.height = static_cast<i32>(costs.size()) / width;
  r.costs = costs.data();
  return r;
}

TEST(AStarPlanner, PathCostsAndRepeatedSearch) {
  const f64 nan = std::numeric_limits<f64>::quiet_NaN(), inf = std::numeric_limits<f64>::infinity();
  const struct {
    std::vector<f64> costs;
    i32 width, sx, sy, gx, gy;
    f32 weight, cost;  // -1: no path
  } rows[] = {
      {std::vector<f64>(20, 3.0), 5, 0, 0, 4, 3, 0.5f, 14.0f},  // equal cells cost 2 each
      {{1, 1, 0}, 3, 0, 0, 2, 0, 0.5f, -1.0f},                  // blocked goal
      {{0, 1, 1}, 3, 0, 0, 2, 0, 0.5f, 4.0f},                   // a blocked start is left
      {{1, nan, 1}, 3, 0, 0, 2, 0, 0.5f, -1.0f},
      {{1, -inf, 1, inf}, 4, 0, 0, 2, 0, 0.5f, -1.0f},
      {{1, 1e300, 1}, 3, 0, 0, 2, 0, 0.5f, 3.0f},  // beyond the float range: the dearest cell
      // (4, 0) is closed by way of (1, 0) before the cheaper way along the bottom row reopens it.
      {{1, 4, 1, 0, 3, 2, 1, 1, 3, 1}, 5, 0, 0, 4, 0, 0.6f, 8.75f},
  };
  for (const auto& row : rows) {
    AStarPlanner planner;
    ASSERT_TRUE(planner.Setup(Request(row.costs, row.width, row.sx, row.sy, row.gx, row.gy, row.weight)));
    for (int pass = 0; pass < 2; ++pass) {
      planner.Reset();
      EXPECT_TRUE(planner.Search());
      EXPECT_EQ(row.cost, planner.PathCost()) << row.width << " wide, pass " << pass;
      planner.Clear();
      EXPECT_EQ(0u, planner.pool.used);
    }
  }
}

TEST(AStarPlanner, NeighbourOrderAndDiagonalCost) {
  const std::vector<f64> costs(9, 1.0);
  for (const u8 diagonals : {0, 1}) {
    AStarPlanner planner;
    PathRequest r = Request(costs, 3, 1, 1, 2, 2, 0.5f);
    r.diagonalsAllowed = r.diagonalCostSqrt2 = diagonals;
    ASSERT_TRUE(planner.Setup(r));
    planner.Reset();
    planner.Search();
    // The first expansion takes nodes 1 on from the pool, one per neighbour in visiting order.
    const std::vector<std::pair<i32, i32>> order =
        diagonals ? std::vector<std::pair<i32, i32>>{{0, 0}, {1, 0}, {2, 0}, {2, 1}, {0, 1}, {0, 2}, {1, 2}, {2, 2}}
                  : std::vector<std::pair<i32, i32>>{{1, 0}, {2, 1}, {0, 1}, {1, 2}};
    for (size_t i = 0; i < order.size(); ++i)
      EXPECT_EQ(order[i], std::pair(planner.pool.nodes[i + 1]->x, planner.pool.nodes[i + 1]->y));
    EXPECT_EQ(diagonals ? 2.0f * std::bit_cast<f32>(0x3FB504F4u) : 4.0f, planner.PathCost());
  }
}

TEST(AStarPlanner, SetupRefusalsAndWeightClamp) {
  const std::vector<f64> costs{1, 1, 1, 1}, blocked{0, -1, 0, 0};
  const PathRequest good = Request(costs, 2, 0, 0, 1, 1, 0.5f);
  PathRequest bad[7] = {good, good, good, Request(blocked, 2, 0, 0, 1, 1, 0.5f), good, good, good};
  bad[0].goalX = bad[0].goalY = 0;  // start equal to goal
  bad[1].startX = 2;
  bad[2].goalY = -1;
  bad[4].width = bad[4].height = 65536;  // more cells than the pool can count
  bad[5].nodeCount = -1;
  bad[6].costs = nullptr;
  AStarPlanner planner;
  for (const PathRequest& r : bad) EXPECT_FALSE(planner.Setup(r)) << r.width << " " << r.startX;
  for (auto [asked, used] : {std::pair{-1.0f, 0.0f}, {5.0f, 1.0f}, {NAN, 1.0f}, {0.25f, 0.25f}}) {
    PathRequest r = good;
    r.heuristicWeight = asked;
    ASSERT_TRUE(planner.Setup(r));
    EXPECT_EQ(used, planner.request.heuristicWeight);
  }
}

TEST(AStarPlanner, ExhaustedPoolOrOpenListEndsSafely) {
  const std::vector<f64> costs(9, 1.0);
  AStarPlanner planner;
  PathRequest r = Request(costs, 3, 1, 1, 0, 0, 0.5f);
  r.nodeCount = 1;  // the start node only: every neighbour is skipped
  ASSERT_TRUE(planner.Setup(r));
  planner.Reset();
  planner.Search();
  EXPECT_EQ(nullptr, planner.goal);
  planner.Reset();  // no node left to start from
  EXPECT_EQ(0u, planner.OpenCount());
  r.nodeCount = 0;
  r.openCapacity = 2;  // turns away two of the start's four neighbours
  ASSERT_TRUE(planner.Setup(r));
  f32 firstCost = 0;
  for (int pass = 0; pass < 2; ++pass) {
    planner.Reset();
    planner.Search();
    if (pass == 0) firstCost = planner.PathCost();
    EXPECT_EQ(firstCost, planner.PathCost());
    planner.Clear();  // the nodes turned away come back too
    EXPECT_EQ(0u, planner.pool.used);
  }
}

}  // namespace
