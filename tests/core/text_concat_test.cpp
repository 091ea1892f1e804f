// Joining texts, appending and assigning in place, and replacing every occurrence of a text.
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "core/text_concat.h"
#include "tests/core/text_bytes.h"

using namespace std::string_literals;

namespace {

TEST(ConcatText, StartsFromTheLeftOperandsConstructionAndGrowsOnce) {
  const DynString abc("abc");
  const DynString defgh("defgh");
  const DynString empty;
  const DynString withNul = TextOf("d\0e"s);
  struct Row {
    const char* name;
    std::function<DynString()> join;
    std::string expected;
    u32 capacity;
  };
  const Row rows[] = {
      {"abc+defgh", [&] { return ConcatStringString(abc, defgh); }, "abcdefgh", 12},
      {"abc+\"defgh\"", [&] { return ConcatStringCString(abc, "defgh"); }, "abcdefgh", 12},
      {"\"ab\"+\"c\" fits", [] { return ConcatCStringCString("ab", "c"); }, "abc", 4},
      {"\"ab\"+abc", [&] { return ConcatCStringString("ab", abc); }, "ababc", 8},
      {"7+\"x\"", [] { return ConcatIntCString(7, "x"); }, "7x", 20},
      {"-7+abc", [&] { return ConcatIntString(-7, abc); }, "-7abc", 20},
      {"0.5+\"s\"", [] { return ConcatDoubleCString(0.5, "s"); }, ".5s", 68},
      {"1e10+abc", [&] { return ConcatDoubleString(1e10, abc); }, "1.000000000e+10abc", 68},
      {"0.1f+empty", [&] { return ConcatFloatString(0.1f, empty); }, ".1000000015", 68},
      {"3.3f+\"\"", [] { return ConcatFloatCString(3.3f, ""); }, "3.299999952", 68},
      {"30f+\" fps\"", [] { return ConcatFloatCString(30.0f, " fps"); }, "30 fps", 68},
      {"empty+empty", [&] { return ConcatStringString(empty, empty); }, "", 0},
      {"\"\"+\"\"", [] { return ConcatCStringCString("", ""); }, "", 0},
      {"text NUL kept", [&] { return ConcatStringString(abc, withNul); }, "abcd\0e"s, 8},
      {"C string ends at NUL", [] { return ConcatCStringCString("ab", "c\0d"); }, "abc", 4},
      {"NUL-holding left", [&] { return ConcatStringCString(withNul, "!"); }, "d\0e!"s, 8},
      {"self", [&] { return ConcatStringString(abc, abc); }, "abcabc", 8},
  };
  for (const Row& row : rows) {
    const DynString joined = row.join();
    EXPECT_EQ(row.expected, BytesOf(joined)) << row.name;
    EXPECT_EQ(row.capacity, joined.capacity) << row.name;
  }
  EXPECT_STREQ("abc", abc.CStr());
  EXPECT_STREQ("defgh", defgh.CStr());
}

TEST(AppendInPlace, GrowsByTheGrowthRule) {
  DynString t;
  t.AppendCString("");
  EXPECT_EQ(0u, t.capacity) << "an empty append keeps the shared empty text";
  EXPECT_EQ(&t, &t.AppendCString("ab"));
  EXPECT_EQ(4u, t.capacity);
  t.AppendString(t);
  EXPECT_STREQ("abab", t.CStr());
  EXPECT_EQ(8u, t.capacity);
  t.AppendString(TextOf("\0z"s));
  EXPECT_EQ("abab\0z"s, BytesOf(t));
}

TEST(AppendInPlace, AcceptsASourceInsideItsOwnBuffer) {
  DynString t("hello");  // capacity 8: the append must grow, freeing the source's buffer
  t.AppendCString(t.data + 1);
  EXPECT_STREQ("helloello", t.CStr());
  DynString u = TextOf("ab\0cd"s);
  u.AppendString(u);
  EXPECT_EQ("ab\0cdab\0cd"s, BytesOf(u));
}

TEST(SetCString, AllocatesExactlyTheTextAndItsNul) {
  DynString t("something longer");
  t.SetCString("abc");
  EXPECT_STREQ("abc", t.CStr());
  EXPECT_EQ(3u, t.length);
  EXPECT_EQ(4u, t.capacity);
  t.SetCString("");
  EXPECT_EQ(0u, t.capacity);
  EXPECT_EQ(0u, t.length);
  EXPECT_STREQ("", t.CStr());

  DynString self("hello world");
  self.SetCString(self.data + 6);
  EXPECT_STREQ("world", self.CStr());
  EXPECT_EQ(6u, self.capacity);
}

TEST(ReplaceAll, ReplacesLeftToRightWithoutResearchingInsertedText) {
  struct Row {
    std::string text, pattern, replacement, expected;
  };
  const Row rows[] = {
      {"a.b.c", ".", " ", "a b c"},
      {"aba", "a", "aa", "aabaa"},
      {"ab", "ab", "abab", "abab"},
      {"abb", "ab", "xya", "xyab"},
      {"abb", "ab", "xa", "xab"},
      {"aaaa", "aa", "b", "bb"},
      {"aaa", "aa", "bb", "bba"},
      {"abcabc", "abc", "", ""},
      {"xabcabc", "abc", "", "x"},
      {"hello", "z", "y", "hello"},
      {"", "a", "b", ""},
      {"abc", "", "x", "abc"},  // an empty pattern leaves the text alone
      {"abc", "", "", "abc"},
      {"A.B", ".", "\0"s, "A\0B"s},
      {"a.b\0.c"s, ".", "-", "a-b\0.c"s},  // the search ends at the text's NUL
      {"ab", "b\0zz"s, "WXYZ", "aWXYZ"},   // the pattern's length counts, clipped to the text
  };
  for (const Row& row : rows) {
    const DynString text = TextOf(row.text);
    const DynString pattern = TextOf(row.pattern);
    const DynString replacement = TextOf(row.replacement);
    const DynString result = ReplaceAll(text, pattern, replacement);
    EXPECT_EQ(row.expected, BytesOf(result)) << row.text << " / " << row.pattern;
    EXPECT_EQ(row.expected, BytesOf(ReplaceAllCommand(text, pattern, replacement)));
    if (row.expected.empty()) {
      EXPECT_EQ(0u, result.capacity);
    }
    EXPECT_EQ(row.text, BytesOf(text));
  }
}

TEST(ReplaceAll, EqualLengthsKeepTheCopysCapacity) {
  const DynString text("a.b.c");
  EXPECT_EQ(DynString(text).capacity, ReplaceAll(text, DynString("."), DynString(" ")).capacity);
}

TEST(ReplaceAll, RefusesAResultBeyondTheLongestText) {
  const DynString text = TextOf(std::string(1 << 16, 'a'));
  const DynString huge = TextOf(std::string(1 << 16, 'b'));
  const DynString result = ReplaceAll(text, DynString("a"), huge);  // would be 4 GiB
  EXPECT_EQ(BytesOf(text), BytesOf(result));
}

}  // namespace
