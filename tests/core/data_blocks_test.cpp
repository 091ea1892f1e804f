// Constant data blocks: reads in order, conversions, rewinding and error 20.
#include "core/data_blocks.h"

#include <gtest/gtest.h>

#include "core/runtime_error.h"
#include "tests/support/test_support.h"

namespace {

const ReadDataItem kItems[] = {
    {2.9f, nullptr}, {-2.9f, nullptr}, {0.0f, "12abc"}, {0.0f, "abc"}, {0.5f, nullptr}, {100.0f, nullptr},
    {0.0f, "text"},  {3e9f, nullptr},
};

class DataBlocks : public ::testing::Test {
 protected:
  void SetUp() override { currentDataCursor = nullptr; }
  void TearDown() override { currentDataCursor = nullptr; }
  ReadDataCursor block{kItems, 8, 0};
};

TEST_F(DataBlocks, ReadBeforeAnyBlockIsError20) {
  f32 f = 0;
  i32 n = 0;
  DynString s;
  EXPECT_FATAL(kErrNoData, ReadDataFloat(&f));
  EXPECT_FATAL(kErrNoData, ReadDataInt(&n));
  EXPECT_FATAL(kErrNoData, ReadDataString(s));
}

TEST_F(DataBlocks, ConversionsInOrder) {
  RestoreDataBlock(&block);
  i32 n = 0;
  EXPECT_EQ(2, ReadDataInt(&n));
  EXPECT_EQ(2, n);
  EXPECT_EQ(-2, ReadDataInt(&n));
  f32 f = -1;
  ReadDataFloat(&f);
  EXPECT_EQ(12.0f, f);
  ReadDataFloat(&f);
  EXPECT_EQ(0.0f, f);
  DynString s = DynString::FromCString("previous");
  ReadDataString(s);
  EXPECT_STREQ(".5", s.data);
  ReadDataString(s);
  EXPECT_STREQ("100", s.data);
  ReadDataString(s);
  EXPECT_STREQ("text", s.data);
  EXPECT_EQ(INT32_MAX, ReadDataInt(&n));  // beyond the i32 range: saturated, no trap
  EXPECT_EQ(8, block.next);
}

TEST_F(DataBlocks, ExhaustedBlockAndRewind) {
  ReadDataCursor three{kItems, 3, 0};
  RestoreDataBlock(&three);
  f32 f = 0;
  for (int n = 0; n < 3; ++n) ReadDataFloat(&f);
  EXPECT_FATAL(kErrNoData, ReadDataFloat(&f));
  EXPECT_EQ(3, three.next);  // a failed read does not move

  RestoreDataBlock(&three);
  ReadDataFloat(&f);
  EXPECT_EQ(2.9f, f);

  // Selecting another block starts it from its first item; reads never roll over.
  block.next = 5;
  RestoreDataBlock(&block);
  ReadDataFloat(&f);
  EXPECT_EQ(2.9f, f);
  EXPECT_EQ(1, three.next);

  ReadDataCursor empty{kItems, 0, 0};
  RestoreDataBlock(&empty);
  EXPECT_FATAL(kErrNoData, ReadDataFloat(&f));
}

}  // namespace
