// Reading the layout of "DDDA" text models into a DddTextReader.
#include "scene3d/text_model_reader.h"

#include <algorithm>
#include <cstring>

#include "core/float_convert.h"
#include "scene3d/ddd_model_limits.h"
#include "scene3d/model_channel.h"

namespace {

class ModelParse {
 public:
  ModelParse(DddTextReader& reader, FileChannel& channel) : reader_(reader), channel_(channel) {}

  bool Read() {
    Value();
    if (std::strcmp(reader_.tokenBuffer, "DDDA") != 0) return false;
    const f32 version = Value();
    if (!(version <= 1.1f)) return false;  // above 1.1, or not a number
    const bool normals = version >= 1.1f;
    return ReadUvs() && ReadPolygons() && ReadFrames(normals);
  }

 private:
  f32 Value() { return ReadDddToken(reader_.tokenBuffer, &channel_); }
  i32 Integer() { return TruncToI32(Value()); }

  // Reads a count of elements of at least `tokens` tokens each: false when it is refused. A count
  // of 0 or below is an empty list. Each token takes a byte and a separator, so the rest of the
  // data holds at most (remaining + 1) / (2 x tokens) whole elements; a few more may be missing
  // at its end.
  bool Count(i32& count, i32 tokens) {
    count = std::max(Integer(), 0);
    const i64 present = (i64{DddChannelRemaining(&channel_)} + 1) / (2 * tokens) + 1;
    return DddCountFits(count) && count <= present + kDddMissingElements;
  }

  // Counts one more element of a list whose storage is already reserved and returns it cleared.
  template <class T>
  static T& Next(GrowVector<T>& list) {
    list.SetCount(list.count + 1);
    T& element = list[list.count - 1];
    element = T();
    return element;
  }

  bool ReadUvs() {
    i32 count;
    if (!Count(count, 2)) return false;
    reader_.uvs.Reserve(count);
    for (i32 i = 0; i < count; ++i) {
      DddTextUv& uv = Next(reader_.uvs);
      uv.u = Value();
      uv.v = Value();
    }
    return true;
  }

  bool ReadPolygons() {
    i32 count;
    if (!Count(count, 4)) return false;
    reader_.polygons.Reserve(count);
    for (i32 i = 0; i < count; ++i) {
      DddTextPolygon& polygon = Next(reader_.polygons);
      polygon.red = Integer();
      polygon.green = Integer();
      polygon.blue = Integer();
      i32 corners;
      if (!Count(corners, 2)) return false;
      polygon.vertexIndices.Reserve(corners);
      polygon.uvIndices.Reserve(corners);
      for (i32 k = 0; k < corners; ++k) {
        polygon.vertexIndices.Append(Integer());
        polygon.uvIndices.Append(Integer());
      }
    }
    return true;
  }

  bool ReadFrames(bool normals) {
    i32 count;
    if (!Count(count, 1)) return false;
    reader_.frames.Reserve(count);
    for (i32 i = 0; i < count; ++i) {
      DddTextFrame& frame = Next(reader_.frames);
      i32 vertices;
      if (!Count(vertices, normals ? 6 : 3)) return false;
      frame.vertices.Reserve(vertices);
      for (i32 j = 0; j < vertices; ++j) {
        DddTextVertex& vertex = Next(frame.vertices);
        vertex.x = Value();
        vertex.y = Value();
        vertex.z = Value();
        if (!normals) continue;
        vertex.nx = Value();
        vertex.ny = Value();
        vertex.nz = Value();
      }
    }
    return true;
  }

  DddTextReader& reader_;
  FileChannel& channel_;
};

void EmptyReader(DddTextReader& reader) {
  reader.polygons.Free();
  reader.uvs.Free();
  reader.frames.Free();
}

}  // namespace

i32 LoadDddText(DddTextReader* reader, const char* name) {
  if (reader == nullptr) return 0;
  EmptyReader(*reader);
  ModelChannel model;
  if (!OpenModel(&model.channel, name)) return 0;
  if (!ModelParse(*reader, model.channel).Read() || !DddTextModelFits(*reader)) {
    EmptyReader(*reader);
    return 0;
  }
  return 1;
}

bool DddTextModelFits(const DddTextReader& reader) {
  i32 fewestVertices = INT32_MAX;
  for (const DddTextFrame& frame : reader.frames) {
    fewestVertices = std::min(fewestVertices, frame.vertices.count);
  }
  const auto inside = [](i32 index, i32 size) { return index >= 0 && index < size; };
  for (const DddTextPolygon& polygon : reader.polygons) {
    for (i32 k = 0; k < polygon.vertexIndices.count; ++k) {
      if (reader.frames.count > 0 && !inside(polygon.vertexIndices[k], fewestVertices)) {
        return false;
      }
      if (reader.uvs.count > 0 && !inside(polygon.uvIndices[k], reader.uvs.count)) return false;
    }
  }
  // Every frame holds a separator per polygon and a vertex per corner.
  return DddStorageBudget().Add(reader.frames.count, DddTextFrameVertices(reader));
}

i64 DddTextFrameVertices(const DddTextReader& reader) {
  i64 count = reader.polygons.count;
  for (const DddTextPolygon& polygon : reader.polygons) count += polygon.vertexIndices.count;
  return count;
}
