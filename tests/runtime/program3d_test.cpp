// A 3D program from start to end in a child process, as a program on the runtime writes one: it
// builds and saves its models, finds them again in a pack (a model of two animation frames and a
// scene of two), draws them for eight frames under a camera that circles them, asks a ray and a
// sphere, and ends. The last frame is saved for the README.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "core/runtime_error.h"
#include "core/runtime_globals.h"
#include "media/graphics_commands.h"
#include "runtime/frame_step.h"
#include "runtime/runtime_globals.h"
#include "runtime/runtime_startup.h"
#include "scene3d/mode_commands.h"
#include "scene3d/object_file_commands.h"
#include "scene3d/query_commands.h"
#include "scene3d/rainbows3d.h"
#include "scene3d/transform_commands.h"
#include "tests/files/files_fixture.h"
#include "tests/scene3d/cube_commands.h"
#include "tests/support/test_support.h"

namespace {

std::string folder;

void Save(const char* name, f32 slot) {
  SaveObjectCommand(DynString((folder + name).c_str()), slot);
}

void Program() {
  ScopedFakeClock clock(1000, 1);
  InstallPrintingPlatform(folder + "demo");
  ResetRuntimeGlobalsForTests();
  screenWidth = 320, screenHeight = 240, framesPerSecond = 30, windowActive = 1;
  InitRuntime(0, 0, 0, 0, "3D");
  // The assets: a cube that swells in its second frame, a ground and a tower, packed with a scene.
  BuildCubeCommand(1, {0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF, 0xFF00FF, 0xFFFF00});
  MeshObjectX& cube = device3D->Slot(1)->meshes[0];
  for (MeshVertex& v : cube.AppendPart(cube.parts[0]).sourceVertices) v.x *= 1.2f, v.z *= 1.2f;
  Save("cube.ddd", 1);
  BuildCubeCommand(2, {0x3060C0, 0x4080E0, 0x305090, 0x203870, 0x102040, 0x2848A0}, -3, -3);
  Save("tower.ddd", 2);
  BeginObjectCommand(3);
  for (i32 c = 0; c < 4; ++c)
    AddVertexCommand((c & 1) ? 6 : -6, -1, (c & 2) ? 6 : -6, 0, 0, 0x40A040);
  EndObjectCommand();
  Save("ground.ddd", 3);
  std::vector<PackFile> files = {
      {"world.ddw", ";DDW\r\n[objects]\r\ncount=2\r\n1=ground.ddd\r\n2=tower.ddd\r\n"}};
  for (const char* name : {"cube.ddd", "tower.ddd", "ground.ddd"}) {
    files.push_back({name, ReadFileBytes(folder + name)});
    std::filesystem::remove(folder + name);
  }
  WriteFileBytes(folder + "world.sbx", MakePack(files));
  DynString pack((folder + "world.sbx").c_str()), none;
  SetFileResolverBase(pack, none);
  LoadObjectCommand(DynString("cube.ddd"), 1);
  LoadObjectCommand(DynString("world.ddw"), 2);
  std::printf("faces %d %d\n", GetObjectFaceCount(1), GetObjectFaceCount(2));
  for (i32 frame = 0; frame < 8; ++frame) {
    FillRectCommand(0, 0, 320, 240, 0xF0C080);  // a sky
    Enter3DMode(1, 100, 60);  // each frame step puts the renderer back into 2D drawing
    const f32 angle = 0.3f + frame * 0.1f;
    SetCameraCommand(9 * std::sin(angle), 5, 9 * std::cos(angle), 0, 0, 0);
    DrawObjectFrameCommand(2, 0);
    PushTransformCommand(frame * 10.0f, 0, 1, 0);
    DrawObjectFrameCommand(1, frame / 2 % 2);
    if (frame == 7) SaveScreenImageCommand(DynString(STAKKO_SCREENSHOT_DIR "/program3d.png"));
    FlipFrame();
  }
  SetPositionCommand(2, 0, 0);  // the cube moved to x = 2: its -x face is 11 along the ray
  const f32 ray = CollideRayCommand(1, 0, -10, 0, 0.5f, 1, 0, 0);
  PopStateCommand();
  std::printf("ray %g sphere %d %d\n", ray, CollideSphereCommand(2, 0, 0.5f, 3, -0.7f, 3),
              CollideSphereCommand(2, 0, 0.5f, 3, -0.3f, 3));
  EndCommand();
}

TEST(Program3D, LoadsFromAPackDrawsAnimatedFramesAndAsks) {
  ScopedTempDir dir;
  folder = dir.path() + "/";
  std::filesystem::remove(STAKKO_SCREENSHOT_DIR "/program3d.png");
  const ChildResult child = RunInChild(Program);
  EXPECT_EQ(0, child.exitStatus);
  EXPECT_NE(std::string::npos, child.output.find("faces 12 14\n")) << child.output;
  EXPECT_NE(std::string::npos, child.output.find("ray 11 sphere 1 0\n"));
  EXPECT_TRUE(std::filesystem::exists(STAKKO_SCREENSHOT_DIR "/program3d.png"));
}

}  // namespace
