// DynArray, mostly as the string arrays over it: fresh elements, appends, removals, the element
// pair step and splitting texts.
#include "core/dyn_array.h"

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "core/runtime_error.h"
#include "core/string_array.h"
#include "tests/support/test_support.h"

using namespace std::string_literals;

namespace {

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

TEST(DynArray, RedimGivesFreshElements) {
  ExpectFreshAfterRedims(DynString("x"), [](const DynString& s) { return s.IsSharedEmpty(); });
  ExpectFreshAfterRedims<u8>(0xAB, [](u8 b) { return b == 0; });
}

TEST(DynArray, AppendAccessAndAssign) {
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
}

TEST(DynArray, RemoveAt) {
  const std::pair<i32, const char*> rows[] = {{0, "b,c,d,e,"}, {2, "a,b,d,e,"}, {-1, "a,b,c,d,"}, {-5, "b,c,d,e,"},
                                              {5, nullptr}, {-6, nullptr}};  // nullptr: error 8, nothing removed
  for (const auto& [index, left] : rows) {
    StringArray list;
    MakeList(list, "abcde");
    if (left == nullptr) EXPECT_FATAL(kErrAppend, list.RemoveAt(index));
    if (left != nullptr) list.RemoveAt(index);
    EXPECT_EQ(left ? left : "a,b,c,d,e,", Joined(list)) << index;
  }
  DynArray<i32> grid;  // a row of a two-dimensional array goes with all its columns
  grid.Redim(3, 2);
  for (i32 n = 0; n < 6; ++n) grid.data[n] = n;
  grid.RemoveAt(1);
  EXPECT_EQ((std::vector<i32>{0, 2, 3, 5}), std::vector<i32>(grid.data, grid.data + 4));
}

TEST(SplitString, Parts) {
  const std::string rows[][3] = {
      {",a,,bc,", ",", "a,bc,"}, {",,,", ",", ""}, {"abc", "", "abc,"}, {"one two;three", " ;", "one,two,three,"},
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

}  // namespace
