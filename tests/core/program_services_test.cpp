// The program's services as the core sees them: defaults until the program registers its own.
#include "core/program_services.h"
#include "tests/support/test_support.h"

namespace {

class ProgramServicesTest : public testing::Test {
 protected:
  void TearDown() override { ResetProgramServicesForTests(); }
};

int calls = 0;
void CountCall() { ++calls; }

TEST_F(ProgramServicesTest, DefaultsWithoutAProgram) {
  const DynString stamp = GetBuildStamp();
  EXPECT_STREQ("Jun 20 2009-19:13:10", stamp.CStr());
  EXPECT_EQ(20u, stamp.Length());
  const CallableTable table = GetCallableTable();
  EXPECT_EQ(nullptr, table.entries);
  EXPECT_EQ(0, table.count);
}

TEST_F(ProgramServicesTest, RegisteredServicesAreUsed) {
  static const CallableFunction entries[] = {{CountCall, "Count"}, {nullptr, "Nothing"}};
  ProgramServices services;
  services.buildStamp = [] { return DynString::FromCString("test build"); };
  services.callables = {entries, 2};
  RegisterProgramServices(services);
  EXPECT_STREQ("test build", GetBuildStamp().CStr());
  const CallableTable table = GetCallableTable();
  ASSERT_EQ(2, table.count);
  EXPECT_STREQ("Nothing", table.entries[1].name);
  calls = 0;
  table.entries[0].function();
  EXPECT_EQ(1, calls);
  ResetProgramServicesForTests();
  EXPECT_STREQ("Jun 20 2009-19:13:10", GetBuildStamp().CStr());
}

TEST_F(ProgramServicesTest, MalformedTablesAreEmpty) {
  static const CallableFunction entries[] = {{CountCall, "Count"}};
  const CallableTable rows[] = {{nullptr, 3}, {entries, -1}};
  for (const CallableTable& row : rows) {
    ProgramServices services;
    services.callables = row;
    RegisterProgramServices(services);
    EXPECT_EQ(0, GetCallableTable().count);
    EXPECT_EQ(nullptr, GetCallableTable().entries);
    EXPECT_STREQ("Jun 20 2009-19:13:10", GetBuildStamp().CStr());
  }
}

}  // namespace
