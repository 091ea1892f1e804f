// Arrays and records: the capacity rules of NumArray, DynArray and GrowVector; NumArray's inline
// store, index rules and resizing; string arrays (appends, removals, splitting); deep copies and
// moves on growth; the record quicksort's exact order; constant data blocks.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <tuple>
#include <vector>

#include "core/data_blocks.h"
#include "core/dyn_array.h"
#include "core/dyn_string.h"
#include "core/grow_vector.h"
#include "core/num_array.h"
#include "core/record_sort.h"
#include "core/runtime_error.h"
#include "core/string_array.h"
#include "tests/support/test_support.h"

using namespace std::string_literals;

namespace {

i32& Element(NumArray<i32>& a, i32 i, i32 j, i32 k) { return *a.At(i, j, k, 0); }
i32& Element(DynArray<i32>& a, i32 i, i32 j, i32 k) { return a.At(i, j, k, 0); }
void ResizeKeeping(NumArray<i32>& a, const i32 (&d)[3]) { a.Resize(d[0], d[1], d[2]); }
void ResizeKeeping(DynArray<i32>& a, const i32 (&d)[3]) { a.ResizeKeep(d[0], d[1], d[2]); }

// Fills a (from) shape, resizes to (to) and checks every element of the new shape: kept values
// where the indices stay valid (only k == 0 unless allDims), 0 elsewhere.
template <class Array>
void CheckResize(const i32 (&from)[3], const i32 (&to)[3], bool allDims) {
  auto value = [](i32 i, i32 j, i32 k) { return 10000 * k + 100 * j + i + 1; };
  Array a;
  a.Redim(from[0], from[1], from[2]);
  for (i32 k = 0; k < std::max(from[2], 1); ++k)
    for (i32 j = 0; j < std::max(from[1], 1); ++j)
      for (i32 i = 0; i < from[0]; ++i) Element(a, i, j, k) = value(i, j, k);
  ResizeKeeping(a, to);
  for (i32 k = 0; k < std::max(to[2], 1); ++k)
    for (i32 j = 0; j < std::max(to[1], 1); ++j)
      for (i32 i = 0; i < to[0]; ++i) {
        const bool kept = (allDims ? k < std::max(from[2], 1) : k == 0) && i < from[0] &&
                          j < std::max(from[1], 1);
        ASSERT_EQ(kept ? value(i, j, k) : 0, Element(a, i, j, k))
            << to[0] << "x" << to[1] << "x" << to[2] << " at " << i << "," << j << "," << k;
      }
}

TEST(NumArray, RedimIndexRulesLimitsCopiesAndResizing) {
  NumArray<f32> a;
  // Storage for the element count rounded down to a multiple of 8, plus 8; kept while large
  // enough, except that a size below 1 always goes back to the inline store.
  const struct {
    i32 d0, d1;
    bool isInline;
    i32 capacity;
  } steps[] = {{5, 0, true, 8},   {17, 0, false, 24}, {3, 0, false, 24},
               {4, 6, false, 32}, {0, 0, true, 8},    {2, 2, true, 8}};
  for (const auto& step : steps) {
    if (a.data != nullptr) std::fill(a.data, a.data + a.capacity, 5.0f);
    a.Redim(step.d0, step.d1);
    EXPECT_EQ(step.isInline, a.UsesInlineStore()) << step.d0 << "x" << step.d1;
    EXPECT_EQ(step.capacity, a.capacity) << step.d0 << "x" << step.d1;
    EXPECT_EQ(a.data + a.capacity,
              std::find_if(a.data, a.data + a.capacity, [](f32 v) { return v != 0; }));
  }
  // Index rules: the offset an index reaches, or -1 for error 9.
  const struct {
    i32 d[4], x[4];
    bool fourIndex;
    i64 offset;
  } rows[] = {
      {{5, 0, 0, 0}, {-1, 0, 0, 0}, false, 4},  {{5, 0, 0, 0}, {-6, 0, 0, 0}, false, -1},
      {{5, 0, 0, 0}, {5, 0, 0, 0}, false, -1},  {{5, 0, 0, 0}, {0, -1, 0, 0}, false, -1},
      {{5, 0, 0, 0}, {4, 3, 0, 0}, false, -1},  // unused dimension: would reach element 19
      {{3, 2, 0, 0}, {-1, 1, 0, 0}, false, 5},  {{3, 2, 0, 0}, {0, 2, 0, 0}, false, -1},
      {{2, 3, 2, 0}, {1, 2, 1, 0}, true, 11},   {{2, 3, 2, 0}, {0, 0, 2, 0}, true, -1},
      {{2, 3, 2, 0}, {0, 0, 1, 1}, true, -1},   {{2, 1, 1, 3}, {1, 0, 0, 2}, true, 5},
      {{2, -3, 0, 0}, {0, 0, 0, 0}, false, -1},  // a negative size refuses every index
  };
  for (const auto& row : rows) {
    NumArray<f32> a;
    a.Redim(row.d[0], row.d[1], row.d[2], row.d[3]);
    const i32* x = row.x;
    auto at = [&] {
      return row.fourIndex ? NumArrayAt4(a, x[0], x[1], x[2], x[3]) : NumArrayAt2(a, x[0], x[1]);
    };
    if (row.offset < 0)
      EXPECT_FATAL(kErrIndex, at());
    else
      EXPECT_EQ(row.offset, at() - a.data) << x[0] << "," << x[1] << "," << x[2] << "," << x[3];
  }
  NumArray<i32> none;
  EXPECT_FATAL(kErrIndex, none.At(0, 0));
  // Sizes beyond the storage are error 7 and keep the array.
  for (const auto& d :
       {std::array{65536, 65536, 0, 0}, {46341, 46341, 0, 0}, {2, 2, 65536, 65536}}) {
    NumArray<f32> kept;
    kept.Assign(3, std::array{1.0f, 2.0f, 7.0f}.data());
    EXPECT_FATAL(kErrStorage, kept.Redim(d[0], d[1], d[2], d[3]));
    EXPECT_EQ(7.0f, *kept.At(2, 0));
  }
  const i32 values[] = {5, -1, 7, 0, 9, 1000, 3, 8, 2, 11, 12, 13, 14, 15, 16, 17, 18, 19};
  NumArray<i32> source, copy;  // copies, onto itself too
  source.Assign(18, values);
  copy.CopyFrom(source);
  copy.CopyFrom(copy);
  EXPECT_TRUE(std::equal(values, values + 18, copy.data));
  // Resizing keeps all four dimensions of a NumArray, the first two of a DynArray.
  const struct {
    i32 from[3], to[3];
  } shapes[] = {{{2, 3, 2}, {4, 3, 2}}, {{3, 3, 0}, {2, 4, 0}}, {{3, 3, 0}, {5, 0, 0}},
                {{3, 0, 0}, {2, 5, 0}}, {{20, 2, 0}, {30, 1, 0}}, {{30, 0, 0}, {3, 2, 2}}};
  for (const auto& shape : shapes) {
    CheckResize<NumArray<i32>>(shape.from, shape.to, true);
    CheckResize<DynArray<i32>>(shape.from, shape.to, false);
  }
}

std::string Joined(StringArray& a) {
  std::string out;
  for (i32 i = 0; i < a.dim[0]; ++i) out += BytesOf(a.At(i)) + ",";
  return out;
}

void MakeList(StringArray& list, const char* names) {
  list.Redim(0);
  for (const char* c = names; *c != '\0'; ++c) list.Append(DynString::FromBytes(c, 1));
}

// Every element of the new shape starts fresh, in new storage as in reused storage. Storage is
// for the element count rounded down to a multiple of 64, plus 64, kept while large enough.
template <class T, class Fresh>
void ExpectFreshAfterRedims(const T& junk, Fresh isFresh) {
  DynArray<T> a;
  for (const auto& [d0, d1, capacity] : {std::tuple{100, 0, 128}, {10, 0, 128}, {3, 2, 128},
                                         {300, 0, 320}, {-5, 0, 64}}) {
    if (a.data != nullptr) std::fill(a.data, a.data + a.capacity, junk);
    a.Redim(d0, d1);
    EXPECT_EQ(capacity, a.capacity) << d0;
    for (i64 i = 0; i < a.ElementCount(); ++i) ASSERT_TRUE(isFresh(a.data[i])) << d0 << " at " << i;
  }
  const i32 capacity = a.capacity;
  EXPECT_FATAL(kErrStorage, a.Redim(65536, 65536));
  EXPECT_EQ(capacity, a.capacity);
}

TEST(DynArray, RedimAppendAccessAssignRemoveAndSplit) {
  ExpectFreshAfterRedims(DynString("x"), [](const DynString& s) { return s.IsSharedEmpty(); });
  ExpectFreshAfterRedims<u8>(0xAB, [](u8 b) { return b == 0; });
  StringArray list{};  // a zeroed array is a valid empty one
  EXPECT_FATAL(kErrIndex, list.At(0));
  DynString t("a");
  list.Append(t);
  t.AssignCString("b");
  list.Append(t);
  list.Append(list.At(0));  // a value inside the list survives the rebuild
  EXPECT_EQ("a,b,a,", Joined(list));
  EXPECT_FATAL(kErrIndex, list.At(-4));
  EXPECT_FATAL(kErrIndex, list.At(2, 1));  // unused second dimension
  list.AssignElement(0, 1);
  list.AssignElement(-1, 1);
  list.At(1).AssignCString("x");  // texts were copied, not shared
  EXPECT_EQ("b,x,b,", Joined(list));
  EXPECT_FATAL(kErrIndex, list.AssignElement(3, 0));
  EXPECT_FATAL(kErrIndex, list.AssignElement(0, -4));
  DynArray<i32> grid;
  grid.Redim(2, 4);
  EXPECT_FATAL(kErrAppend, grid.Append(1));
  i32 calls = 0;
  grid.ApplyPair(0, 1, [&](i32* a, i32* b) { calls += (b - a == 1); });
  EXPECT_EQ(4, calls);
  EXPECT_FATAL(kErrIndex, grid.ApplyPair(0, 2, [](i32*, i32*) {}));
  const std::pair<i32, const char*> removals[] = {
      {0, "b,c,d,e,"},  {2, "a,b,d,e,"}, {-1, "a,b,c,d,"},
      {-5, "b,c,d,e,"}, {5, nullptr},    {-6, nullptr}};  // nullptr: error 8
  for (const auto& [index, left] : removals) {
    StringArray five;
    MakeList(five, "abcde");
    if (left == nullptr) EXPECT_FATAL(kErrAppend, five.RemoveAt(index));
    if (left != nullptr) five.RemoveAt(index);
    EXPECT_EQ(left ? left : "a,b,c,d,e,", Joined(five)) << index;
  }
  grid.Redim(3, 2);  // a row of a two-dimensional array goes with all its columns
  for (i32 n = 0; n < 6; ++n) grid.data[n] = n;
  grid.RemoveAt(1);
  EXPECT_EQ((std::vector<i32>{0, 2, 3, 5}), std::vector<i32>(grid.data, grid.data + 4));
  // Splitting a text into the array.
  const std::string rows[][3] = {
      {",a,,bc,", ",", "a,bc,"},    {",,,", ",", ""},
      {"abc", "", "abc,"},          {"one two;three", " ;", "one,two,three,"},
      {"a\0b,c"s, ",", "a\0b,c,"s},  // a NUL in the text is data
      {"a\0b"s, "\0"s, "a,b,"},
  };
  for (const auto& row : rows) {
    StringArray a;
    a.Redim(3, 2);  // whatever the array held goes
    const i32 parts = SplitString(TextOf(row[0]), a, TextOf(row[1]));
    EXPECT_EQ(static_cast<i32>(std::count(row[2].begin(), row[2].end(), ',')), parts) << row[0];
    EXPECT_EQ(row[2], Joined(a)) << row[0];
  }
  StringArray a;  // texts taken from the array itself, whose storage the appends replace
  MakeList(a, "=");
  PushStringArray(a, DynString("k=v"));
  EXPECT_EQ(2, SplitString(a.At(1), a, a.At(0)));
  EXPECT_EQ("k,v,", Joined(a));
  a.Redim(2, 2);
  EXPECT_FATAL(kErrAppend, PushStringArray(a, DynString("x")));
}

// Growth moves what is there; only the appended value is copied. A list of lists (the INI store's
// sections) therefore grows in linear time however many entries its elements hold.
struct Assignments {
  static inline int copies = 0, moves = 0;
  Assignments() = default;
  Assignments(const Assignments&) = default;
  Assignments& operator=(const Assignments&) {
    ++copies;
    return *this;
  }
  Assignments& operator=(Assignments&&) noexcept {
    ++moves;
    return *this;
  }
};

TEST(GrowVector, GrowthRuleItsLimitsDeepCopiesAndMoves) {
  // The minimum first, then whole steps past the count asked for: the append that fills the
  // storage already grows it.
  GrowVector<i32> v;  // step 128, minimum 512
  for (i32 n = 0; n < 512; ++n) v.Append(n);
  EXPECT_EQ(512, v.capacity);
  v.Append(512);
  EXPECT_EQ(640, v.capacity);
  GrowVector<i32> unit(1, 1);
  std::vector<i32> seen;
  for (i32 n = 0; n < 4; ++n) seen.push_back((unit.Append(n), unit.capacity));
  EXPECT_EQ((std::vector<i32>{1, 3, 4, 5}), seen);
  GrowVector<i32> noStep(0, 0);  // a step of 0 must not divide by zero
  noStep.Reserve(3);
  EXPECT_GE(noStep.capacity, 3);
  EXPECT_FATAL(kErrStorage, v.Reserve(INT32_MAX));  // the rounded-up capacity passes the i32 range
  EXPECT_EQ(7, v[7]);
  GrowVector<i32> counted;  // SetCount makes room by the same rule
  counted.SetCount(600);
  EXPECT_EQ(640, counted.capacity);
  counted.SetCount(-1);
  EXPECT_EQ(0, counted.count);
  // Copies are deep and grow to the source.
  GrowVector<i32> big, small;
  for (i32 n = 0; n < 600; ++n) big.Append(n);
  small.Append(-1);
  small.CopyFrom(big);
  ASSERT_EQ(600, small.count);
  for (i32 n = 0; n < 600; ++n) ASSERT_EQ(n, small[n]);

  GrowVector<GrowVector<DynString>> outer(1, 1);  // step 1: every append reallocates
  for (i32 n = 0; n < 3; ++n) {
    GrowVector<DynString> inner;
    inner.Append(DynString::FromInt(n));
    outer.Append(inner);
    outer.Append(outer[0]);  // an entry of the list itself, across a reallocation
  }
  outer[0][0].AssignCString("changed");
  outer = outer;  // self-assignment leaves it whole
  ASSERT_EQ(6, outer.count);
  for (i32 n : {1, 3, 5}) EXPECT_STREQ("0", outer[n][0].data);  // copies did not share the text
  EXPECT_STREQ("2", outer[4][0].data);
  // Growth moves the elements.
  Assignments::copies = Assignments::moves = 0;
  GrowVector<Assignments> moved(1, 1);  // every append reallocates
  for (i32 n = 0; n < 100; ++n) moved.Append(Assignments());
  moved.Reserve(200);
  EXPECT_EQ(100, Assignments::copies);
  EXPECT_EQ(99 * 100 / 2 + 100, Assignments::moves);
}

const ReadDataItem kItems[] = {{-2.9f, nullptr}, {0, "12abc"}, {0, "abc"},
                               {0.5f, nullptr},  {0, "text"},  {3e9f, nullptr}};

struct Score {
  i32 score = 0;
  DynString name;
};

std::string SortedOrder(std::vector<std::pair<i32, const char*>> rows,
                        RecordCompare<Score> compare = nullptr) {
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

TEST(RecordSort, ExactOrdersAndDataBlocks) {
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
  // Constant data blocks: conversions in order, then error 20.
  i32 n = 0;
  f32 f = -1;
  DynString s("previous");
  currentDataCursor = nullptr;
  EXPECT_FATAL(kErrNoData, ReadDataFloat(&f));  // no block selected yet
  ReadDataCursor block{kItems, 6, 5};
  RestoreDataBlock(&block);  // rewinds
  EXPECT_EQ(-2, ReadDataInt(&n));
  EXPECT_EQ(-2, n);
  for (f32 expected : {12.0f, 0.0f}) {
    ReadDataFloat(&f);
    EXPECT_EQ(expected, f);
  }
  for (const char* text : {".5", "text"}) {
    ReadDataString(s);
    EXPECT_STREQ(text, s.data);
  }
  EXPECT_EQ(INT32_MAX, ReadDataInt(&n));  // beyond the i32 range: saturated
  EXPECT_FATAL(kErrNoData, ReadDataInt(&n));
  EXPECT_FATAL(kErrNoData, ReadDataString(s));
  EXPECT_EQ(6, block.next);  // a failed read does not move
  ReadDataCursor empty{kItems, 0, 0};
  RestoreDataBlock(&empty);
  EXPECT_FATAL(kErrNoData, ReadDataFloat(&f));
  currentDataCursor = nullptr;
}

}  // namespace
