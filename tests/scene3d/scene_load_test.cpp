// Loading slots: scenes of models and pictures (their folder, keys, counts, a pack), models over
// scenes, names, damaged scenes, and renderer batches recycled over repeated loads.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "core/runtime_globals.h"
#include "files/file_resolver.h"
#include "files/memory_name.h"
#include "media/bmp_image.h"
#include "media/png_image.h"
#include "media/render_target.h"
#include "render/soft_render_context.h"
#include "scene3d/ddd_model_format.h"
#include "scene3d/rainbows3d.h"
#include "tests/support/test_support.h"
#include "tools/sbxpack/pack_builder.h"

namespace {

// A red triangle in one frame, then in two ("DDDA" text).
const char kOneFrame[] = "DDDA 1 0 1 255 0 0 3 0 0 1 0 2 0 1 3 0 0 0 1 0 0 0 1 0";
const char kTwoFrames[] = "DDDA 1 0 1 255 0 0 3 0 0 1 0 2 0 2 3 0 0 0 1 0 0 0 1 0 3 0 0 0 2 0 0 0 2 0";

struct SceneLoadTest : testing::Test {
  void SetUp() override {
    GetRenderTarget().Resize(0, 8, 8, 0);
    MeshObjectX mesh;  // a.ddd through the binary writer; b.ddd as text
    WriteFileBytes(Path("a.txt"), kOneFrame);
    LoadDdd(&mesh, Path("a.txt").c_str());
    SaveDdd(&mesh, Path("a.ddd").c_str());
    WriteFileBytes(Path("b.ddd"), kTwoFrames);
    const u8 pixels[8] = {0, 0, 255, 255, 0, 255, 0, 255};
    SaveBmp24(Path("tex.bmp").c_str(), 2, 1, pixels);
    SavePng(Path("tex.png").c_str(), pixels, 2, 1);
  }
  std::string Path(const std::string& leaf) const { return dir.path() + "/" + leaf; }
  // used, isScene and the texture count; per mesh its frames, batches and texture numbers.
  std::string Shape(i32 result, i32 slot) {
    const ObjectSlot& s = *d.Slot(slot);
    std::string out = std::to_string(result) + ":" + std::to_string(s.used) +
                      std::to_string(s.isScene) + " " + std::to_string(s.textures.count);
    for (const MeshObjectX& m : s.meshes) {
      for (i32 v : {m.parts.count, m.frameBatches.count, m.textureA, m.textureB}) {
        out += " " + std::to_string(v);
      }
      out += " |";
    }
    return out;
  }
  std::string Load(const std::string& name, i32 slot = 1) {
    return Shape(d.LoadObject(name.c_str(), slot), slot);
  }
  ScopedTempDir dir;
  Rainbows3D d{nullptr};
};

TEST_F(SceneLoadTest, ScenesModelsAndNames) {
  // A scene named like a model, found under another case, naming its files relative to itself.
  WriteFileBytes(Path("Town.ddd"),
                 ";DDW town\r\n[textures]\r\ncount=2\r\n1=tex.bmp\r\n2=TEX.PNG\r\n[Objects]\r\n"
                 "COUNT=3\r\n1=a.ddd\r\n1TA=1\r\n1tb=3\r\n3=B.DDD\r\n3ta=-2\r\n[objects]\r\n"
                 "count=9\r\n");
  EXPECT_EQ("1:11 2 1 1 0 2 | 0 0 0 0 | 2 2 -2 0 |", Load(Path("town.ddd")));
  EXPECT_EQ("1:10 0 1 1 0 0 |", Load(Path("A.DDD")));  // a model replaces the scene
  EXPECT_EQ("0:00 0 0 0 0 0 |", Load(Path("none.ddd")));
  // A scene in a folder whose name holds a backslash: its folder ends there.
  WriteFileBytes(Path("x\\s.ddw"), ";DDW\n[objects]\ncount=1\n1=a.ddd\n");
  WriteFileBytes(Path("x\\a.ddd"), kTwoFrames);
  EXPECT_EQ("1:11 0 2 2 0 0 |", Load(Path("x\\s.ddw")));
}

TEST_F(SceneLoadTest, SceneFromAPack) {
  const std::string scene = ";DDW\n[objects]\ncount=2\n1=p.ddd\n2=a.ddd\n", model = kTwoFrames;
  const PackBuildResult pack = BuildPack(
      {{"scene.ddw", {scene.begin(), scene.end()}}, {"p.ddd", {model.begin(), model.end()}}}, 0,
      false);
  WriteFileBytes(Path("s.sbx"), std::string(pack.bytes.begin(), pack.bytes.end()));
  generalResolver = CreateFileResolverContext();
  generalResolver->packName = Path("s.sbx");
  char name[kResolvedPathSize];
  ASSERT_EQ(1, ResolveFile(generalResolver, "scene.ddw", name, true));
  // The block holds the scene while it is parsed; its names resolve through the pack, and not
  // relative to the memory name (a.ddd is in no folder the test runs in).
  EXPECT_EQ("1:11 0 2 2 0 0 | 0 0 0 0 |", Load(name));
  DeleteFileResolverContext(generalResolver);
}

TEST_F(SceneLoadTest, DamagedScenesAndRecycledBatches) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {";DDW\n[objects]\ncount=4097\n[textures]\ncount=4097\n1=tex.bmp\n", "1:11 0"},
      {";DDW\n[objects]\ncount=-3\n[textures]\ncount=-1\n", "1:11 0"},
      {";DDW\n[objects]\ncount=2\n1=mem://00000100.00001000\n2=mem://-0000001.00001000\n",
       "1:11 0 0 0 0 0 | 0 0 0 0 |"},
      {";DD", "0:00 0 0 0 0 0 |"}};
  for (const auto& [text, shape] : cases) {  // from live blocks: the scenes have no folder
    const SharedMemoryBlock block = MakeMemoryBlock(new u8[text.size()], text.size());
    std::memcpy(const_cast<u8*>(block->Data()), text.data(), text.size());
    EXPECT_EQ(shape, Load(FormatMemoryName(block->Size(), block->Data()))) << text;
  }
  // A scene of three meshes and a model, loaded again and again: the batch table stays as it was.
  WriteFileBytes(Path("s.ddw"), ";DDW\n[objects]\ncount=2\n1=a.ddd\n2=b.ddd\n");
  SoftRenderContext& r = GetSoftRenderContext();
  Load(Path("s.ddw"), 1), Load(Path("a.ddd"), 2);
  const i32 batches = r.batches.count;
  for (i32 i = 0; i < 100; ++i) Load(Path("s.ddw"), 1), Load(Path("a.ddd"), 2);
  std::set<i32> owned;  // one batch per frame, none shared
  for (i32 slot : {1, 2}) {
    for (const MeshObjectX& m : d.Slot(slot)->meshes) owned.insert(m.frameBatches.begin(), m.frameBatches.end());
  }
  EXPECT_EQ((std::array<i32, 2>{4, 4}), (std::array{batches, static_cast<i32>(owned.size())}));
  EXPECT_EQ(batches, r.batches.count);
}

}  // namespace
