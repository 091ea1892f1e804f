// String arrays: splitting texts at delimiter characters and appending.
#include "core/string_array.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/runtime_error.h"
#include "tests/support/test_support.h"

namespace {

DynString Text(const std::string& s) { return DynString::FromBytes(s.data(), static_cast<u32>(s.size())); }

std::vector<std::string> Parts(StringArray& a) {
  std::vector<std::string> out;
  for (i32 i = 0; i < a.dim[0]; ++i) out.emplace_back(a.At(i).data, a.At(i).length);
  return out;
}

TEST(SplitString, Parts) {
  const struct {
    std::string text, delimiters;
    std::vector<std::string> parts;
  } rows[] = {
      {",a,,bc,", ",", {"a", "bc"}},
      {"", ",", {}},
      {",,,", ",", {}},
      {"abc", "", {"abc"}},
      {"one two;three", " ;", {"one", "two", "three"}},
      {std::string("a\0b,c", 5), ",", {std::string("a\0b", 3), "c"}},  // a NUL in the text is data
      {std::string("a\0b", 3), std::string("\0", 1), {"a", "b"}},
  };
  for (const auto& row : rows) {
    StringArray a;
    a.Redim(3, 2);  // whatever the array held goes
    EXPECT_EQ(static_cast<i32>(row.parts.size()), SplitString(Text(row.text), a, Text(row.delimiters)));
    EXPECT_EQ(row.parts, Parts(a)) << row.text;
  }
}

TEST(SplitString, TextsTakenFromTheArrayItself) {
  StringArray a;
  PushStringArray(a, DynString::FromCString("k=v"));
  PushStringArray(a, DynString::FromCString("="));
  EXPECT_EQ(2, SplitString(a.At(0), a, a.At(1)));
  EXPECT_EQ((std::vector<std::string>{"k", "v"}), Parts(a));
  a.Redim(2, 2);
  EXPECT_FATAL(kErrAppend, PushStringArray(a, DynString::FromCString("x")));
}

}  // namespace
