// Joining texts, appending and assigning in place, and replacing every occurrence of a text.
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "core/text_concat.h"
#include "tests/core/text_bytes.h"

using namespace std::string_literals;

namespace {

TEST(ConcatText, StartsFromTheLeftOperandsConstructionAndGrowsOnce) {
  const DynString abc("abc"), defgh("defgh"), empty, withNul = TextOf("d\0e"s);
  struct Row {
    std::function<DynString()> join;
    std::string expected;
    u32 capacity;
  };
  const Row rows[] = {
      {[&] { return ConcatStringString(abc, defgh); }, "abcdefgh", 12},
      {[&] { return ConcatStringCString(abc, "defgh"); }, "abcdefgh", 12},
      {[] { return ConcatCStringCString("ab", "c"); }, "abc", 4},  // the copy has room
      {[&] { return ConcatCStringString("ab", abc); }, "ababc", 8},
      {[] { return ConcatIntCString(7, "x"); }, "7x", 20},
      {[&] { return ConcatIntString(-7, abc); }, "-7abc", 20},
      {[] { return ConcatDoubleCString(0.5, "s"); }, ".5s", 68},
      {[&] { return ConcatDoubleString(1e10, abc); }, "1.000000000e+10abc", 68},
      {[&] { return ConcatFloatString(0.1f, empty); }, ".1000000015", 68},
      {[] { return ConcatFloatCString(30.0f, " fps"); }, "30 fps", 68},
      {[&] { return ConcatStringString(empty, empty); }, "", 0},
      {[&] { return ConcatStringString(abc, withNul); }, "abcd\0e"s, 8},
      {[] { return ConcatCStringCString("ab", "c\0d"); }, "abc", 4},
      {[&] { return ConcatStringCString(withNul, "!"); }, "d\0e!"s, 8},
      {[&] { return ConcatStringString(abc, abc); }, "abcabc", 8},
  };
  for (const Row& row : rows) {
    const DynString joined = row.join();
    EXPECT_EQ(row.expected, BytesOf(joined));
    EXPECT_EQ(row.capacity, joined.capacity) << BytesOf(joined);
  }
  EXPECT_STREQ("abc", abc.CStr());
}

TEST(AppendInPlace, AcceptsItselfOrASourceInsideItsOwnBuffer) {
  DynString t;
  t.AppendCString("");
  EXPECT_EQ(0u, t.capacity) << "an empty append keeps the shared empty text";
  EXPECT_EQ(&t, &t.AppendCString("ab").AppendString(t));
  EXPECT_EQ("abab"s, BytesOf(t));
  DynString hello("hello");  // capacity 8: the append must grow, freeing the source's buffer
  hello.AppendCString(hello.data + 1);
  EXPECT_STREQ("helloello", hello.CStr());
  DynString nul = TextOf("ab\0cd"s);
  nul.AppendString(nul);
  EXPECT_EQ("ab\0cdab\0cd"s, BytesOf(nul));
}

TEST(SetCString, AllocatesExactlyTheTextAndItsNul) {
  DynString t("something longer");
  t.SetCString("abc");
  EXPECT_EQ("abc"s, BytesOf(t));
  EXPECT_EQ(4u, t.capacity);
  t.SetCString("");
  EXPECT_TRUE(t.IsSharedEmpty());
  DynString self("hello world");
  self.SetCString(self.data + 6);
  EXPECT_EQ("world"s, BytesOf(self));
  EXPECT_EQ(6u, self.capacity);
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
      {"ab", "b\0zz"s, "WXYZ", "aWXYZ"},   // the pattern's length counts, clipped to the text
  };
  for (const Row& row : rows) {
    const DynString text = TextOf(row.text);
    const DynString result = ReplaceAll(text, TextOf(row.pattern), TextOf(row.replacement));
    EXPECT_EQ(row.expected, BytesOf(result)) << row.text << " / " << row.pattern;
    EXPECT_EQ(row.expected.empty(), result.capacity == 0) << row.text << " / " << row.pattern;
  }
  EXPECT_EQ("a b"s, BytesOf(ReplaceAllCommand(DynString("a.b"), DynString("."), DynString(" "))));
}

TEST(ReplaceAll, RefusesAResultBeyondTheLongestText) {
  const DynString text = TextOf(std::string(1 << 16, 'a'));
  const DynString huge = TextOf(std::string(1 << 16, 'b'));
  EXPECT_EQ(BytesOf(text), BytesOf(ReplaceAll(text, DynString("a"), huge)));  // would be 4 GiB
}

}  // namespace
