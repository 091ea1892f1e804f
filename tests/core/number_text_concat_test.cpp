// Text followed by a number's text, joined or appended in place.
#include <climits>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "core/number_text_concat.h"
#include "tests/core/text_bytes.h"

using namespace std::string_literals;

namespace {

TEST(ConcatNumberRight, UsesTheNumberConstructorsText) {
  const DynString empty;
  const DynString label("n=");
  const DynString ab("ab");
  const f32 frameMs = 1000.0f / 30.0f;
  struct Row {
    const char* name;
    std::function<DynString()> join;
    std::string expected;
  };
  const Row rows[] = {
      {"fps", [] { return ConcatCStringFloat("Frames per Second: ", 30.0f); }, "Frames per Second: 30"},
      {"frame", [&] { return ConcatCStringFloat("Time per Frame   : ", frameMs); },
       "Time per Frame   : 33.33333206"},
      {"x.5", [] { return ConcatCStringDouble("x", 0.5); }, "x.5"},
      {"x-.5", [] { return ConcatCStringDouble("x", -0.5); }, "x-.5"},
      {"exponent", [] { return ConcatCStringDouble("x", 12345678901.0); }, "x1.234567890e+10"},
      {"f32 widened", [] { return ConcatCStringFloat("v", 0.1f); }, "v.1000000015"},
      {"f64 kept", [] { return ConcatCStringDouble("v", 0.1); }, "v.1"},
      {"empty+0", [&] { return ConcatStringInt(empty, 0); }, "0"},
      {"INT_MIN", [&] { return ConcatStringInt(label, INT_MIN); }, "n=-2147483648"},
      {"empty+0.0", [&] { return ConcatStringDouble(empty, 0.0); }, "0"},
      {"29.97f", [&] { return ConcatStringFloat(label, 29.97f); }, "n=29.96999931"},
      {"C string int", [] { return ConcatCStringInt("", -12); }, "-12"},
      {"NUL kept", [] { return ConcatStringInt(TextOf("a\0b"s), 7); }, "a\0b7"s},
  };
  for (const Row& row : rows) EXPECT_EQ(row.expected, BytesOf(row.join())) << row.name;
  EXPECT_STREQ("n=", label.CStr());
  EXPECT_EQ(4u, ConcatStringInt(ab, 5).capacity) << "the copy of \"ab\" already has room";
}

TEST(AppendNumber, AppendsInPlaceAndReturnsTheTarget) {
  DynString t("ab");
  EXPECT_EQ(&t, &t.AppendNumber(1));
  EXPECT_EQ(&t, &t.AppendNumber(2));
  EXPECT_STREQ("ab12", t.CStr());
  t.AppendNumber(0.1f).AppendNumber(0.1);
  EXPECT_STREQ("ab12.1000000015.1", t.CStr());

  DynString self("x");
  self = ConcatStringInt(self, 5);  // a variable receiving its own join
  EXPECT_STREQ("x5", self.CStr());
}

}  // namespace
