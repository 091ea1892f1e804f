// String arrays: splitting texts at delimiter characters and appending.
#include "core/string_array.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/runtime_error.h"
#include "tests/support/test_support.h"

namespace {

std::vector<std::string> Parts(StringArray& a) {
  std::vector<std::string> out;
  for (i32 i = 0; i < a.dim[0]; ++i) out.emplace_back(a.At(i).data, a.At(i).length);
  return out;
}

DynString Text(const std::string& s) { return DynString::FromBytes(s.data(), static_cast<u32>(s.size())); }

TEST(SplitString, Parts) {
  const struct {
    std::string text;
    std::string delimiters;
    std::vector<std::string> parts;
  } rows[] = {
      {",a,,bc,", ",", {"a", "bc"}},
      {"", ",", {}},
      {",,,", ",", {}},
      {"abc", "", {"abc"}},
      {"one two;three", " ;", {"one", "two", "three"}},
      {"x", ",", {"x"}},
      {std::string("a\0b,c", 5), ",", {std::string("a\0b", 3), "c"}},  // a NUL in the text is data
      {std::string("a\0b", 3), std::string("\0", 1), {"a", "b"}},
  };
  for (const auto& row : rows) {
    StringArray a;
    const i32 n = SplitString(Text(row.text), a, Text(row.delimiters));
    EXPECT_EQ(static_cast<i32>(row.parts.size()), n) << row.text;
    EXPECT_EQ(row.parts, Parts(a)) << row.text;
  }
}

TEST(SplitString, ReplacesWhatTheArrayHeld) {
  StringArray a;
  a.Redim(3, 2);
  a.At(0, 0) = DynString::FromCString("old");
  EXPECT_EQ(2, SplitString(DynString::FromCString("p q"), a, DynString::FromCString(" ")));
  EXPECT_EQ(0, a.dim[1]);
  EXPECT_EQ(1, a.dimCount);
  EXPECT_EQ((std::vector<std::string>{"p", "q"}), Parts(a));
}

TEST(SplitString, TextTakenFromTheArrayItself) {
  StringArray a;
  PushStringArray(a, DynString::FromCString("k=v"));
  PushStringArray(a, DynString::FromCString("="));
  EXPECT_EQ(2, SplitString(a.At(0), a, a.At(1)));
  EXPECT_EQ((std::vector<std::string>{"k", "v"}), Parts(a));
}

TEST(PushStringArray, AppendsCopiesToOneDimensionOnly) {
  StringArray a;
  DynString s = DynString::FromCString("first");
  PushStringArray(a, s);
  s.AssignCString("second");
  PushStringArray(a, s);
  EXPECT_EQ((std::vector<std::string>{"first", "second"}), Parts(a));
  a.Redim(2, 2);
  EXPECT_FATAL(kErrAppend, PushStringArray(a, s));
}

}  // namespace
