// Parts of texts, case mapping, search, character codes, equality, hex text and line input.
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "core/runtime_globals.h"
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
      {"hello", 1, 3, "ell"},     {"hello", 3, -1, "lo"},    {"hello", 3, 10, "lo"},
      {"hello", 0, 5, "hello"},   {"hello", 4, 1, "o"},      {"hello", 5, 1, ""},
      {"hello", -1, 2, ""},       {"hello", 0, 0, ""},       {"hello", 6, -1, ""},
      {"hello", 1, INT_MAX, "ello"},  // start + count overflows 32 bits
      {"hello", INT_MAX, INT_MAX, ""},  {"hello", INT_MIN, 3, ""},
      {"a\0b\0c"s, 1, 3, "\0b\0"s},     // NUL bytes inside the length are ordinary characters
      {"", 0, -1, ""},
  };
  for (const Row& row : rows) {
    const DynString src = TextOf(row.src);
    const DynString part = Substring(src, row.start, row.count);
    EXPECT_EQ(row.expected, BytesOf(part)) << row.src << " " << row.start << " " << row.count;
    if (row.expected.empty()) {
      EXPECT_EQ(0u, part.capacity) << "an empty part owns nothing";
    }
    EXPECT_EQ(row.src, BytesOf(src));
  }
}

TEST(CaseMapping, ChangesOnlyAsciiLetters) {
  const DynString mixed = TextOf("aZ9\xE9 q\0x"s);
  EXPECT_EQ("AZ9\xE9 Q\0X"s, BytesOf(ToUpperAscii(mixed)));
  EXPECT_EQ("az9\xE9 q\0x"s, BytesOf(ToLowerAscii(mixed)));
  EXPECT_EQ("aZ9\xE9 q\0x"s, BytesOf(mixed)) << "the copying forms leave their operand alone";

  DynString all = TextOf("@AZ[`az{\x80\xC1\xE1");  // the neighbours of both letter ranges
  all.ToLower();
  EXPECT_EQ("@az[`az{\x80\xC1\xE1", BytesOf(all));
  all.ToUpper();
  EXPECT_EQ("@AZ[`AZ{\x80\xC1\xE1", BytesOf(all));

  DynString empty;  // must not write into the shared read-only empty text
  empty.ToUpper();
  empty.ToLower();
  EXPECT_STREQ("", empty.CStr());
}

TEST(FindText, AllOperandKindsFollowTheSameRules) {
  struct Row {
    const char* text;
    const char* pattern;
    i32 start;
    i32 expected;
  };
  const Row rows[] = {
      {"abcabc", "c", 0, 2},   {"abcabc", "c", 3, 5},   {"abcabc", "abc", 1, 3},
      {"abcabc", "c", 6, -1},  {"abc", "", 3, 3},       {"abc", "", 4, -1},
      {"abc", "a", -1, -1},    {"", "", 0, 0},          {"", "a", 0, -1},
      {"abc", "d", 0, -1},     {"abc", "abcd", 0, -1},  {"abc", "abc", INT_MAX, -1},
      {"aAb", "A", 0, 1},
  };
  for (const Row& row : rows) {
    const DynString text(row.text);
    const DynString pattern(row.pattern);
    EXPECT_EQ(row.expected, FindText(row.text, row.pattern, row.start)) << row.text << "/" << row.pattern;
    EXPECT_EQ(row.expected, FindText(row.text, pattern, row.start)) << row.text << "/" << row.pattern;
    EXPECT_EQ(row.expected, FindText(text, row.pattern, row.start)) << row.text << "/" << row.pattern;
    EXPECT_EQ(row.expected, FindText(text, pattern, row.start)) << row.text << "/" << row.pattern;
  }
}

TEST(FindText, ANulInsideTheLengthEndsTheText) {
  const DynString text = TextOf("ab\0cd"s);
  EXPECT_EQ(-1, FindText(text, "cd", 0));
  EXPECT_EQ(2, FindText(text, "", 2));
  EXPECT_EQ(-1, FindText(text, "", 3)) << "the view ends before position 3";
}

TEST(FindFirstOf, ScansForMembersAndNonMembers) {
  struct Row {
    const char* s;
    const char* set;
    i32 firstOf;     // index, or -1 for null
    i32 firstNotOf;
  };
  const Row rows[] = {
      {"hello", "lo", 2, 0}, {"hello", "xyz", -1, 0}, {"hello", "", -1, 0},
      {"", "a", -1, -1},     {"  x", " ", 0, 2},      {"aaa", "a", 0, -1},
      {"\xE9z", "\xE9", 0, 1},
  };
  auto index = [](const char* s, const char* p) { return p ? static_cast<i32>(p - s) : -1; };
  for (const Row& row : rows) {
    EXPECT_EQ(row.firstOf, index(row.s, FindFirstOf(row.s, row.set))) << row.s << "/" << row.set;
    EXPECT_EQ(row.firstNotOf, index(row.s, FindFirstNotOf(row.s, row.set))) << row.s << "/" << row.set;
  }
}

TEST(CharacterCodes, UseTheLowEightBitsAsUnsignedBytes) {
  struct Row {
    i32 code;
    u32 byte;
  };
  for (const Row& row : {Row{65, 65}, Row{321, 65}, Row{0, 0}, Row{200, 200}, Row{-1, 255},
                         Row{INT_MIN, 0}}) {
    const DynString c = CharToString(row.code);
    EXPECT_EQ(1u, c.length) << row.code;
    EXPECT_EQ(row.byte, DynStringFirstByte(c)) << row.code;
  }
  EXPECT_EQ(0u, DynStringFirstByte(DynString()));
}

TEST(DynStringEquals, ComparesLengthsAndEveryByte) {
  struct Row {
    std::string a, b;
    i32 equal;
  };
  const Row rows[] = {
      {"", "", 1},           {"ab", "abc", 0},          {"ab", "ab", 1},
      {"ab", "aB", 0},       {"a\0b"s, "a\0c"s, 0},     {"a\0b"s, "a"s, 0},
      {"a\0b"s, "a\0b"s, 1},
  };
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

TEST(BytesToHex, RefusesACountWhoseTextCannotExist) {
  const u8 one = 0x42;  // only one byte is readable: a refusal must not touch the rest
  EXPECT_EQ(0u, BytesToHex(&one, INT_MAX).length);
}

// A temporary stream holding the given bytes, rewound.
std::FILE* StreamOf(const std::string& bytes) {
  std::FILE* f = std::tmpfile();
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::rewind(f);
  return f;
}

TEST(ReadStdinLine, DropsOnlyTheLineFeed) {
  std::FILE* in = StreamOf("ok\r\n\nnext\nlast");
  for (const std::string expected : {"ok\r", "", "next", "last", "", ""}) {
    EXPECT_EQ(expected, BytesOf(ReadStdinLine(in)));
  }
  std::fclose(in);
}

TEST(ReadStdinLine, ReturnsALongLineInPieces) {
  std::FILE* in = StreamOf(std::string(5000, 'x') + "\n");
  EXPECT_EQ(4094u, ReadStdinLine(in).length);
  EXPECT_EQ(std::string(906, 'x'), BytesOf(ReadStdinLine(in)));
  EXPECT_EQ(0u, ReadStdinLine(in).length);
  std::fclose(in);
}

TEST(CopyCommandLine, IsAnIndependentCopy) {
  const DynString saved(commandLine);
  commandLine.AssignCString("game -x ");
  DynString copy = CopyCommandLine();
  EXPECT_STREQ("game -x ", copy.CStr());
  EXPECT_NE(commandLine.data, copy.data);
  copy.ToUpper();
  EXPECT_STREQ("game -x ", commandLine.CStr());
  commandLine = saved;
}

}  // namespace
