// Calls by name over the program's registered table, external functions over the loaded-library
// table, and the movie stubs, with their exact messages.
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
  RegisterProgramServices(ProgramServices{[] { return DynString("test"); }, {entries, 3}});  // stops before "Last"
  EXPECT_EQ("test", std::string(GetBuildStamp().CStr()));
  for (const char* name : {"Tick", "tick", "Empty", "Last"}) {
    calls = 0;
    f32 result = -1;
    const std::string out = Output([&] { result = CallByName(DynString(name)); });
    const bool found = std::string(name) == "Tick";
    EXPECT_EQ(found ? 1.0f : 0.0f, result) << name;
    EXPECT_EQ(found ? 1 : 0, calls) << name;
    EXPECT_EQ(found ? "" : "CALLBYNAME \"" + std::string(name) + "\" *** failed ***\n", out);
  }
  EXPECT_EQ(nullptr, LookupFunctionByName(DynString::FromBytes("Tick\0x", 6)));
  RegisterProgramServices(ProgramServices{nullptr, {nullptr, 3}});  // taken as empty
  EXPECT_EQ(0, GetCallableTable().count);
  ResetProgramServicesForTests();
}

TEST(CallByName, ExternalFunctionsByModuleAndMovieStubs) {
  void* result = &result;
  DynString module("SDL");
  EXPECT_EQ("DECLARE module not found: sdl\n",
            Output([&] { DeclareExternalFunction(module, DynString("SDL_Init"), &result); }));
  EXPECT_EQ(nullptr, result);
  void* libm = dlopen("libm.so.6", RTLD_NOW);
  ASSERT_NE(nullptr, libm);
  loadedLibraries.handles.Append(libm);
  loadedLibraries.names.Append(DynString("libm"));
  module.AssignCString("LibM");
  EXPECT_EQ("", Output([&] { DeclareExternalFunction(module, DynString("cos"), &result); }));
  EXPECT_EQ(dlsym(libm, "cos"), result);
  UnloadSharedLibraries();
  UnloadSharedLibraries();
  EXPECT_EQ(0, loadedLibraries.handles.count + loadedLibraries.names.count);
  const std::string movie = "PLAYMOVIE + LOOPMOVIE only on Win32 so far...\n";
  EXPECT_EQ(movie + movie + movie, Output([] {
              EXPECT_EQ(0, PlayMovieStub());
              PlayMovieCommand(DynString("a"));
              LoopMovieCommand(DynString("a"));
            }));
}

}  // namespace
