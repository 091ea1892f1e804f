// Constant data blocks: reads in order, conversions, rewinding and error 20.
#include "core/data_blocks.h"

#include "core/runtime_error.h"
#include "tests/support/test_support.h"

namespace {

const ReadDataItem kItems[] = {{-2.9f, nullptr}, {0, "12abc"}, {0, "abc"}, {0.5f, nullptr}, {0, "text"}, {3e9f, nullptr}};

TEST(DataBlocks, ConversionsInOrderThenError20) {
  i32 n = 0;
  f32 f = -1;
  DynString s("previous");
  currentDataCursor = nullptr;
  EXPECT_FATAL(kErrNoData, ReadDataFloat(&f));  // no block selected yet
  ReadDataCursor block{kItems, 6, 5};
  RestoreDataBlock(&block);  // rewinds
  EXPECT_EQ(-2, ReadDataInt(&n));
  EXPECT_EQ(-2, n);
  for (f32 expected : {12.0f, 0.0f}) {
    ReadDataFloat(&f);
    EXPECT_EQ(expected, f);
  }
  for (const char* text : {".5", "text"}) {
    ReadDataString(s);
    EXPECT_STREQ(text, s.data);
  }
  EXPECT_EQ(INT32_MAX, ReadDataInt(&n));  // beyond the i32 range: saturated
  EXPECT_FATAL(kErrNoData, ReadDataInt(&n));
  EXPECT_FATAL(kErrNoData, ReadDataString(s));
  EXPECT_EQ(6, block.next);  // a failed read does not move
  ReadDataCursor empty{kItems, 0, 0};
  RestoreDataBlock(&empty);
  EXPECT_FATAL(kErrNoData, ReadDataFloat(&f));
  currentDataCursor = nullptr;
}

}  // namespace
