// Joining texts with texts and numbers, appending and assigning in place, and replacing every
// occurrence of a text.
#include <climits>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "core/number_text_concat.h"
#include "core/text_concat.h"
#include "tests/support/test_support.h"

using namespace std::string_literals;

namespace {

TEST(ConcatText, EveryOperandPairing) {
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
      {[] { return ConcatCStringFloat("x", 1000.0f / 30.0f); }, "x33.33333206"},
      {[] { return ConcatCStringDouble("v", 0.1); }, "v.1"},  // an f64 is not widened
      {[&] { return ConcatStringFloat(n, 29.97f); }, "n=29.96999931"},
      {[&] { return ConcatStringDouble(empty, 0.0); }, "0"},
      {[&] { return ConcatStringInt(n, INT_MIN); }, "n=-2147483648"},
      {[] { return ConcatCStringInt("", -12); }, "-12"},
      {[] { return ConcatStringInt(TextOf("a\0b"s), 7); }, "a\0b7"s},
  };
  for (const auto& [join, expected] : rows) EXPECT_EQ(expected, BytesOf(join()));
  EXPECT_EQ("abc", BytesOf(abc));
}

TEST(AppendInPlace, AcceptsItselfOrASourceInsideItsOwnBuffer) {
  DynString t;
  EXPECT_EQ(&t, &t.AppendCString("ab").AppendString(t).AppendNumber(1).AppendNumber(0.1f).AppendNumber(0.1));
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
}

TEST(ReplaceAll, ReplacesLeftToRightWithoutResearchingInsertedText) {
  struct Row {
    std::string text, pattern, replacement, expected;
  };
  const Row rows[] = {
      {"a.b.c", ".", " ", "a b c"},  {"aba", "a", "aa", "aabaa"},  {"ab", "ab", "abab", "abab"},
      {"abb", "ab", "xya", "xyab"},  {"abb", "ab", "xa", "xab"},   {"aaaa", "aa", "b", "bb"},
      {"aaa", "aa", "bb", "bba"},    {"abcabc", "abc", "", ""},    {"xabcabc", "abc", "", "x"},
      {"hello", "z", "y", "hello"},  {"", "a", "b", ""},           {"abc", "", "x", "abc"},
      {"A.B", ".", "\0"s, "A\0B"s},
      {"a.b\0.c"s, ".", "-", "a-b\0.c"s},  // the search ends at the text's NUL
      {"abXzcb", "b\0z"s, "-", "a-c-"},  // the pattern's length counts, clipped to the text
  };
  for (const Row& row : rows) {
    const DynString result = ReplaceAllCommand(TextOf(row.text), TextOf(row.pattern), TextOf(row.replacement));
    EXPECT_EQ(row.expected, BytesOf(result)) << row.text << " / " << row.pattern;
  }
  const DynString text = TextOf(std::string(1 << 16, 'a'));
  const DynString huge = TextOf(std::string(1 << 16, 'b'));
  EXPECT_EQ(BytesOf(text), BytesOf(ReplaceAll(text, DynString("a"), huge)));  // would be 4 GiB
}

}  // namespace
