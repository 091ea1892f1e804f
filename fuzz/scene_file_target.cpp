// The object loader and the scene loader over hostile bytes. After one byte of choices the input
// is a file that a program loads into a slot of the 3D device: from disk, from a live memory block,
// or from a pack that also holds a model. Beside it lie models and pictures for a scene to name
// (a.ddd binary, b.ddd text, t.bmp, t.png; p.ddd in the pack).
//
// A load must leave a slot whose lists keep their caps, every mesh with one renderer batch per
// frame and no batch shared by two meshes. Loading the same input again must give the same slot
// and, since the first load's batches come back when the slot is emptied, the same batch table.
#include <set>
#include <string>
#include <vector>

#include "core/runtime_globals.h"
#include "files/file_resolver.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/fuzz_target.h"
#include "media/bmp_image.h"
#include "media/png_image.h"
#include "render/soft_render_context.h"
#include "scene3d/ddd_model_format.h"
#include "scene3d/rainbows3d.h"
#include "scene3d/scene_file.h"
#include "tools/sbxpack/pack_builder.h"

namespace {

constexpr i32 kSlot = 7;
const std::string kTextModel =
    "DDDA 1 0 1 0 255 0 3 0 0 1 0 2 0 2 3 0 0 0 1 0 0 0 1 0 3 0 0 0 2 0 0 0 2 0";

// The files a scene may name, written once with the project's writers.
void WriteNeighbours() {
  static bool written = false;
  if (written) return;
  written = true;
  MeshObjectX triangle;
  MeshPart& part = triangle.AppendPart(MeshPart());
  MeshVertex v;
  v.SetColour(kFanSeparator);
  part.sourceVertices.Append(v);
  for (f32 x : {0.0f, 1.0f, 0.0f}) {
    v.x = x, v.y = 1 - x, v.SetColour(0xFF);
    part.sourceVertices.Append(v);
  }
  triangle.BuildColourTable();
  SaveDdd(&triangle, FuzzPath("a.ddd").c_str());
  WriteFuzzFile("b.ddd", reinterpret_cast<const u8*>(kTextModel.data()), kTextModel.size());
  const u8 pixels[8] = {255, 0, 255, 255, 10, 20, 30, 255};
  SaveBmp24(FuzzPath("t.bmp").c_str(), 2, 1, pixels);
  SavePng(FuzzPath("t.png").c_str(), pixels, 2, 1);
}

// The slot as text: flags, list counts and every mesh's frames and texture numbers.
std::string Shape(const ObjectSlot& slot) {
  std::string out = std::to_string(slot.used) + std::to_string(slot.isScene) + " " +
                    std::to_string(slot.textures.count);
  for (const MeshObjectX& m : slot.meshes) {
    out += "|" + std::to_string(m.parts.count) + " " + std::to_string(m.textureA) + " " +
           std::to_string(m.textureB);
  }
  return out;
}

void CheckSlot(const ObjectSlot& slot) {
  FUZZ_CHECK(slot.meshes.count >= 0 && slot.meshes.count <= kMaxSceneEntries &&
                 slot.textures.count >= 0 && slot.textures.count <= kMaxSceneEntries,
             "a scene list beyond its cap");
  const i32 table = GetSoftRenderContext().batches.count;
  std::set<i32> owned;
  std::size_t frames = 0;
  for (const MeshObjectX& m : slot.meshes) {
    // A model refused for an empty first frame stays as read, unbuilt, in an unused slot.
    if (m.parts.count == 0 || slot.used == 0) continue;
    FUZZ_CHECK(m.frameBatches.count == m.parts.count, "a built mesh without a batch per frame");
    for (i32 batch : m.frameBatches) {
      FUZZ_CHECK(batch >= 0 && batch < table, "a batch outside the renderer's table");
      owned.insert(batch);
    }
    frames += static_cast<std::size_t>(m.parts.count);
  }
  FUZZ_CHECK(owned.size() == frames, "two frames share a batch");
}

}  // namespace

void FuzzSceneFile(const u8* data, std::size_t size) {
  BeginFuzzInput();
  const InFuzzFolder inFolder;  // names of scenes without a folder resolve beside the others
  WriteNeighbours();
  FuzzBytes input(data, size);
  const u8 route = input.Byte() % 3;
  const std::vector<u8> bytes(input.Rest(), input.Rest() + input.RestSize());

  const PackBuildResult pack = BuildPack(
      {{"packed.ddw", bytes}, {"p.ddd", {kTextModel.begin(), kTextModel.end()}}}, 0, false);
  WriteFuzzFile("scene.sbx", pack.bytes.data(), pack.bytes.size());
  ResetFileResolverContext(generalResolver);
  generalResolver->packName = FuzzPath("scene.sbx");

  static Rainbows3D device(nullptr);
  const SharedMemoryBlock block = LiveMemoryBlock(bytes.data(), bytes.size());
  const std::string name = route == 0 ? WriteFuzzFile("disk.ddw", bytes.data(), bytes.size())
                                      : LiveMemoryName(block);
  std::string first;
  i32 table = 0;
  for (int load = 0; load < 2; ++load) {
    // A pack entry is resolved before each load, as the load command does: the block of the
    // first resolution goes when the scene's own names are resolved.
    char resolved[kResolvedPathSize];
    if (route == 2) {
      FUZZ_CHECK(ResolveFile(generalResolver, "packed.ddw", resolved, true) == 1, "no entry");
    }
    const i32 result = device.LoadObject(route == 2 ? resolved : name.c_str(), kSlot);
    const ObjectSlot& slot = *device.Slot(kSlot);
    FUZZ_CHECK(result == slot.used, "the result does not say whether the slot is used");
    CheckSlot(slot);
    if (load == 0) {
      first = Shape(slot);
      table = GetSoftRenderContext().batches.count;
    }
  }
  FUZZ_CHECK(Shape(*device.Slot(kSlot)) == first, "a second load gives another slot");
  FUZZ_CHECK(GetSoftRenderContext().batches.count == table, "a second load grows the batches");
  device.EmptyObjectSlot(kSlot);
  ResetFileResolverContext(generalResolver);
}
