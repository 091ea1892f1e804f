// Texts: DynString storage and number formats; comparisons with texts and numbers (each row gives
// one ordering, checked for every operator, operand kind and order); joins, appends and
// replacing; parts of texts, case, search, character codes, hex text and line input.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <limits>
#include <string>

#include "core/dyn_string.h"
#include "core/number_text_concat.h"
#include "core/text_compare.h"
#include "core/text_concat.h"
#include "core/text_functions.h"
#include "tests/support/test_support.h"

using namespace std::string_literals;

namespace {

// Room for n characters and the NUL, rounded down to a multiple of 4, plus 4; lengths never pass
// the buffer; a destroyed value is all zero.
TEST(DynStringStorage, CapacityRuleLengthsDestructionAndNumberFormats) {
  alignas(DynString) unsigned char storage[sizeof(DynString)];
  DynString& abc = *new (storage) DynString("abc");
  EXPECT_EQ(8u, abc.capacity);
  abc.AppendCString("defgh");
  EXPECT_EQ(12u, abc.capacity);
  EXPECT_EQ(20u, DynString::FromInt(7).capacity);
  const u32 cap = abc.capacity;
  abc.Reserve(cap - 1, false);
  EXPECT_EQ(cap, abc.capacity);
  abc.Reserve(100, true);
  EXPECT_EQ("abcdefgh", BytesOf(abc));
  abc = static_cast<const DynString&>(abc);
  abc.AssignCString(abc.data + 2);
  EXPECT_EQ("cdefgh", BytesOf(abc));
  for (i32 n : {-1, 7, static_cast<i32>(abc.capacity)})
    abc.Truncate(n);  // outside the text: ignored
  EXPECT_EQ("cdefgh", BytesOf(abc));
  abc.Truncate(4);
  EXPECT_EQ("cdef", BytesOf(abc));
  abc.Reserve(200, false);  // grows without keeping; the length is the caller's business
  EXPECT_STREQ("", abc.data);
  abc.~DynString();
  EXPECT_TRUE(abc.data == nullptr && abc.capacity == 0 && abc.length == 0);
  DynString t;
  t.Reserve(0xFFFFFFFEu, false);  // the growth rule would wrap to a tiny buffer
  EXPECT_TRUE(t.IsSharedEmpty());
  char* buffer = t.GetBuffer(0xFFFFFFF0u);  // refused as well, yet never the shared buffer
  ASSERT_NE(buffer, kDynStringEmpty);
  std::memset(buffer, 'x', t.capacity);  // no NUL at all: the last byte is cut
  t.SyncLength();
  EXPECT_EQ(t.capacity - 1, t.length);
  EXPECT_EQ('\0', t.data[t.length]);
  // Number texts in the general format.
  const std::pair<f64, const char*> general[] = {
      {0, "0"}, {1, "1"}, {-1, "-1"}, {0.5, ".5"}, {-0.5, "-.5"}, {100, "100"},
      {123.456, "123.456"}, {1.0 / 3.0, ".3333333333"}, {3.14159265358979, "3.141592654"},
      {0.0001, ".0001"}, {9999999999.0, "9999999999"}, {12345678901.0, "1.234567890e+10"},
      {1e20, "1.000000000e+20"}, {0.00001, "1.000000000e-05"}, {-0.0, "0"},
      {std::numeric_limits<f64>::infinity(), "inf"},
  };
  for (const auto& [value, text] : general)
    EXPECT_STREQ(text, DynString::FromDouble(value).data) << value;
  EXPECT_STREQ(".1000000015", DynString::FromFloat(0.1f).data);  // widened to f64 first
  EXPECT_STREQ("3.299999952", DynString::FromFloat(3.3f).data);
  EXPECT_STREQ("-2147483648", DynString::FromInt(INT32_MIN).data);
  const struct {
    f32 width, decimals, value;
    const char* text;
  } fixed[] = {
      {8, 3, 3.14159f, "   3.142"}, {2.9f, 1.9f, 2.25f, "2.2"}, {-6, 1, 2, "2.0   "},
      {0, 2, 1.5f, "1.50"}, {3, -2, 1.5f, "1.500000"},  // a negative precision counts as none
  };
  for (const auto& row : fixed)
    EXPECT_STREQ(row.text, FormatFixed(row.width, row.decimals, row.value).data);
  // Texts longer than the first buffer, and widths a program should never get.
  EXPECT_EQ(100u, FormatFixed(100, 2, 1).length);
  const DynString big = FormatFixed(8, 2, 1e38f);
  EXPECT_GT(big.length, 40u);
  EXPECT_EQ(big.length, std::strlen(big.data));
  EXPECT_EQ(4096u, FormatFixed(1e30f, 0, 1).length);
  EXPECT_EQ(1u, FormatFixed(std::nanf(""), std::nanf(""), 1).length);
}

constexpr int kUnordered = 2;  // orderings: -1 below, 0 equal, 1 above, or unordered (NaN)

template <class A, class B>
void ExpectOrder(const A& a, const B& b, int order, const std::string& what) {
  const i32 got[] = {TextEq(a, b), TextNe(a, b), TextLt(a, b),
                     TextGt(a, b), TextLe(a, b), TextGe(a, b)};
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

TEST(TextFunctions, ComparisonsJoinsAppendsReplacingPartsCaseSearchBytesAndInputLines) {
  const struct {
    const char* a;
    const char* b;
    int order;
  } pairs[] = {{"10", "9", -1}, {"B", "a", -1}, {"abc", "ab", 1}, {"a", "a", 0}, {"\xE9", "z", 1}};
  for (const auto& row : pairs) {
    const std::string what = std::string(row.a) + " vs " + row.b;
    ExpectTextAgainst(row.a, row.b, row.order, what);
    ExpectTextAgainst(row.a, DynString(row.b), row.order, what);
    const i32 r = CompareTextsThreeWay(DynString(row.a), row.b);
    EXPECT_EQ(row.order, (r > 0) - (r < 0)) << what;
  }
  const DynString aNulB = TextOf("a\0b"s), a("a");
  EXPECT_EQ(0, TextEq(aNulB, a)) << "equality of two texts also compares their lengths";
  ExpectOrder(aNulB, "a", 0, "a NUL b vs a");  // every other pairing stops at the NUL
  // A text against numbers: through f32 (so against an f64 in f32 precision) and as a clamped
  // decimal integer, so the operand's type chooses the reading.
  struct NumberRow {
    const char* text;
    f32 single;
    int vsSingle;
    f64 wide;
    int vsWide;
    i32 n;
    int vsInt;
  };
  const f32 nan = std::numeric_limits<f32>::quiet_NaN();
  const NumberRow numbers[] = {
      {"9", 10, -1, 10, -1, 10, -1}, {"abc", 0, 0, 0, 0, 0, 0}, {" 42abc", 42, 0, 42, 0, 42, 0},
      {"42.9", 42, 1, 43, -1, 42, 0}, {"0x10", 16, 0, 16, 0, 0, 0}, {"-7", -8, 1, -7, 0, -8, 1},
      {"0.1", 0.1f, 0, 0.1, 1, 0, 0},                             // .1000000015 against .1
      {"16777217", 16777217.0f, 0, 16777217.0, -1, 16777217, 0},  // reads as 2^24 through f32
      {"1e40", 1e38f, 1, 1e300, 1, 1, 0},                         // overflows f32
      {"nan", 0, kUnordered, 1, kUnordered, 0, 0}, {"5", nan, kUnordered, nan, kUnordered, 6, -1},
      {"2147483648", 2147483648.0f, 0, 2147483648.0, 0, INT_MAX, 0},
      {"-99999999999", -99999999999.0f, 0, -99999999999.0, 1, INT_MIN, 0},
      {"-2147483647", -2147483648.0f, 0, -2147483648.0, 0, INT_MIN, 1},
  };
  for (const NumberRow& row : numbers) {
    ExpectTextAgainst(row.text, row.single, row.vsSingle, std::string(row.text) + " f32");
    ExpectTextAgainst(row.text, row.wide, row.vsWide, std::string(row.text) + " f64");
    ExpectTextAgainst(row.text, row.n, row.vsInt, std::string(row.text) + " i32");
    const i32 threeWay = row.vsSingle == kUnordered ? 0 : row.vsSingle;
    EXPECT_EQ(threeWay, CompareNumberTextThreeWay(DynString(row.text), row.single)) << row.text;
    EXPECT_EQ(row.vsInt, CompareIntTextThreeWay(DynString(row.text), row.n)) << row.text;
  }
  // Joins of every operand pairing.
  const DynString abc("abc"), n("n="), empty, withNul = TextOf("d\0e"s);
  const std::pair<std::function<DynString()>, std::string> rows[] = {
      {[&] { return ConcatStringString(abc, withNul); }, "abcd\0e"s},  // NULs count by length
      {[&] { return ConcatStringCString(withNul, "!"); }, "d\0e!"s},
      {[] { return ConcatCStringCString("ab", "c\0d"); }, "abc"},
      {[&] { return ConcatCStringString("ab", abc); }, "ababc"},
      {[] { return ConcatIntCString(7, "x"); }, "7x"},
      {[&] { return ConcatIntString(-7, abc); }, "-7abc"},
      {[] { return ConcatDoubleCString(0.5, "s"); }, ".5s"},
      {[&] { return ConcatDoubleString(1e10, abc); }, "1.000000000e+10abc"},
      {[&] { return ConcatFloatString(0.1f, empty); }, ".1000000015"},
      {[] { return ConcatFloatCString(30.0f, " fps"); }, "30 fps"},
      {[] { return ConcatCStringFloat("Frames per Second: ", 30.0f); }, "Frames per Second: 30"},
      {[] { return ConcatCStringDouble("v", 0.1); }, "v.1"},  // an f64 is not widened
      {[&] { return ConcatStringFloat(n, 29.97f); }, "n=29.96999931"},
      {[&] { return ConcatStringDouble(empty, 0.0); }, "0"},
      {[&] { return ConcatStringInt(n, INT_MIN); }, "n=-2147483648"},
      {[] { return ConcatCStringInt("", -12); }, "-12"},
      {[] { return ConcatStringInt(TextOf("a\0b"s), 7); }, "a\0b7"s},
  };
  for (const auto& [join, expected] : rows) EXPECT_EQ(expected, BytesOf(join()));
  EXPECT_EQ("abc", BytesOf(abc));
  // Appends in place accept the text itself or a source inside its own buffer.
  DynString t;
  EXPECT_EQ(
      &t,
      &t.AppendCString("ab").AppendString(t).AppendNumber(1).AppendNumber(0.1f).AppendNumber(0.1));
  EXPECT_EQ("abab1.1000000015.1", BytesOf(t));
  DynString hello("hello");  // the append must grow, freeing the source's buffer
  hello.AppendCString(hello.data + 1);
  EXPECT_EQ("helloello", BytesOf(hello));
  DynString nul = TextOf("ab\0cd"s);
  nul.AppendString(nul);
  EXPECT_EQ("ab\0cdab\0cd"s, BytesOf(nul));
  DynString self("hello world");
  self.SetCString(self.data + 6);
  EXPECT_EQ("world", BytesOf(self));
  self.SetCString("");
  EXPECT_TRUE(self.IsSharedEmpty());
  // ReplaceAll goes left to right without searching the inserted text again.
  struct Replacement {
    std::string text, pattern, replacement, expected;
  };
  const Replacement replacements[] = {
      {"a.b.c", ".", " ", "a b c"},  {"aba", "a", "aa", "aabaa"},  {"ab", "ab", "abab", "abab"},
      {"abb", "ab", "xya", "xyab"},  {"abb", "ab", "xa", "xab"},   {"aaaa", "aa", "b", "bb"},
      {"aaa", "aa", "bb", "bba"},    {"abcabc", "abc", "", ""},    {"xabcabc", "abc", "", "x"},
      {"hello", "z", "y", "hello"},  {"", "a", "b", ""},           {"abc", "", "x", "abc"},
      {"A.B", ".", "\0"s, "A\0B"s},
      {"a.b\0.c"s, ".", "-", "a-b\0.c"s},  // the search ends at the text's NUL
      {"abXzcb", "b\0z"s, "-", "a-c-"},  // the pattern's length counts, clipped to the text
  };
  for (const Replacement& row : replacements) {
    const DynString result =
        ReplaceAllCommand(TextOf(row.text), TextOf(row.pattern), TextOf(row.replacement));
    EXPECT_EQ(row.expected, BytesOf(result)) << row.text << " / " << row.pattern;
  }
  const DynString text = TextOf(std::string(1 << 16, 'a'));
  const DynString huge = TextOf(std::string(1 << 16, 'b'));
  EXPECT_EQ(BytesOf(text), BytesOf(ReplaceAll(text, DynString("a"), huge)));  // would be 4 GiB
  // Substrings take clipped ranges.
  struct PartRow {
    std::string src;
    i32 start, count;
    std::string expected;
  };
  const PartRow parts[] = {
      {"hello", 1, 3, "ell"}, {"hello", 3, -1, "lo"}, {"hello", 3, 10, "lo"},
      {"hello", 0, 5, "hello"}, {"hello", 5, 1, ""}, {"hello", -1, 2, ""}, {"hello", 0, 0, ""},
      {"", 0, -1, ""}, {"hello", 1, INT_MAX, "ello"},
      {"hello", INT_MAX, INT_MAX, ""},  // start + count overflows i32
      {"a\0b\0c"s, 1, 3, "\0b\0"s},     // NUL bytes inside the length are ordinary characters
  };
  for (const PartRow& row : parts) {
    EXPECT_EQ(row.expected, BytesOf(Substring(TextOf(row.src), row.start, row.count)))
        << row.src << " " << row.start << " " << row.count;
  }
  const DynString mixed = TextOf("@AZ[`az{\x80\xC1\xE1\0q"s);  // the neighbours of both ranges
  EXPECT_EQ("@AZ[`AZ{\x80\xC1\xE1\0Q"s, BytesOf(ToUpperAscii(mixed)));
  EXPECT_EQ("@az[`az{\x80\xC1\xE1\0q"s, BytesOf(ToLowerAscii(mixed)));
  EXPECT_EQ("@AZ[`az{\x80\xC1\xE1\0q"s, BytesOf(mixed)) << "the copies leave their operand alone";
  DynString blank;  // must not write into the shared read-only empty text
  blank.ToUpper();
  // Search: all operand kinds follow the same rules.
  struct Search {
    const char* text;
    const char* pattern;
    i32 start, expected;
  };
  const Search searches[] = {
      {"abcabc", "c", 0, 2}, {"abcabc", "c", 3, 5}, {"abcabc", "abc", 1, 3}, {"abcabc", "c", 6, -1},
      {"abc", "", 3, 3},     {"abc", "", 4, -1},    {"abc", "a", -1, -1},    {"", "", 0, 0},
      {"abc", "abcd", 0, -1}, {"abc", "abc", INT_MAX, -1}, {"aAb", "A", 0, 1},
  };
  for (const Search& row : searches) {
    const DynString text(row.text), pattern(row.pattern);
    const std::string what = std::string(row.text) + "/" + row.pattern;
    EXPECT_EQ(row.expected, FindText(row.text, row.pattern, row.start)) << what;
    EXPECT_EQ(row.expected, FindText(row.text, pattern, row.start)) << what;
    EXPECT_EQ(row.expected, FindText(text, row.pattern, row.start)) << what;
    EXPECT_EQ(row.expected, FindText(text, pattern, row.start)) << what;
  }
  EXPECT_EQ(-1, FindText(TextOf("ab\0cd"s), "", 3));  // the text ends at its first NUL
  // Byte functions: membership, character codes, equality and hex text.
  EXPECT_STREQ("llo", FindFirstOf("hello", "lo"));
  EXPECT_STREQ("hello", FindFirstNotOf("hello", "lo"));
  EXPECT_EQ(nullptr, FindFirstNotOf("aaa", "a"));  // not the end of the text
  for (const auto& [code, byte] : {std::pair<i32, u32>{321, 65}, {0, 0}, {200, 200}, {-1, 255}}) {
    EXPECT_EQ(1u, CharToString(code).length) << code;  // the low eight bits, as an unsigned byte
    EXPECT_EQ(byte, DynStringFirstByte(CharToString(code))) << code;
  }
  EXPECT_EQ(0u, DynStringFirstByte(DynString()));
  const std::pair<std::string, std::string> unequal[] = {
      {"ab", "abc"}, {"ab", "aB"}, {"a\0b"s, "a\0c"s}};
  for (const auto& [a, b] : unequal)
    EXPECT_EQ(0, DynStringEquals(TextOf(a), TextOf(b))) << a << "/" << b;
  for (const std::string& a : {""s, "a\0b"s})
    EXPECT_EQ(1, DynStringEquals(TextOf(a), TextOf(a))) << a;
  const u8 bytes[] = {0x0F, 0xA0, 0x00, 0xFF, 0x9B};
  EXPECT_EQ("0FA000FF9B", BytesOf(BytesToHex(bytes, 5)));
  for (i32 count : {0, -5, INT_MAX})
    EXPECT_EQ("", BytesOf(BytesToHex(bytes, count))) << count;  // nothing read
  // A line from standard input drops only the line feed and splits long lines.
  std::FILE* in = std::tmpfile();
  const std::string input = "ok\r\n\n" + std::string(5000, 'x') + "\nlast";
  std::fwrite(input.data(), 1, input.size(), in);
  std::rewind(in);
  for (const std::string& expected :
       {"ok\r"s, ""s, std::string(4094, 'x'), std::string(906, 'x'), "last"s, ""s}) {
    EXPECT_EQ(expected, BytesOf(ReadStdinLine(in)));
  }
  std::fclose(in);
}

}  // namespace
