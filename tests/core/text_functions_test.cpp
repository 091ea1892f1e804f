// Parts of texts, case mapping, search, character codes, equality, hex text and line input.
#include <climits>
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "core/text_functions.h"
#include "tests/support/test_support.h"

using namespace std::string_literals;

namespace {

TEST(Substring, TakesClippedRanges) {
  struct Row {
    std::string src;
    i32 start, count;
    std::string expected;
  };
  const Row rows[] = {
      {"hello", 1, 3, "ell"}, {"hello", 3, -1, "lo"}, {"hello", 3, 10, "lo"}, {"hello", 0, 5, "hello"},
      {"hello", 5, 1, ""},    {"hello", -1, 2, ""},   {"hello", 0, 0, ""},    {"", 0, -1, ""},
      {"hello", 1, INT_MAX, "ello"}, {"hello", INT_MAX, INT_MAX, ""},  // start + count overflows i32
      {"a\0b\0c"s, 1, 3, "\0b\0"s},  // NUL bytes inside the length are ordinary characters
  };
  for (const Row& row : rows) {
    EXPECT_EQ(row.expected, BytesOf(Substring(TextOf(row.src), row.start, row.count)))
        << row.src << " " << row.start << " " << row.count;
  }
}

TEST(CaseMapping, ChangesOnlyAsciiLetters) {
  const DynString mixed = TextOf("@AZ[`az{\x80\xC1\xE1\0q"s);  // the neighbours of both ranges
  EXPECT_EQ("@AZ[`AZ{\x80\xC1\xE1\0Q"s, BytesOf(ToUpperAscii(mixed)));
  EXPECT_EQ("@az[`az{\x80\xC1\xE1\0q"s, BytesOf(ToLowerAscii(mixed)));
  EXPECT_EQ("@AZ[`az{\x80\xC1\xE1\0q"s, BytesOf(mixed)) << "the copies leave their operand alone";
  DynString empty;  // must not write into the shared read-only empty text
  empty.ToUpper();
}

TEST(FindText, AllOperandKindsFollowTheSameRules) {
  struct Row {
    const char* text;
    const char* pattern;
    i32 start, expected;
  };
  const Row rows[] = {
      {"abcabc", "c", 0, 2}, {"abcabc", "c", 3, 5}, {"abcabc", "abc", 1, 3}, {"abcabc", "c", 6, -1},
      {"abc", "", 3, 3},     {"abc", "", 4, -1},    {"abc", "a", -1, -1},    {"", "", 0, 0},
      {"abc", "abcd", 0, -1}, {"abc", "abc", INT_MAX, -1}, {"aAb", "A", 0, 1},
  };
  for (const Row& row : rows) {
    const DynString text(row.text), pattern(row.pattern);
    const std::string what = std::string(row.text) + "/" + row.pattern;
    EXPECT_EQ(row.expected, FindText(row.text, row.pattern, row.start)) << what;
    EXPECT_EQ(row.expected, FindText(row.text, pattern, row.start)) << what;
    EXPECT_EQ(row.expected, FindText(text, row.pattern, row.start)) << what;
    EXPECT_EQ(row.expected, FindText(text, pattern, row.start)) << what;
  }
  EXPECT_EQ(-1, FindText(TextOf("ab\0cd"s), "", 3));  // the text ends at its first NUL
}

TEST(FindFirstOf, ScansForMembersAndNonMembers) {
  const char* rows[][4] = {{"hello", "lo", "llo", "hello"}, {"", "a", nullptr, nullptr}, {"aaa", "a", "aaa", nullptr}};
  for (const auto& row : rows) {
    const char* firstOf = FindFirstOf(row[0], row[1]);
    const char* firstNotOf = FindFirstNotOf(row[0], row[1]);
    EXPECT_STREQ(row[2], firstOf) << row[0];
    EXPECT_STREQ(row[3], firstNotOf) << row[0];
  }
}

TEST(ByteFunctions, CodesEqualityAndHex) {
  for (const auto& [code, byte] : {std::pair<i32, u32>{321, 65}, {0, 0}, {200, 200}, {-1, 255}}) {
    EXPECT_EQ(1u, CharToString(code).length) << code;  // the low eight bits, as an unsigned byte
    EXPECT_EQ(byte, DynStringFirstByte(CharToString(code))) << code;
  }
  EXPECT_EQ(0u, DynStringFirstByte(DynString()));
  const std::pair<std::string, std::string> unequal[] = {{"ab", "abc"}, {"ab", "aB"}, {"a\0b"s, "a\0c"s}};
  for (const auto& [a, b] : unequal) EXPECT_EQ(0, DynStringEquals(TextOf(a), TextOf(b))) << a << "/" << b;
  for (const std::string& a : {""s, "a\0b"s}) EXPECT_EQ(1, DynStringEquals(TextOf(a), TextOf(a))) << a;
  const u8 bytes[] = {0x0F, 0xA0, 0x00, 0xFF, 0x9B};
  EXPECT_EQ("0FA000FF9B", BytesOf(BytesToHex(bytes, 5)));
  for (i32 count : {0, -5, INT_MAX}) EXPECT_EQ("", BytesOf(BytesToHex(bytes, count))) << count;  // nothing read
}

TEST(ReadStdinLine, DropsOnlyTheLineFeedAndSplitsLongLines) {
  std::FILE* in = std::tmpfile();
  const std::string input = "ok\r\n\n" + std::string(5000, 'x') + "\nlast";
  std::fwrite(input.data(), 1, input.size(), in);
  std::rewind(in);
  for (const std::string& expected : {"ok\r"s, ""s, std::string(4094, 'x'), std::string(906, 'x'), "last"s, ""s}) {
    EXPECT_EQ(expected, BytesOf(ReadStdinLine(in)));
  }
  std::fclose(in);
}

}  // namespace
