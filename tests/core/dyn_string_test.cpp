// DynString storage rules and the runtime's number <-> text formats.
#include "core/dyn_string.h"

#include <cmath>
#include <cstring>
#include <limits>

#include <gtest/gtest.h>

#include "tests/support/test_support.h"

namespace {

TEST(DynStringStorage, ReserveGrowsByTheRuleOnlyWithinLimits) {
  // Room for n characters and the NUL, rounded down to a multiple of 4, plus 4.
  DynString abc("abc");
  EXPECT_EQ(8u, abc.capacity);
  abc.AppendCString("defgh");
  EXPECT_EQ(12u, abc.capacity);
  EXPECT_EQ(20u, DynString::FromInt(7).capacity);
  DynString s("hello");
  const u32 cap = s.capacity;
  s.Reserve(cap - 1, false);
  EXPECT_EQ(cap, s.capacity);
  s.Reserve(100, true);
  EXPECT_EQ("hello", BytesOf(s));
  EXPECT_GT(s.capacity, 100u);
  s.Reserve(200, false);  // grows without keeping; the length is the caller's business
  EXPECT_STREQ("", s.data);
  DynString t;
  t.Reserve(0xFFFFFFFEu, false);  // the growth rule would wrap to a tiny buffer
  EXPECT_TRUE(t.IsSharedEmpty());
  char* buffer = t.GetBuffer(0xFFFFFFF0u);
  ASSERT_NE(buffer, kDynStringEmpty);  // never the shared read-only buffer
  buffer[0] = '\0';
}

TEST(DynStringStorage, LengthsStayInsideTheBuffer) {
  const DynString withNul = TextOf(std::string_view("a\0b", 3));
  EXPECT_EQ(BytesOf(withNul), BytesOf(DynString(withNul)));  // a copy takes every byte
  DynString s;
  char* buffer = s.GetBuffer(3);
  std::memset(buffer, 'x', s.capacity);  // no NUL at all: the last byte is cut
  s.SyncLength();
  EXPECT_EQ(s.capacity - 1, s.length);
  EXPECT_EQ('\0', s.data[s.length]);
  DynString t("abcdef");
  for (i32 n : {-1, 7, static_cast<i32>(t.capacity)}) t.Truncate(n);  // outside the text: ignored
  EXPECT_EQ("abcdef", BytesOf(t));
  t.Truncate(3);
  EXPECT_EQ("abc", BytesOf(t));
}

TEST(DynStringStorage, AssignmentFromItselfAndDestruction) {
  alignas(DynString) unsigned char storage[sizeof(DynString)];
  DynString* s = new (storage) DynString("abcdef");
  const DynString& alias = *s;
  *s = alias;
  s->AssignCString(s->data + 2);
  EXPECT_EQ("cdef", BytesOf(*s));
  s->~DynString();  // a destroyed value is all zero
  EXPECT_TRUE(s->data == nullptr && s->capacity == 0 && s->length == 0);
}

TEST(NumberText, GeneralFormat) {
  const std::pair<f64, const char*> rows[] = {
      {0, "0"}, {1, "1"}, {-1, "-1"}, {0.5, ".5"}, {-0.5, "-.5"}, {100, "100"}, {123.456, "123.456"},
      {1.0 / 3.0, ".3333333333"}, {3.14159265358979, "3.141592654"}, {0.0001, ".0001"},
      {9999999999.0, "9999999999"}, {12345678901.0, "1.234567890e+10"}, {1e20, "1.000000000e+20"},
      {0.00001, "1.000000000e-05"}, {-0.0, "0"}, {std::numeric_limits<f64>::infinity(), "inf"},
  };
  for (const auto& [value, text] : rows) EXPECT_STREQ(text, DynString::FromDouble(value).data) << value;
  EXPECT_STREQ(".1000000015", DynString::FromFloat(0.1f).data);  // widened to f64 first
  EXPECT_STREQ("3.299999952", DynString::FromFloat(3.3f).data);
  EXPECT_EQ(11, FloatTextLength(0.1f));
  EXPECT_STREQ("-2147483648", DynString::FromInt(INT32_MIN).data);
  EXPECT_EQ(11, IntTextLength(INT32_MIN));
}

TEST(NumberText, FixedFormat) {
  const struct {
    f32 width, decimals, value;
    const char* text;
  } rows[] = {
      {8, 3, 3.14159f, "   3.142"}, {2.9f, 1.9f, 2.25f, "2.2"}, {-6, 1, 2, "2.0   "},
      {0, 2, 1.5f, "1.50"}, {3, -2, 1.5f, "1.500000"},  // a negative precision counts as none
  };
  for (const auto& row : rows) EXPECT_STREQ(row.text, FormatFixed(row.width, row.decimals, row.value).data);
  // Texts longer than the first buffer, and widths a program should never get.
  EXPECT_EQ(100u, FormatFixed(100, 2, 1).length);
  const DynString big = FormatFixed(8, 2, 1e38f);
  EXPECT_GT(big.length, 40u);
  EXPECT_EQ(big.length, std::strlen(big.data));
  EXPECT_EQ(4096u, FormatFixed(1e30f, 0, 1).length);
  EXPECT_EQ(1u, FormatFixed(std::nanf(""), std::nanf(""), 1).length);
}

TEST(TextToNumber, ReadsLeadingNumbers) {
  const struct {
    const char* text;
    f32 number;
    i32 integer;
  } rows[] = {
      {"12abc", 12, 12}, {"abc", 0, 0}, {" 1e3", 1000, 1}, {"  -7x", -7, -7}, {"12.9", 12.9f, 12},
      {"99999999999", 99999999999.0f, INT32_MAX}, {"-99999999999", -99999999999.0f, INT32_MIN},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(row.number, DynString(row.text).ToNumber()) << row.text;
    EXPECT_EQ(row.integer, DynStringToInt(DynString(row.text))) << row.text;
  }
}

}  // namespace
