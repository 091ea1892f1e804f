// The record quicksort: ascending order, the exact order of equal keys, compare functions.
#include "core/record_sort.h"

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/dyn_string.h"

namespace {

struct Score {
  i32 score = 0;
  DynString name;
};

std::string SortedOrder(std::vector<std::pair<i32, const char*>> rows, RecordCompare<Score> compare = nullptr) {
  std::vector<Score> v;
  for (const auto& [score, name] : rows) v.push_back(Score{score, DynString::FromCString(name)});
  SortRecords(&v.front(), &v.back(), compare, [](const Score& s) { return s.score; });
  std::string out;
  for (const Score& s : v) out += std::to_string(s.score) + s.name.data + " ";
  return out;
}

f32 Descending(const Score* a, const Score* b) { return static_cast<f32>(b->score - a->score); }
f32 FractionOnly(const Score* a, const Score* b) { return a->score < b->score ? -0.5f : 0.5f; }
f32 NeverEqual(const Score*, const Score*) { return -1.0f; }

TEST(RecordSort, ExactOrders) {
  const struct {
    std::vector<std::pair<i32, const char*>> input;
    RecordCompare<Score> compare;
    const char* sorted;
  } rows[] = {
      {{{30, "a"}, {10, "b"}, {20, "c"}}, nullptr, "10b 20c 30a "},
      // Equal keys end where this procedure puts them, not where a stable sort would.
      {{{5, "a"}, {5, "b"}, {5, "c"}}, nullptr, "5c 5b 5a "},
      {{{20, "a"}, {10, "b"}, {20, "c"}, {10, "d"}}, nullptr, "10b 10d 20c 20a "},
      {{{0, "a"}, {2, "b"}, {0, "c"}}, nullptr, "0a 0c 2b "},  // the scan runs upward
      {{{-1, "a"}, {INT32_MIN, "b"}, {INT32_MAX, "c"}}, nullptr, "-2147483648b -1a 2147483647c "},
      {{{1, "a"}, {3, "b"}, {2, "c"}}, Descending, "3b 2c 1a "},
      {{{1, "a"}, {3, "b"}, {2, "c"}}, FractionOnly, "2c 3b 1a "},  // |result| < 1 counts as equal
      // Never equal, not even to itself: the scans must still stop at the last record.
      {{{4, "a"}, {1, "b"}, {3, "c"}, {2, "d"}}, NeverEqual, "4a 1b 3c 2d "},
  };
  for (const auto& row : rows) EXPECT_EQ(row.sorted, SortedOrder(row.input, row.compare));
}

TEST(RecordSort, RandomInputsComeOutSorted) {
  std::mt19937 rng(7);
  for (int round = 0; round < 300; ++round) {
    std::vector<i32> keys(1 + rng() % 40);
    for (i32& key : keys) key = static_cast<i32>(rng() % 8);  // many duplicates
    SortRecords(&keys.front(), &keys.back(), nullptr, [](i32 key) { return key; });
    ASSERT_TRUE(std::is_sorted(keys.begin(), keys.end())) << "round " << round;
  }
}

}  // namespace
