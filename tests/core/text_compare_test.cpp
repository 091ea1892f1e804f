// The comparison families: text with text, with f32/f64 numbers and with integers, every operand
// kind and both operand orders checked against one expected ordering per row.
#include <climits>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "core/text_compare.h"
#include "tests/core/text_bytes.h"

using namespace std::string_literals;

namespace {

enum class Order { Less, Equal, Greater, Unordered };

// Expected results of ==, !=, <, >, <=, >= for a left operand that stands in `order` to the right.
struct Expected {
  i32 eq, ne, lt, gt, le, ge;
};
Expected ExpectedFor(Order order) {
  switch (order) {
    case Order::Less: return {0, 1, 1, 0, 1, 0};
    case Order::Equal: return {1, 0, 0, 0, 1, 1};
    case Order::Greater: return {0, 1, 0, 1, 0, 1};
    case Order::Unordered: break;
  }
  return {0, 1, 0, 0, 0, 0};
}
Order Reversed(Order order) {
  if (order == Order::Less) return Order::Greater;
  if (order == Order::Greater) return Order::Less;
  return order;
}

template <class A, class B>
void ExpectAllSix(const A& a, const B& b, Order order, const std::string& what) {
  const Expected e = ExpectedFor(order);
  EXPECT_EQ(e.eq, TextEq(a, b)) << what << " ==";
  EXPECT_EQ(e.ne, TextNe(a, b)) << what << " !=";
  EXPECT_EQ(e.lt, TextLt(a, b)) << what << " <";
  EXPECT_EQ(e.gt, TextGt(a, b)) << what << " >";
  EXPECT_EQ(e.le, TextLe(a, b)) << what << " <=";
  EXPECT_EQ(e.ge, TextGe(a, b)) << what << " >=";
}

// Checks a text (as DynString and as C string) against a value in both operand orders.
template <class V>
void ExpectTextAgainst(const char* text, V value, Order textToValue, const std::string& what) {
  const DynString dyn(text);
  ExpectAllSix(dyn, value, textToValue, what + " (DynString, value)");
  ExpectAllSix(text, value, textToValue, what + " (C string, value)");
  ExpectAllSix(value, dyn, Reversed(textToValue), what + " (value, DynString)");
  ExpectAllSix(value, text, Reversed(textToValue), what + " (value, C string)");
}

TEST(CompareTexts, ByUnsignedCharacterCodes) {
  struct Row {
    const char* a;
    const char* b;
    Order order;
  };
  const Row rows[] = {
      {"10", "9", Order::Less},   {"B", "a", Order::Less},    {"abc", "ab", Order::Greater},
      {"", "a", Order::Less},     {"a", "a", Order::Equal},   {"\xE9", "z", Order::Greater},
      {"", "", Order::Equal},
  };
  for (const Row& row : rows) {
    const std::string what = std::string(row.a) + " vs " + row.b;
    const DynString a(row.a), b(row.b);
    ExpectAllSix(a, b, row.order, what);
    ExpectAllSix(row.a, row.b, row.order, what);
    ExpectAllSix(row.a, b, row.order, what);
    ExpectAllSix(a, row.b, row.order, what);
    const i32 r = CompareTextsThreeWay(a, row.b);
    EXPECT_EQ(row.order == Order::Less, r < 0) << what;
    EXPECT_EQ(row.order == Order::Greater, r > 0) << what;
  }
}

TEST(CompareTexts, SeeOnlyUpToTheFirstNulExceptForEquality) {
  const DynString withNul = TextOf("a\0b"s);
  const DynString a("a");
  EXPECT_EQ(0, TextEq(withNul, a)) << "equality of two texts also compares their lengths";
  EXPECT_EQ(0, TextNe(withNul, a));
  EXPECT_EQ(0, TextLt(withNul, a));
  EXPECT_EQ(0, TextGt(withNul, a));
  EXPECT_EQ(1, TextLe(withNul, a));
  EXPECT_EQ(1, TextEq(withNul, "a"));
  EXPECT_EQ(0, CompareTextsThreeWay(withNul, "a"));
}

TEST(CompareNumberText, ReadsTheTextThroughF32) {
  struct Row {
    const char* text;
    f32 single;
    Order vsSingle;
    f64 wide;
    Order vsWide;
  };
  const f32 nan = std::numeric_limits<f32>::quiet_NaN();
  const Row rows[] = {
      {"abc", 0.0f, Order::Equal, 0.0, Order::Equal},
      {"", 0.0f, Order::Equal, 0.0, Order::Equal},
      {"  x", 0.0f, Order::Equal, 0.0, Order::Equal},
      {" 42abc", 42.0f, Order::Equal, 42.0, Order::Equal},
      {"42.9", 42.0f, Order::Greater, 43.0, Order::Less},
      {"0x10", 16.0f, Order::Equal, 16.0, Order::Equal},
      {"0.1", 0.1f, Order::Equal, 0.1, Order::Greater},  // .1000000015 against .1
      {"16777217", 16777217.0f, Order::Equal, 16777217.0, Order::Less},
      {"-1e3", -999.0f, Order::Less, -1000.0, Order::Equal},
      {"1e40", 1e38f, Order::Greater, 1e300, Order::Greater},  // the text overflows f32
      {"nan", 0.0f, Order::Unordered, 1.0, Order::Unordered},
      {"5", nan, Order::Unordered, static_cast<f64>(nan), Order::Unordered},
  };
  for (const Row& row : rows) {
    ExpectTextAgainst(row.text, row.single, row.vsSingle, std::string(row.text) + " f32");
    ExpectTextAgainst(row.text, row.wide, row.vsWide, std::string(row.text) + " f64");
  }
}

TEST(CompareNumberText, ThreeWayGivesMinusOneZeroOrOne) {
  struct Row {
    const char* text;
    f32 n;
    i32 expected;
  };
  for (const Row& row : {Row{"1", 2.0f, -1}, Row{"2", 2.0f, 0}, Row{"2.5", 2.0f, 1},
                         Row{"nan", 2.0f, 0}, Row{"-inf", -1e38f, -1}}) {
    EXPECT_EQ(row.expected, CompareNumberTextThreeWay(DynString(row.text), row.n)) << row.text;
  }
}

TEST(CompareIntText, ReadsTheTextAsAClampedDecimal) {
  struct Row {
    const char* text;
    i32 n;
    Order order;
  };
  const Row rows[] = {
      {"9", 10, Order::Less},
      {"abc", 0, Order::Equal},
      {"  x", 0, Order::Equal},
      {" 42abc", 42, Order::Equal},
      {"42.9", 42, Order::Equal},
      {"0x10", 0, Order::Equal},
      {"-7", -8, Order::Greater},
      {"99999999999", INT_MAX, Order::Equal},
      {"2147483648", INT_MAX, Order::Equal},
      {"-99999999999", INT_MIN, Order::Equal},
      {"-2147483647", INT_MIN, Order::Greater},
  };
  for (const Row& row : rows) {
    ExpectTextAgainst(row.text, row.n, row.order, std::string(row.text) + " i32");
    const i32 expected = row.order == Order::Less ? -1 : row.order == Order::Greater ? 1 : 0;
    EXPECT_EQ(expected, CompareIntTextThreeWay(DynString(row.text), row.n)) << row.text;
  }
}

TEST(CompareFamilies, TheOperandsTypeChoosesTheFamily) {
  EXPECT_EQ(1, TextEq("42.9", 42));     // integer reading
  EXPECT_EQ(0, TextEq("42.9", 42.0f));  // number reading
  EXPECT_EQ(1, TextGt(10, "9"));        // integer against text
  EXPECT_EQ(1, TextGt("9", "10"));      // text against text
}

}  // namespace
