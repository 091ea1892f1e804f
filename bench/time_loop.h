// The timing shared by the benchmarks that run our code and a peer's on the same work in one run:
// the mean nanoseconds of one iteration of the loop, so that the peer's benchmark can report the
// ratio of the two times.
#pragma once

#include <benchmark/benchmark.h>

#include <chrono>

template <typename Body>
double TimeLoop(benchmark::State& state, Body body) {
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) body();
  const auto elapsed = std::chrono::steady_clock::now() - start;
  const double ns = std::chrono::duration<double, std::nano>(elapsed).count();
  return state.iterations() > 0 ? ns / static_cast<double>(state.iterations()) : 0.0;
}
