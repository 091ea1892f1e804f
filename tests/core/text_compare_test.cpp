// The comparison families: text with text, with f32/f64 numbers and with integers. Each row gives
// one ordering; every operator, operand kind and operand order is checked against it.
#include <climits>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "core/text_compare.h"
#include "tests/support/test_support.h"

using namespace std::string_literals;

namespace {

constexpr int kUnordered = 2;  // orderings: -1 below, 0 equal, 1 above, or unordered (NaN)

template <class A, class B>
void ExpectOrder(const A& a, const B& b, int order, const std::string& what) {
  const i32 got[] = {TextEq(a, b), TextNe(a, b), TextLt(a, b), TextGt(a, b), TextLe(a, b), TextGe(a, b)};
  const bool want[] = {order == 0, order != 0, order == -1, order == 1, order == -1 || order == 0,
                       order == 1 || order == 0};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(want[i] ? 1 : 0, got[i]) << what << " operator " << i;
}

// A text (as DynString and as C string) against a value (a text too), in both operand orders.
template <class V>
void ExpectTextAgainst(const char* text, V value, int order, const std::string& what) {
  const DynString dyn(text);
  const int reversed = order == kUnordered ? order : -order;
  ExpectOrder(dyn, value, order, what + " (DynString, value)");
  ExpectOrder(text, value, order, what + " (C string, value)");
  ExpectOrder(value, dyn, reversed, what + " (value, DynString)");
  ExpectOrder(value, text, reversed, what + " (value, C string)");
}

TEST(CompareTexts, ByUnsignedCharacterCodes) {
  const struct {
    const char* a;
    const char* b;
    int order;
  } rows[] = {{"10", "9", -1}, {"B", "a", -1}, {"abc", "ab", 1}, {"a", "a", 0}, {"\xE9", "z", 1}};
  for (const auto& row : rows) {
    const std::string what = std::string(row.a) + " vs " + row.b;
    ExpectTextAgainst(row.a, row.b, row.order, what);
    ExpectTextAgainst(row.a, DynString(row.b), row.order, what);
    const i32 r = CompareTextsThreeWay(DynString(row.a), row.b);
    EXPECT_EQ(row.order, (r > 0) - (r < 0)) << what;
  }
  const DynString withNul = TextOf("a\0b"s), a("a");
  EXPECT_EQ(0, TextEq(withNul, a)) << "equality of two texts also compares their lengths";
  ExpectOrder(withNul, "a", 0, "a NUL b vs a");  // every other pairing stops at the NUL
}

// A text against numbers: through f32 (so against an f64 in f32 precision) and as a clamped
// decimal integer, so the operand's type chooses the reading.
TEST(CompareTextWithNumbers, ReadsTheTextThroughF32OrAsAClampedDecimal) {
  struct Row {
    const char* text;
    f32 single;
    int vsSingle;
    f64 wide;
    int vsWide;
    i32 n;
    int vsInt;
  };
  const f32 nan = std::numeric_limits<f32>::quiet_NaN();
  const Row rows[] = {
      {"9", 10, -1, 10, -1, 10, -1},         {"abc", 0, 0, 0, 0, 0, 0},           {" 42abc", 42, 0, 42, 0, 42, 0},
      {"42.9", 42, 1, 43, -1, 42, 0},        {"0x10", 16, 0, 16, 0, 0, 0},        {"-7", -8, 1, -7, 0, -8, 1},
      {"0.1", 0.1f, 0, 0.1, 1, 0, 0},  // .1000000015 against .1
      {"16777217", 16777217.0f, 0, 16777217.0, -1, 16777217, 0},  // reads as 2^24 through f32
      {"1e40", 1e38f, 1, 1e300, 1, 1, 0},                           // overflows f32
      {"nan", 0, kUnordered, 1, kUnordered, 0, 0},  {"5", nan, kUnordered, nan, kUnordered, 6, -1},
      {"2147483648", 2147483648.0f, 0, 2147483648.0, 0, INT_MAX, 0},
      {"-99999999999", -99999999999.0f, 0, -99999999999.0, 1, INT_MIN, 0},
      {"-2147483647", -2147483648.0f, 0, -2147483648.0, 0, INT_MIN, 1},
  };
  for (const Row& row : rows) {
    ExpectTextAgainst(row.text, row.single, row.vsSingle, std::string(row.text) + " f32");
    ExpectTextAgainst(row.text, row.wide, row.vsWide, std::string(row.text) + " f64");
    ExpectTextAgainst(row.text, row.n, row.vsInt, std::string(row.text) + " i32");
    const i32 threeWay = row.vsSingle == kUnordered ? 0 : row.vsSingle;
    EXPECT_EQ(threeWay, CompareNumberTextThreeWay(DynString(row.text), row.single)) << row.text;
    EXPECT_EQ(row.vsInt, CompareIntTextThreeWay(DynString(row.text), row.n)) << row.text;
  }
}

}  // namespace
