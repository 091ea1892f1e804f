// DynString storage rules and the runtime's number <-> text formats.
#include "core/dyn_string.h"

#include <cmath>
#include <cstring>
#include <limits>

#include <gtest/gtest.h>

namespace {

TEST(DynStringStorage, EmptyValuesOwnNothing) {
  DynString a;
  DynString b = DynString::FromCString("");
  DynString c(a);
  for (const DynString* s : {&a, &b, &c}) {
    EXPECT_TRUE(s->IsSharedEmpty());
    EXPECT_EQ(0u, s->capacity);
    EXPECT_EQ(0u, s->length);
    EXPECT_STREQ("", s->data);
  }
}

TEST(DynStringStorage, GrowthRule) {
  const struct {
    u32 n;
    u32 capacity;
  } rows[] = {{1, 4}, {2, 4}, {3, 8}, {4, 8}, {7, 12}, {15, 20}, {36, 40}, {63, 68}, {1024, 1028}};
  for (const auto& row : rows) {
    DynString s;
    s.Reserve(row.n, false);
    EXPECT_EQ(row.capacity, s.capacity) << "n=" << row.n;
    EXPECT_EQ(0u, s.length);
    EXPECT_STREQ("", s.data);
  }
}

TEST(DynStringStorage, ReserveNeverShrinksAndKeepsOnRequest) {
  DynString s = DynString::FromCString("hello");
  const u32 cap = s.capacity;
  s.Reserve(0, false);
  s.Reserve(cap - 1, false);
  EXPECT_EQ(cap, s.capacity);
  EXPECT_STREQ("hello", s.data);

  s.Reserve(100, true);
  EXPECT_EQ(104u, s.capacity);
  EXPECT_STREQ("hello", s.data);
  EXPECT_EQ(5u, s.length);

  s.Reserve(200, false);  // grows without keeping; the length is the caller's business
  EXPECT_STREQ("", s.data);
  EXPECT_EQ(5u, s.length);
}

TEST(DynStringStorage, AbsurdReserveIsRefused) {
  DynString s;
  s.Reserve(0xFFFFFFFFu, false);
  EXPECT_TRUE(s.IsSharedEmpty());
  char* buffer = s.GetBuffer(0xFFFFFFF0u);
  ASSERT_NE(buffer, kDynStringEmpty);  // never the shared buffer
  buffer[0] = '\0';
}

TEST(DynStringStorage, CopyTakesEveryByteOfTheLength) {
  DynString s = DynString::FromBytes("a\0b", 3);
  DynString copy(s);
  ASSERT_EQ(3u, copy.length);
  EXPECT_EQ(0, std::memcmp(copy.data, "a\0b", 4));
}

TEST(DynStringStorage, SyncLengthCutsWhenNoNul) {
  DynString s;
  char* buffer = s.GetBuffer(3);  // capacity 8
  std::memset(buffer, 'x', s.capacity);
  s.SyncLength();
  EXPECT_EQ(7u, s.length);
  EXPECT_STREQ("xxxxxxx", s.data);
}

TEST(DynStringStorage, TruncateOnlyInsideTheText) {
  DynString s = DynString::FromCString("abcdef");
  s.Truncate(-1);
  s.Truncate(static_cast<i32>(s.capacity));
  EXPECT_STREQ("abcdef", s.data);
  s.Truncate(3);
  EXPECT_STREQ("abc", s.data);
  EXPECT_EQ(3u, s.length);
  s.Truncate(0);
  EXPECT_FALSE(s.IsSharedEmpty());
  EXPECT_EQ(0u, s.length);
}

TEST(DynStringStorage, SelfAssignmentAndAssignFromOwnBuffer) {
  DynString s = DynString::FromCString("abcdef");
  const DynString& alias = s;
  s = alias;
  EXPECT_STREQ("abcdef", s.data);
  s.AssignCString(s.data + 2);
  EXPECT_STREQ("cdef", s.data);
  EXPECT_EQ(4u, s.length);
}

TEST(DynStringStorage, DestroyedValueIsAllZero) {
  alignas(DynString) unsigned char storage[sizeof(DynString)];
  DynString* s = new (storage) DynString(DynString::FromCString("abc"));
  s->~DynString();
  EXPECT_EQ(nullptr, s->data);
  EXPECT_EQ(0u, s->capacity);
  EXPECT_EQ(0u, s->length);
}

TEST(NumberText, GeneralFormat) {
  const struct {
    f64 value;
    const char* text;
  } rows[] = {
      {0, "0"},
      {1, "1"},
      {-1, "-1"},
      {0.5, ".5"},
      {-0.5, "-.5"},
      {100, "100"},
      {123.456, "123.456"},
      {1.0 / 3.0, ".3333333333"},
      {3.14159265358979, "3.141592654"},
      {0.0001, ".0001"},
      {9999999999.0, "9999999999"},
      {12345678901.0, "1.234567890e+10"},
      {1e20, "1.000000000e+20"},
      {0.00001, "1.000000000e-05"},
      {-0.0, "0"},
      {std::numeric_limits<f64>::infinity(), "inf"},
  };
  for (const auto& row : rows) EXPECT_STREQ(row.text, DynString::FromDouble(row.value).data) << row.value;
  EXPECT_EQ(68u, DynString::FromDouble(1).capacity);
}

TEST(NumberText, FloatsAreWidenedFirst) {
  EXPECT_STREQ(".1000000015", DynString::FromFloat(0.1f).data);
  EXPECT_STREQ("3.299999952", DynString::FromFloat(3.3f).data);
  EXPECT_EQ(11, FloatTextLength(0.1f));
}

TEST(NumberText, Integers) {
  EXPECT_STREQ("-2147483648", DynString::FromInt(INT32_MIN).data);
  EXPECT_STREQ("0", DynString::FromInt(0).data);
  EXPECT_EQ(20u, DynString::FromInt(7).capacity);
  EXPECT_EQ(11, IntTextLength(INT32_MIN));
  EXPECT_EQ(1, IntTextLength(5));
}

TEST(NumberText, FixedFormat) {
  const struct {
    f32 width, decimals, value;
    const char* text;
  } rows[] = {
      {8, 3, 3.14159f, "   3.142"},
      {2.9f, 1.9f, 2.25f, "2.2"},
      {-6, 1, 2, "2.0   "},
      {0, 2, 1.5f, "1.50"},
      {3, -2, 1.5f, "1.500000"},  // a negative precision counts as none
  };
  for (const auto& row : rows)
    EXPECT_STREQ(row.text, FormatFixed(row.width, row.decimals, row.value).data) << row.text;
  EXPECT_EQ(40u, FormatFixed(8, 3, 1).capacity);
}

TEST(NumberText, FixedFormatNeverOverruns) {
  EXPECT_EQ(100u, FormatFixed(100, 2, 1).length);
  const DynString big = FormatFixed(8, 2, 1e38f);
  EXPECT_GT(big.length, 39u);
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
      {"12abc", 12, 12},   {"abc", 0, 0},     {" 1e3", 1000, 1},      {"12.9", 12.9f, 12},
      {"  -7x", -7, -7},   {"0x10", 16, 0},   {"", 0, 0},
      {"99999999999", 99999999999.0f, INT32_MAX}, {"-99999999999", -99999999999.0f, INT32_MIN},
  };
  for (const auto& row : rows) {
    const DynString s = DynString::FromCString(row.text);
    EXPECT_EQ(row.number, s.ToNumber()) << row.text;
    EXPECT_EQ(row.integer, DynStringToInt(s)) << row.text;
  }
}

}  // namespace
