// The grid path planner: one search over a rectangular grid of cell costs. `Planner` holds the
// request, a float copy of the grid normalised to step costs, the node pool, the open list and the
// closed set, and the result; `AStarPlanner` carries out a weighted best-first search over them.
//
// Calling order: Setup, Reset, Search, read the result, Clear; further searches repeat Reset,
// Search, Clear, or start again with Setup. Nothing is allocated between Setup and Clear.
#pragma once

#include "core/types.h"
#include "path/fixed_deque.h"
#include "path/node_factory.h"
#include "path/node_hash_table.h"
#include "path/search_node.h"

struct PathRequest {
  i32 startX = 0, startY = 0;
  i32 goalX = 0, goalY = 0;
  u8 diagonalCostSqrt2 = 0;  // a diagonal step costs the entered cell times sqrt(2), else times 1
  u8 diagonalsAllowed = 0;   // the four diagonal neighbours are expanded too
  i32 nodeCount = 0;         // size of the node pool; 0 means width * height
  i32 openCapacity = 0;      // slots of the open list; 0 means width * height
  i32 hashBits = 0;          // bucket bits of the closed set (see NodeHashTable::Resize)
  f32 heuristicWeight = 0;   // W: 0 orders by cost alone, 0.5 by cost plus distance, 1 by distance
  i32 width = 0, height = 0;
  const f64* costs = nullptr;  // width * height costs, cell (x, y) at y * width + x; <= 0 blocks
};

class Planner {
 public:
  // Step cost of a blocked cell in `grid`.
  static constexpr f32 kBlocked = -1.0f;

  NodeFactory pool;
  PathRequest request;
  f32* grid = nullptr;  // cost of entering each cell: kBlocked, or 1.0 to 2.0
  // Per cell, laid out like `grid`: its node while that node is in the open list, else null. A
  // cell has at most one node, so this answers "is the cell open, and with which node" without
  // scanning the open list, which grows with the grid.
  Node** openNodes = nullptr;
  FixedDeque<Node*> openList;  // sorted by f, the highest at the front, the lowest at the back
  NodeHashTable closedSet;
  Node* goal = nullptr;  // the goal's node once the search has reached it

  Planner() = default;
  virtual ~Planner();
  Planner(const Planner&) = delete;
  Planner& operator=(const Planner&) = delete;

  // Validates the request, builds the grid and sizes the containers. False, with the planner
  // unchanged, for a start or goal outside the grid, a start equal to the goal, a grid or pool
  // too large to count, or negative sizes; false after building the grid when no cell is
  // passable (a new Setup is then needed).
  bool Setup(const PathRequest& newRequest);
  virtual void Reset();
  // Runs the search to its end; always true. `goal` then tells whether a path was found.
  virtual bool Search() = 0;
  // Gives every node of the search back to the pool and empties both lists.
  virtual void Clear();
  // Frees the grid (and the open-node index) and forgets the request.
  void ReleaseGrid();

  f32 PathCost() const { return goal != nullptr ? goal->g : -1.0f; }
  i32 PathLength() const;
  u32 OpenCount() const { return openList.Count(); }
  u32 ClosedCount() const { return closedSet.Count(); }

 protected:
  i64 CellIndex(i32 x, i32 y) const { return static_cast<i64>(y) * request.width + x; }
  i64 CellCount() const { return static_cast<i64>(request.width) * request.height; }
};

class AStarPlanner : public Planner {
 public:
  // Puts the start node into the open list (when the pool has one to give).
  void Reset() override;
  bool Search() override;

 private:
  // Offers cell (nx, ny) at cost g reached from `from` to the open list.
  void Visit(Node* from, i32 nx, i32 ny, f32 g);
  // Sets the node's parent, cell, cost and key, and files it into the open list.
  void Open(Node* node, Node* from, i32 nx, i32 ny, f32 g);
  // The open-list index of the first node whose f is not above f: where a node of that f goes.
  u32 FirstNotAbove(f32 f) const;
  // The open-list index of a node in the open list.
  u32 OpenIndexOf(const Node* node) const;
  // Puts the node into the open list at index i and records whether it is there.
  void InsertOpen(u32 i, Node* node);
};
