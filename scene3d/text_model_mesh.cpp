// Mesh construction from the lists of the "DDDA" text model reader.
#include "scene3d/text_model_mesh.h"

#include <cstdio>

#include "scene3d/mesh_model.h"
#include "scene3d/text_model_reader.h"

namespace {

u32 PolygonColour(const DddTextPolygon& polygon) {
  const auto low = [](i32 v) { return static_cast<u32>(v) & 0xFFu; };
  return low(polygon.red) | low(polygon.green) << 8 | low(polygon.blue) << 16;
}

MeshVertex CornerVertex(const DddTextReader& reader, const DddTextFrame& frame,
                        const DddTextPolygon& polygon, i32 corner, u32 colour) {
  const DddTextVertex& at = frame.vertices[polygon.vertexIndices[corner]];
  MeshVertex vertex;
  vertex.x = at.x, vertex.y = at.y, vertex.z = at.z;
  vertex.nx = at.nx, vertex.ny = at.ny, vertex.nz = at.nz;
  if (reader.uvs.count > 0) {
    const DddTextUv& uv = reader.uvs[polygon.uvIndices[corner]];
    vertex.u = uv.u;
    vertex.v = -uv.v;
  }
  vertex.SetColour(colour);
  return vertex;
}

}  // namespace

i32 FinishLoad(DddTextReader* reader, MeshObject* mesh) {
  if (mesh == nullptr) return 0;
  mesh->Clear(true);
  if (reader == nullptr || !DddTextModelFits(*reader)) return 0;
  MeshVertex separator;
  separator.SetColour(kFanSeparator);
  if (reader->frames.count == 0) return 1;  // no parts, an empty colour table
  MeshPart working;
  working.sourceVertices.Reserve(static_cast<i32>(DddTextFrameVertices(*reader)));
  mesh->ReserveParts(reader->frames.count);
  for (const DddTextFrame& frame : reader->frames) {
    for (const DddTextPolygon& polygon : reader->polygons) {
      working.sourceVertices.Append(separator);
      const u32 colour = PolygonColour(polygon);
      for (i32 k = 0; k < polygon.vertexIndices.count; ++k) {
        working.sourceVertices.Append(CornerVertex(*reader, frame, polygon, k, colour));
      }
    }
    mesh->AppendPart(working);
    working.sourceVertices.Clear();
  }
  mesh->BuildColourTable();
  return 1;
}

i32 LoadDddTextModel(MeshObject* mesh, const char* name) {
  if (mesh == nullptr) return 0;
  DddTextReader reader;
  if (LoadDddText(&reader, name) == 1 && FinishLoad(&reader, mesh) == 1) return 1;
  std::printf("# read error\n%s\n", name != nullptr ? name : "");
  mesh->Clear(true);
  return 0;
}
