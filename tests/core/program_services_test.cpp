// The program's services as the core sees them: defaults until the program registers its own.
#include "core/program_services.h"
#include "tests/support/test_support.h"

namespace {

TEST(ProgramServices, DefaultsRegistrationAndMalformedTables) {
  EXPECT_STREQ("Jun 20 2009-19:13:10", GetBuildStamp().CStr());
  EXPECT_EQ(0, GetCallableTable().count);

  static const CallableFunction entries[] = {{[] {}, "First"}, {nullptr, "Second"}};
  ProgramServices services;
  services.buildStamp = [] { return DynString::FromCString("test build"); };
  services.callables = {entries, 2};
  RegisterProgramServices(services);
  EXPECT_STREQ("test build", GetBuildStamp().CStr());
  EXPECT_EQ(2, GetCallableTable().count);
  EXPECT_STREQ("Second", GetCallableTable().entries[1].name);

  for (const CallableTable table : {CallableTable{nullptr, 3}, CallableTable{entries, -1}}) {
    services.callables = table;
    RegisterProgramServices(services);
    EXPECT_EQ(0, GetCallableTable().count);
    EXPECT_EQ(nullptr, GetCallableTable().entries);
  }
  ResetProgramServicesForTests();
  EXPECT_STREQ("Jun 20 2009-19:13:10", GetBuildStamp().CStr());
}

}  // namespace
