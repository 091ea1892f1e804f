// Parts of texts, case mapping, search, character codes, equality, hex text and line input.
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "core/text_functions.h"
#include "tests/core/text_bytes.h"

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
    const DynString part = Substring(TextOf(row.src), row.start, row.count);
    EXPECT_EQ(row.expected, BytesOf(part)) << row.src << " " << row.start << " " << row.count;
    EXPECT_EQ(row.expected.empty(), part.capacity == 0) << "an empty part owns nothing";
  }
}

TEST(CaseMapping, ChangesOnlyAsciiLetters) {
  const DynString mixed = TextOf("@AZ[`az{\x80\xC1\xE1\0q"s);  // the neighbours of both ranges
  EXPECT_EQ("@AZ[`AZ{\x80\xC1\xE1\0Q"s, BytesOf(ToUpperAscii(mixed)));
  EXPECT_EQ("@az[`az{\x80\xC1\xE1\0q"s, BytesOf(ToLowerAscii(mixed)));
  EXPECT_EQ("@AZ[`az{\x80\xC1\xE1\0q"s, BytesOf(mixed)) << "the copies leave their operand alone";
  DynString empty;  // must not write into the shared read-only empty text
  empty.ToUpper();
  EXPECT_STREQ("", empty.CStr());
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
      {"", "a", 0, -1},      {"abc", "abcd", 0, -1}, {"abc", "abc", INT_MAX, -1}, {"aAb", "A", 0, 1},
  };
  for (const Row& row : rows) {
    const DynString text(row.text), pattern(row.pattern);
    const std::string what = std::string(row.text) + "/" + row.pattern;
    EXPECT_EQ(row.expected, FindText(row.text, row.pattern, row.start)) << what;
    EXPECT_EQ(row.expected, FindText(row.text, pattern, row.start)) << what;
    EXPECT_EQ(row.expected, FindText(text, row.pattern, row.start)) << what;
    EXPECT_EQ(row.expected, FindText(text, pattern, row.start)) << what;
  }
  const DynString withNul = TextOf("ab\0cd"s);  // the text ends at its first NUL
  EXPECT_EQ(-1, FindText(withNul, "cd", 0));
  EXPECT_EQ(-1, FindText(withNul, "", 3));
}

TEST(FindFirstOf, ScansForMembersAndNonMembers) {
  struct Row {
    const char* s;
    const char* set;
    i32 firstOf, firstNotOf;  // index, or -1 for null
  };
  const Row rows[] = {{"hello", "lo", 2, 0}, {"hello", "", -1, 0}, {"", "a", -1, -1},
                      {"  x", " ", 0, 2},    {"aaa", "a", 0, -1},  {"\xE9z", "\xE9", 0, 1}};
  auto index = [](const char* s, const char* p) { return p ? static_cast<i32>(p - s) : -1; };
  for (const Row& row : rows) {
    EXPECT_EQ(row.firstOf, index(row.s, FindFirstOf(row.s, row.set))) << row.s << "/" << row.set;
    EXPECT_EQ(row.firstNotOf, index(row.s, FindFirstNotOf(row.s, row.set))) << row.s << "/" << row.set;
  }
}

TEST(CharacterCodes, UseTheLowEightBitsAsUnsignedBytes) {
  const std::pair<i32, u32> rows[] = {{65, 65}, {321, 65}, {0, 0}, {200, 200}, {-1, 255}};
  for (const auto& [code, byte] : rows) {
    const DynString c = CharToString(code);
    EXPECT_EQ(1u, c.length) << code;
    EXPECT_EQ(byte, DynStringFirstByte(c)) << code;
  }
  EXPECT_EQ(0u, DynStringFirstByte(DynString()));
}

TEST(DynStringEquals, ComparesLengthsAndEveryByte) {
  struct Row {
    std::string a, b;
    i32 equal;
  };
  const Row rows[] = {{"", "", 1},        {"ab", "abc", 0},        {"ab", "aB", 0},
                      {"ab", "ab", 1},    {"a\0b"s, "a\0c"s, 0},   {"a\0b"s, "a\0b"s, 1}};
  for (const Row& row : rows) {
    EXPECT_EQ(row.equal, DynStringEquals(TextOf(row.a), TextOf(row.b))) << row.a << "/" << row.b;
    EXPECT_EQ(row.equal, DynStringEquals(TextOf(row.b), TextOf(row.a))) << row.b << "/" << row.a;
  }
}

TEST(BytesToHex, WritesTwoUpperCaseDigitsPerByte) {
  const u8 pair[] = {0x0F, 0xA0};
  EXPECT_STREQ("0FA0", BytesToHex(pair, 2).CStr());
  EXPECT_EQ(0u, BytesToHex(pair, 0).capacity);
  EXPECT_EQ(0u, BytesToHex(pair, -5).capacity);
  EXPECT_EQ(0u, BytesToHex(pair, INT_MAX).length) << "refused before reading past the block";

  u8 all[256];
  for (int i = 0; i < 256; ++i) all[i] = static_cast<u8>(i);
  const DynString hex = BytesToHex(all, 256);
  ASSERT_EQ(512u, hex.length);
  for (int i = 0; i < 256; ++i) {
    const std::string digits(hex.data + 2 * i, 2);
    EXPECT_EQ(i, std::strtol(digits.c_str(), nullptr, 16)) << digits;
    EXPECT_EQ(digits, BytesOf(ToUpperAscii(DynString(digits.c_str()))));
  }
}

TEST(ReadStdinLine, DropsOnlyTheLineFeedAndSplitsLongLines) {
  std::FILE* in = std::tmpfile();
  const std::string input = "ok\r\n\n" + std::string(5000, 'x') + "\nlast";
  std::fwrite(input.data(), 1, input.size(), in);
  std::rewind(in);
  for (const std::string& expected :
       {"ok\r"s, ""s, std::string(4094, 'x'), std::string(906, 'x'), "last"s, ""s, ""s}) {
    EXPECT_EQ(expected, BytesOf(ReadStdinLine(in)));
  }
  std::fclose(in);
}

}  // namespace
