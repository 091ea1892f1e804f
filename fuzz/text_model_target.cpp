// The "DDDA" text model reader over hostile text. Each input is read from a live memory block and
// from a file, which must give the same lists. An accepted model must make a mesh that keeps the
// mesh's promises (a part per frame, every part the same size, separators white, the colour table
// consistent), and, written back as text, must read to the same lists again.
#include <cmath>
#include <cstring>
#include <string>

#include "fuzz/fuzz_support.h"
#include "fuzz/fuzz_target.h"
#include "fuzz/text_model_writer.h"
#include "scene3d/mesh_model.h"
#include "scene3d/text_model_mesh.h"
#include "scene3d/text_model_reader.h"

namespace {

bool Same(f32 a, f32 b) { return a == b || (std::isnan(a) && std::isnan(b)); }

template <class T, class Equal>
bool SameList(const GrowVector<T>& a, const GrowVector<T>& b, Equal equal) {
  if (a.count != b.count) return false;
  for (i32 i = 0; i < a.count; ++i) {
    if (!equal(a[i], b[i])) return false;
  }
  return true;
}

bool SameLists(const DddTextReader& a, const DddTextReader& b) {
  const auto sameIndex = [](i32 x, i32 y) { return x == y; };
  const auto sameUv = [](const DddTextUv& x, const DddTextUv& y) {
    return Same(x.u, y.u) && Same(x.v, y.v);
  };
  const auto samePolygon = [&](const DddTextPolygon& x, const DddTextPolygon& y) {
    return x.red == y.red && x.green == y.green && x.blue == y.blue &&
           SameList(x.vertexIndices, y.vertexIndices, sameIndex) &&
           SameList(x.uvIndices, y.uvIndices, sameIndex);
  };
  const auto sameVertex = [](const DddTextVertex& x, const DddTextVertex& y) {
    return Same(x.x, y.x) && Same(x.y, y.y) && Same(x.z, y.z) && Same(x.nx, y.nx) &&
           Same(x.ny, y.ny) && Same(x.nz, y.nz);
  };
  const auto sameFrame = [&](const DddTextFrame& x, const DddTextFrame& y) {
    return SameList(x.vertices, y.vertices, sameVertex);
  };
  return SameList(a.uvs, b.uvs, sameUv) && SameList(a.polygons, b.polygons, samePolygon) &&
         SameList(a.frames, b.frames, sameFrame);
}

i32 Load(DddTextReader& reader, const SharedMemoryBlock& block) {
  return LoadDddText(&reader, LiveMemoryName(block).c_str());
}

void CheckMesh(const DddTextReader& model, const MeshObjectX& mesh) {
  FUZZ_CHECK(mesh.parts.count == model.frames.count, "a part per frame");
  FUZZ_CHECK(mesh.normalsValid == 0, "text models leave normals unknown");
  const i64 vertices = DddTextFrameVertices(model);
  for (const MeshPart& part : mesh.parts) {
    FUZZ_CHECK(part.sourceVertices.count == vertices, "a part of the wrong size");
    for (const MeshVertex& v : part.sourceVertices) {
      const bool separator = IsSeparatorCode(v.colour);
      FUZZ_CHECK(!separator || (v.colour == kFanSeparator && v.r == 1 && v.g == 1 && v.b == 1),
                 "a separator that is not a white fan");
      FUZZ_CHECK(separator || v.colour < 0x01000000u, "a corner colour beyond 24 bits");
      FUZZ_CHECK(mesh.colourTable.count > 256 || mesh.colourTable[v.colourIndex] == v.colour,
                 "a colour index that does not name the vertex's colour");
    }
  }
}

}  // namespace

void FuzzTextModel(const u8* data, std::size_t size) {
  BeginFuzzInput();
  const std::string path = WriteFuzzFile("model.ddd", data, size);
  DddTextReader fromMemory, fromFile;
  const i32 memoryResult = Load(fromMemory, LiveMemoryBlock(data, size));
  FUZZ_CHECK(memoryResult == LoadDddText(&fromFile, path.c_str()), "memory and file differ");
  FUZZ_CHECK(SameLists(fromMemory, fromFile), "memory and file text models read differently");
  if (memoryResult == 0) {
    FUZZ_CHECK(fromFile.uvs.count + fromFile.polygons.count + fromFile.frames.count == 0,
               "a refused model left lists behind");
    return;
  }
  MeshObjectX mesh;
  FUZZ_CHECK(FinishLoad(&fromFile, &mesh) == 1, "an accepted model makes no mesh");
  CheckMesh(fromFile, mesh);

  const std::string text = WriteDddText(fromFile);
  DddTextReader reread;
  FUZZ_CHECK(Load(reread, LiveMemoryBlock(text.data(), text.size())) == 1,
             "a written model is refused");
  FUZZ_CHECK(SameLists(fromFile, reread), "a written text model reads differently");
}
