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
  i32 level = 0;
};

std::vector<Score> Make(const std::vector<std::pair<i32, const char*>>& rows) {
  std::vector<Score> out;
  for (const auto& [score, name] : rows) {
    Score s;
    s.score = score;
    s.name = DynString::FromCString(name);
    s.level = score / 10;
    out.push_back(s);
  }
  return out;
}

std::string Order(const std::vector<Score>& v) {
  std::string out;
  for (const Score& s : v) out += std::to_string(s.score) + s.name.data + " ";
  return out;
}

void SortByScore(std::vector<Score>& v, RecordCompare<Score> compare = nullptr) {
  if (v.empty()) return;
  SortRecords(&v.front(), &v.back(), compare, [](const Score& s) { return s.score; });
}

TEST(RecordSort, ExactOrders) {
  const struct {
    std::vector<std::pair<i32, const char*>> input;
    const char* sorted;
  } rows[] = {
      {{{30, "a"}, {10, "b"}, {20, "c"}}, "10b 20c 30a "},
      // Equal keys end where this procedure puts them, not where a stable sort would.
      {{{5, "a"}, {5, "b"}, {5, "c"}}, "5c 5b 5a "},
      {{{20, "a"}, {10, "b"}, {20, "c"}, {10, "d"}}, "10b 10d 20c 20a "},
      {{{-1, "a"}, {INT32_MIN, "b"}, {INT32_MAX, "c"}}, "-2147483648b -1a 2147483647c "},
      {{{7, "a"}}, "7a "},
  };
  for (const auto& row : rows) {
    std::vector<Score> v = Make(row.input);
    SortByScore(v);
    EXPECT_EQ(row.sorted, Order(v));
  }
}

TEST(RecordSort, RecordsMoveWhole) {
  std::vector<Score> v = Make({{50, "x"}, {40, "y"}});
  SortByScore(v);
  EXPECT_EQ(4, v[0].level);
  EXPECT_STREQ("y", v[0].name.data);
  EXPECT_EQ(5, v[1].level);
}

TEST(RecordSort, RandomInputsComeOutSortedAndComplete) {
  std::mt19937 rng(7);
  for (int round = 0; round < 300; ++round) {
    const int n = 1 + static_cast<int>(rng() % 40);
    std::vector<Score> v(n);
    std::vector<i32> keys;
    for (Score& s : v) {
      s.score = static_cast<i32>(rng() % 8);  // many duplicates
      keys.push_back(s.score);
    }
    SortByScore(v);
    std::sort(keys.begin(), keys.end());
    for (int i = 0; i < n; ++i) ASSERT_EQ(keys[i], v[i].score) << "round " << round;
  }
}

f32 Descending(const Score* a, const Score* b) { return static_cast<f32>(b->score - a->score); }
f32 FractionOnly(const Score* a, const Score* b) { return (a->score < b->score ? -0.5f : 0.5f); }
f32 NeverEqual(const Score*, const Score*) { return -1.0f; }

TEST(RecordSort, CompareFunctions) {
  std::vector<Score> v = Make({{1, "a"}, {3, "b"}, {2, "c"}});
  SortByScore(v, Descending);
  EXPECT_EQ("3b 2c 1a ", Order(v));

  // Results below 1 in magnitude truncate to "equal": the procedure then only exchanges.
  std::vector<Score> w = Make({{1, "a"}, {3, "b"}, {2, "c"}});
  SortByScore(w, FractionOnly);
  EXPECT_EQ("2c 3b 1a ", Order(w));

  // A compare that never finds the pivot equal to itself must not scan past the last record.
  std::vector<Score> x = Make({{4, "a"}, {1, "b"}, {3, "c"}, {2, "d"}});
  SortByScore(x, NeverEqual);
  std::vector<i32> scores;
  for (const Score& s : x) scores.push_back(s.score);
  std::sort(scores.begin(), scores.end());
  EXPECT_EQ((std::vector<i32>{1, 2, 3, 4}), scores);
}

}  // namespace
