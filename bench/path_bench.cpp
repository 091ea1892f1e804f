// The path command against Dijkstra's algorithm over a binary heap (the reference of the path
// tests) on the same grids, from one corner to the other: an open grid of equal costs, a maze-like
// grid whose walls force a serpentine path through every column, and a grid of scattered random
// costs, each 64, 256 and 1024 cells on a side. The path command runs with weight 0.5, which
// finds a cheapest path as Dijkstra's does. Each Dijkstra benchmark reports "ours/dijkstra", the
// path command's time divided by Dijkstra's (below 1: ours is faster); the pair's path command
// runs first.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "bench/reference_dijkstra.h"
#include "bench/time_loop.h"
#include "core/num_array.h"
#include "path/path_command.h"

namespace {

enum class Kind { kOpen, kMaze, kScattered };

std::vector<f32> MakeGrid(Kind kind, i32 n) {
  std::vector<f32> costs(static_cast<size_t>(n) * n, 1.0f);
  std::mt19937 rng(6);
  for (i32 y = 0; y < n; ++y) {
    for (i32 x = 0; x < n; ++x) {
      f32& cost = costs[static_cast<size_t>(y) * n + x];
      if (kind == Kind::kScattered) cost = static_cast<f32>(1 + rng() % 16);
      // Every fourth column is a wall, open at the bottom and the top in turn.
      const bool gap = (x / 4) % 2 == 0 ? y == n - 1 : y == 0;
      if (kind == Kind::kMaze && x % 4 == 2 && !gap) cost = 0.0f;
    }
  }
  return costs;
}

// Nanoseconds per iteration of the last path command benchmark, for the next Dijkstra one's ratio.
double oursNs = 0.0;

void Ours(benchmark::State& state, Kind kind, i32 n) {
  const std::vector<f32> values = MakeGrid(kind, n);
  NumArray<f32> costs, path;
  costs.Redim(n, n);
  std::copy(values.begin(), values.end(), costs.data);
  i32 length = 0;
  oursNs = TimeLoop(state, [&] {
    length = FindPathCommand(costs, path, 0.5f, 0, 0, n - 1, n - 1);
    benchmark::DoNotOptimize(path.data);
  });
  state.counters["cells"] = static_cast<double>(length);
}

void Dijkstra(benchmark::State& state, Kind kind, i32 n) {
  const std::vector<f32> values = MakeGrid(kind, n);
  double cost = 0;
  const double ns = TimeLoop(state, [&] {
    cost = reference::DijkstraCost(values.data(), n, n, 0, n * n - 1);
    benchmark::DoNotOptimize(cost);
  });
  if (ns > 0.0) state.counters["ours/dijkstra"] = oursNs / ns;
}

const bool registered = [] {
  const std::pair<Kind, const char*> kinds[] = {
      {Kind::kOpen, "open"}, {Kind::kMaze, "maze"}, {Kind::kScattered, "scattered"}};
  for (const auto& [kind, name] : kinds) {
    for (const i32 n : {64, 256, 1024}) {
      const std::string suffix = std::string(name) + "/" + std::to_string(n);
      benchmark::RegisterBenchmark(("FindPath/" + suffix).c_str(), Ours, kind, n)
          ->Unit(benchmark::kMillisecond);
      benchmark::RegisterBenchmark(("Dijkstra/" + suffix).c_str(), Dijkstra, kind, n)
          ->Unit(benchmark::kMillisecond);
    }
  }
  return true;
}();

}  // namespace
