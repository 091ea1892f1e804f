// Loading slots: scenes of models and pictures (their folder, keys, counts, a pack), models over
// scenes, names, damaged scenes, and renderer batches recycled over repeated loads.
#include <array>
#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>

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

// b.ddd: a red triangle in two frames as text; a.ddd: its first frame, binary.
const std::string kModel = "DDDA 1 0 1 255 0 0 3 0 0 1 0 2 0 2 3 0 0 0 1 0 0 0 1 0 "
                           "3 0 0 0 2 0 0 0 2 0";

struct SceneLoadTest : testing::Test {
  void SetUp() override {
    MeshObjectX mesh;
    WriteFileBytes(Path("b.ddd"), kModel);
    LoadDdd(&mesh, Path("b.ddd").c_str());
    mesh.parts.count = 1;
    SaveDdd(&mesh, Path("a.ddd").c_str());
    const u8 pixels[8] = {0, 0, 255, 255, 0, 255, 0, 255};
    SaveBmp24(Path("t.bmp").c_str(), 2, 1, pixels), SavePng(Path("t.png").c_str(), pixels, 2, 1);
  }
  std::string Path(const std::string& leaf) const { return dir.path() + "/" + leaf; }
  // The result, used and isScene, the texture count, then per mesh: frames, batches, textures.
  std::string Load(const std::string& name, i32 slot = 1) {
    std::ostringstream out;
    out << d.LoadObject(name.c_str(), slot);
    const ObjectSlot& s = *d.Slot(slot);
    out << ":" << s.used * 10 + s.isScene << " " << s.textures.count;
    for (const MeshObjectX& m : s.meshes) {
      out << " | " << m.parts.count << m.frameBatches.count << " " << m.textureA << m.textureB;
    }
    return out.str();
  }
  ScopedTempDir dir;
  Rainbows3D d{nullptr};
};

TEST_F(SceneLoadTest, ModelsScenesPacksAndDamage) {
  // A scene named like a model, found under another case, naming its files relative to itself.
  WriteFileBytes(Path("Town.ddd"), ";DDW town\r\n[textures]\r\ncount=2\r\n1=t.bmp\r\n2=T.PNG"
                                   "\r\n[Objects]\r\nCOUNT=3\r\n1=a.ddd\r\n1TA=1\r\n1tb=3\r\n3="
                                   "B.DDD\r\n3ta=-2\r\n[objects]\r\ncount=9\r\n");
  EXPECT_EQ("1:11 2 | 11 02 | 00 00 | 22 -20", Load(Path("town.ddd")));
  EXPECT_EQ("1:10 0 | 11 00", Load(Path("A.DDD")));  // a model replaces the scene
  EXPECT_EQ("0:0 0 | 00 00", Load(Path("none.ddd")));
  // Loaded again and again into a fresh batch table, the scene and a model keep four batches.
  GetRenderTarget().Resize(0, 8, 8, 0);
  for (i32 i = 0; i < 100; ++i) Load(Path("town.ddd"), 1), Load(Path("a.ddd"), 2);
  EXPECT_EQ(4, GetSoftRenderContext().batches.count);
  const std::string scene = ";DDW\n[objects]\ncount=2\n1=p.ddd\n2=a.ddd\n";
  const PackBuildResult pack = BuildPack(
      {{"scene.ddw", {scene.begin(), scene.end()}}, {"p.ddd", {kModel.begin(), kModel.end()}}},
      0, false);
  WriteFileBytes(Path("s.sbx"), std::string(pack.bytes.begin(), pack.bytes.end()));
  generalResolver = CreateFileResolverContext();
  generalResolver->packName = Path("s.sbx");
  char name[kResolvedPathSize];
  ASSERT_EQ(1, ResolveFile(generalResolver, "scene.ddw", name, true));
  // The block holds the scene while it is parsed; names resolve as a program's, not in "mem://".
  EXPECT_EQ("1:11 0 | 22 00 | 00 00", Load(name));
  DeleteFileResolverContext(generalResolver);
  // Damaged scenes in live blocks, whose forged memory names must never be read.
  for (const auto& [text, shape] : std::initializer_list<std::pair<std::string, std::string>>{
           {";DDW\n[objects]\ncount=-3\n[textures]\ncount=4097\n1=t.bmp\n", "1:11 0"},
           {";DDW\n[objects]\ncount=2\n1=mem://00000100.00001000\n2=mem://-0000001.00001000\n"
            "[textures]\ncount=1\n1=mem://00000100.00001000\n",
            "1:11 1 | 00 00 | 00 00"},
           {";DD", "0:0 0 | 00 00"}}) {
    const SharedMemoryBlock block = MakeMemoryBlock(new u8[text.size()], text.size());
    std::memcpy(const_cast<u8*>(block->Data()), text.data(), text.size());
    EXPECT_EQ(shape, Load(FormatMemoryName(block->Size(), block->Data()))) << text;
  }
}

// A scene's model too big for the memory left stays empty with "# malloc error" and its name;
// the scene's other models load.
TEST_F(SceneLoadTest, AModelTooBigForTheMemoryLeft) {
  if (kSanitizerBuild) {
    GTEST_SKIP() << "the sanitizer build cannot run under a lowered address-space limit";
  }
  constexpr i32 kVertices = 1000000;  // within the model limits: 14 bytes each
  WriteFileBytes(Path("big.ddd"), LE(0x00C6B317, 4) + LE(0x4000000000000000, 8) + LE(1, 4) +
                                      LE(1, 4) + LE(0, 4) + LE(0xFF, 4) + LE(kVertices, 4) +
                                      std::string(kVertices * 14, '\0'));
  WriteFileBytes(Path("s.ddw"), ";DDW\n[objects]\ncount=2\n1=big.ddd\n2=a.ddd\n");
  const ChildResult child = RunInChildWithMemoryHeadroom(16 << 20, [&] {
    const std::string shape = Load(Path("s.ddw"));
    std::printf("%s\n", shape.c_str());
  });
  EXPECT_EQ("# malloc error\n" + Path("big.ddd") + "\n1:11 0 | 00 00 | 11 00\n", child.output);
}

// The models of one scene share one model's storage budget, each frame counted at 512 vertices:
// two models of 1024 frames fill it exactly and load, a second model of 1025 frames passes it and
// stays empty; so does every model after the budget is full.
TEST_F(SceneLoadTest, ScenesShareOneModelsBudget) {
  for (const auto& [frames, second] : {std::pair{1024, 1024}, {1025, 0}}) {
    std::string big = "DDDA 1 0 1 255 0 0 3 0 0 1 0 2 0 " + std::to_string(frames);
    for (i32 f = 0; f < frames; ++f) big += " 3 0 0 0 1 0 0 0 1 0";
    WriteFileBytes(Path("big.ddd"), big);
    WriteFileBytes(Path("s.ddw"), ";DDW\n[objects]\ncount=3\n1=big.ddd\n2=big.ddd\n3=a.ddd\n");
    testing::internal::CaptureStdout();
    d.LoadObject(Path("s.ddw").c_str(), 1);
    EXPECT_EQ("# read error\n" + Path("s.ddw") + "\n", testing::internal::GetCapturedStdout());
    const GrowVector<MeshObjectX>& meshes = d.Slot(1)->meshes;
    EXPECT_EQ((std::array{frames, second, 0}),
              (std::array{meshes[0].parts.count, meshes[1].parts.count, meshes[2].parts.count}));
  }
}

}  // namespace
