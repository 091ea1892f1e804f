// Calls by name over the program's table, external functions over the loaded-library table, and
// the movie stubs, with their exact messages.
#include "core/call_by_name.h"

#include <dlfcn.h>

#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "core/program_services.h"

namespace {

int calls = 0;

std::string Output(const std::function<void()>& fn) {
  testing::internal::CaptureStdout();
  fn();
  return testing::internal::GetCapturedStdout();
}

TEST(CallByName, SearchesTheProgramTableExactly) {
  static const CallableFunction entries[] = {
      {[] { calls += 1; }, "Tick"}, {nullptr, "Empty"}, {[] { calls += 10; }, "Tick"}, {[] { calls += 100; }, "Last"}};
  ProgramServices services;
  services.callables = {entries, 3};  // the search must stop before "Last"
  RegisterProgramServices(services);
  const struct {
    const char* name;
    f32 result;
    int calls;
  } rows[] = {{"Tick", 1.0f, 1}, {"tick", 0.0f, 0}, {"Empty", 0.0f, 0}, {"Last", 0.0f, 0}, {"", 0.0f, 0}};
  for (const auto& row : rows) {
    calls = 0;
    f32 result = -1;
    const std::string out = Output([&] { result = CallByName(DynString::FromCString(row.name)); });
    EXPECT_EQ(row.result, result) << row.name;
    EXPECT_EQ(row.calls, calls) << row.name;
    EXPECT_EQ(row.result == 0.0f ? "CALLBYNAME \"" + std::string(row.name) + "\" *** failed ***\n" : "", out);
  }
  EXPECT_EQ(entries[0].function, LookupFunctionByName(DynString::FromCString("Tick")));
  EXPECT_EQ(nullptr, LookupFunctionByName(DynString::FromBytes("Tick\0x", 6)));
  ResetProgramServicesForTests();
  EXPECT_EQ(nullptr, LookupFunctionByName(DynString::FromCString("Tick")));
}

TEST(CallByName, ExternalFunctionsByModule) {
  void* result = &result;
  DynString module = DynString::FromCString("SDL");
  EXPECT_EQ("DECLARE module not found: sdl\n",
            Output([&] { DeclareExternalFunction(module, DynString::FromCString("SDL_Init"), &result); }));
  EXPECT_STREQ("sdl", module.CStr());  // the caller's text is lower-cased
  EXPECT_EQ(nullptr, result);

  void* libm = dlopen("libm.so.6", RTLD_NOW);
  ASSERT_NE(nullptr, libm);
  loadedLibraries.handles.Append(libm);
  loadedLibraries.names.Append(DynString::FromCString("libm"));
  module.AssignCString("LibM");
  EXPECT_EQ("", Output([&] { DeclareExternalFunction(module, DynString::FromCString("cos"), &result); }));
  EXPECT_EQ(dlsym(libm, "cos"), result);
  EXPECT_NE(nullptr, result);
  DeclareExternalFunction(module, DynString::FromCString("no_such_symbol"), &result);
  EXPECT_EQ(nullptr, result);

  UnloadSharedLibraries();
  UnloadSharedLibraries();
  EXPECT_EQ(0, loadedLibraries.handles.count + loadedLibraries.names.count + loadedLibraries.handles.capacity);
}

TEST(CallByName, MovieStubs) {
  const std::string line = "PLAYMOVIE + LOOPMOVIE only on Win32 so far...\n";
  i32 result = -1;
  EXPECT_EQ(line, Output([&] { result = PlayMovieStub(); }));
  EXPECT_EQ(0, result);
  EXPECT_EQ(line + line, Output([] {
              PlayMovieCommand(DynString::FromCString("intro.avi"));
              LoopMovieCommand(DynString::FromCString("intro.avi"));
            }));
}

}  // namespace
