// Calls by name over the program's table, external functions over the loaded-library table, and
// the movie stubs, with their exact messages.
#include "core/call_by_name.h"

#include <dlfcn.h>

#include <string>

#include <gtest/gtest.h>

#include "core/program_services.h"

namespace {

int calls = 0;

template <class Fn>
std::string Output(Fn fn) {
  testing::internal::CaptureStdout();
  fn();
  return testing::internal::GetCapturedStdout();
}

TEST(CallByName, SearchesTheProgramTableExactly) {
  static const CallableFunction entries[] = {
      {[] { calls += 1; }, "Tick"}, {nullptr, "Empty"}, {[] { calls += 10; }, "Tick"}, {[] { calls += 100; }, "Last"}};
  RegisterProgramServices(ProgramServices{nullptr, {entries, 3}});  // the search stops before "Last"
  for (const char* name : {"Tick", "tick", "Empty", "Last", ""}) {
    calls = 0;
    f32 result = -1;
    const std::string out = Output([&] { result = CallByName(DynString::FromCString(name)); });
    const bool found = std::string(name) == "Tick";
    EXPECT_EQ(found ? 1.0f : 0.0f, result) << name;
    EXPECT_EQ(found ? 1 : 0, calls) << name;
    EXPECT_EQ(found ? "" : "CALLBYNAME \"" + std::string(name) + "\" *** failed ***\n", out);
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
  DeclareExternalFunction(module, DynString::FromCString("no_such_symbol"), &result);
  EXPECT_EQ(nullptr, result);
  UnloadSharedLibraries();
  UnloadSharedLibraries();
  EXPECT_EQ(0, loadedLibraries.handles.count + loadedLibraries.names.count + loadedLibraries.handles.capacity);
}

TEST(CallByName, MovieStubs) {
  const std::string line = "PLAYMOVIE + LOOPMOVIE only on Win32 so far...\n";
  EXPECT_EQ(line + line + line, Output([] {
              EXPECT_EQ(0, PlayMovieStub());
              PlayMovieCommand(DynString::FromCString("intro.avi"));
              LoopMovieCommand(DynString::FromCString("intro.avi"));
            }));
}

}  // namespace
