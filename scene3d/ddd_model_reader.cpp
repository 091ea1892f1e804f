// Reading binary .ddd models, both layouts, and handing other files to the text model reader.
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "core/byte_order.h"
#include "core/soft_storage.h"
#include "scene3d/ddd_model_format.h"
#include "scene3d/ddd_model_limits.h"
#include "scene3d/mesh_model.h"
#include "scene3d/model_channel.h"
#include "scene3d/text_model_mesh.h"
#include "scene3d/text_model_reader.h"
#include "scene3d/text_model_tokens.h"
#include "scene3d/vertex_normal_table.h"

namespace {

constexpr i32 kVersionBytes = 8;
constexpr i32 kCountsBytes = 12;
constexpr i32 kCountBytes = 4;

f32 F32At(const u8* p) { return BitsToF32(ReadLE32(p)); }

class DddParse {
 public:
  DddParse(FileChannel& channel, MeshObject& mesh) : channel_(channel), mesh_(mesh) {}

  // Reads everything after the magic into the mesh: false when the model is refused.
  bool Read() {
    if (!Take(kVersionBytes)) return false;
    const f64 version = BitsToF64(ReadLE64(bytes_.data()));
    if (!(version >= kDddOldestVersion && version <= kDddVersion)) {  // NaN included
      wrongVersion = true;
      return false;
    }
    if (!Take(kCountsBytes)) return false;
    const i32 frames = static_cast<i32>(ReadLE32(&bytes_[0]));
    const i32 colours = static_cast<i32>(ReadLE32(&bytes_[4]));
    const i32 uvs = static_cast<i32>(ReadLE32(&bytes_[8]));
    const bool current = version == kDddVersion;
    const i64 frameBytes = current ? kCountBytes : kCountBytes + kDddQuantisedFrameBytes;
    if (!DddStorageBudget::FramesFit(frames) || !DddCountFits(colours) || !DddCountFits(uvs) ||
        i64{colours} * 4 + i64{uvs} * 8 + frames * frameBytes > Remaining()) {
      return false;
    }
    if (!ReadColours(colours) || !ReadUvs(uvs)) return false;
    return current ? ReadFrames(frames) : ReadQuantisedFrames(frames);
  }

  bool wrongVersion = false;

 private:
  i32 Remaining() const { return DddChannelRemaining(&channel_); }

  // Reads the next n bytes into bytes_: false when the data holds fewer.
  bool Take(i64 n) {
    if (n < 0 || n > Remaining()) return false;
    bytes_.resize(static_cast<std::size_t>(n));
    return ReadDddBytes(&channel_, bytes_.data(), static_cast<i32>(n)) == 1;
  }

  bool ReadColours(i32 count) {
    if (!Take(i64{count} * 4)) return false;
    GrowVector<u32>& table = mesh_.colourTable;
    table.step = table.minimum = 1;  // sized to the file rather than to 512 entries
    table.Reserve(count);
    for (i32 i = 0; i < count; ++i) table.Append(ReadLE32(&bytes_[i * 4]));
    return true;
  }

  bool ReadUvs(i32 count) {
    if (!Take(i64{count} * 8)) return false;
    us_.SetCount(count);
    vs_.SetCount(count);
    for (i32 i = 0; i < count; ++i) {
      us_[i] = F32At(&bytes_[i * 8]);
      vs_[i] = F32At(&bytes_[i * 8 + 4]);
    }
    return true;
  }

  // Reads a frame's vertex count and the frame's bytes after it (headBytes, then the vertices):
  // false when the count is negative or too large, or the data is short.
  bool TakeFrame(i32& vertices, i32 headBytes, i32 vertexBytes) {
    if (!Take(kCountBytes)) return false;
    vertices = static_cast<i32>(ReadLE32(bytes_.data()));
    if (!DddCountFits(vertices) || !budget_.Add(1, vertices)) return false;
    return Take(headBytes + i64{vertices} * vertexBytes);
  }

  // The normal, colour and texture coordinates of vertex i: false for an index outside its table.
  bool Complete(MeshVertex& vertex, i32 i, const u8* indices, bool negateV) {
    const u8 normal = indices[0], colour = indices[1];
    if (normal >= kVertexNormalCount || colour >= mesh_.colourTable.count) return false;
    vertex.nx = VertexNormalTable[normal].x;
    vertex.ny = VertexNormalTable[normal].y;
    vertex.nz = VertexNormalTable[normal].z;
    vertex.colourIndex = colour;
    vertex.SetColour(mesh_.colourTable[colour]);
    // The file holds frame 0's pairs: the last vertices of a longer later frame keep u = v = 0.
    if (i < us_.count) {
      vertex.u = us_[i];
      vertex.v = negateV ? -vs_[i] : vs_[i];
    }
    return true;
  }

  bool ReadFrames(i32 frames) {
    mesh_.ReserveParts(frames);
    mesh_.parts.count = frames;
    for (MeshPart& part : mesh_.parts) {
      i32 vertices;
      if (!TakeFrame(vertices, 0, kDddVertexBytes)) return false;
      part.sourceVertices.SetCount(vertices);
      for (i32 i = 0; i < vertices; ++i) {
        const u8* p = &bytes_[static_cast<std::size_t>(i) * kDddVertexBytes];
        MeshVertex vertex;
        vertex.x = F32At(p), vertex.y = F32At(p + 4), vertex.z = F32At(p + 8);
        if (!Complete(vertex, i, p + 12, false)) return false;
        part.sourceVertices[i] = vertex;
      }
    }
    return true;
  }

  bool ReadQuantisedFrames(i32 frames) {
    mesh_.parts.step = mesh_.parts.minimum = 1;
    mesh_.ReserveParts(frames);
    MeshPart part;
    const VertexNormal& first = VertexNormalTable[0];
    for (i32 f = 0; f < frames; ++f) {
      i32 vertices;
      if (!TakeFrame(vertices, kDddQuantisedFrameBytes, kDddQuantisedVertexBytes)) return false;
      f32 offset[3], scale[3];
      for (i32 k = 0; k < 3; ++k) offset[k] = F32At(&bytes_[k * 4]);
      for (i32 k = 0; k < 3; ++k) scale[k] = F32At(&bytes_[12 + k * 4]);
      part.sourceVertices.Clear();
      part.sourceVertices.Reserve(vertices);
      for (i32 i = 0; i < vertices; ++i) {
        const std::size_t at = static_cast<std::size_t>(i) * kDddQuantisedVertexBytes;
        const u8* q = &bytes_[kDddQuantisedFrameBytes + at];
        MeshVertex vertex;
        vertex.x = (static_cast<f32>(q[0]) - offset[0]) * scale[0];
        vertex.y = (static_cast<f32>(q[1]) - offset[1]) * scale[1];
        vertex.z = (static_cast<f32>(q[2]) - offset[2]) * scale[2];
        if (!Complete(vertex, i, q + 3, true)) return false;
        // This layout stores no tangents; they are set to the table's first normal.
        for (f32* axis : {vertex.tangent, vertex.bitangent}) {
          axis[0] = first.x, axis[1] = first.y, axis[2] = first.z;
        }
        part.sourceVertices.Append(vertex);
      }
      mesh_.AppendPart(part);
    }
    return true;
  }

  FileChannel& channel_;
  MeshObject& mesh_;
  std::vector<u8> bytes_;
  // The texture coordinates, sized to the file's count as the colour table is.
  GrowVector<f32> us_{1, 1};
  GrowVector<f32> vs_{1, 1};
  DddStorageBudget budget_;
};

// Leaves the mesh empty, its storage released, on every way out of a load that did not succeed,
// an exception included.
class ClearUnlessLoaded {
 public:
  explicit ClearUnlessLoaded(MeshObject& mesh) : mesh_(mesh) {}
  ~ClearUnlessLoaded() {
    if (!loaded) mesh_.Clear(true);
  }
  ClearUnlessLoaded(const ClearUnlessLoaded&) = delete;
  ClearUnlessLoaded& operator=(const ClearUnlessLoaded&) = delete;
  bool loaded = false;

 private:
  MeshObject& mesh_;
};

}  // namespace

i32 ReadDddBytes(FileChannel* channel, void* buffer, i32 n) {
  if (channel == nullptr || n < 0 || n > DddChannelRemaining(channel)) return 0;
  if (n == 0) return 1;
  if (buffer == nullptr) return 0;
  if (channel->fp != nullptr) {
    if (std::fread(buffer, 1, static_cast<std::size_t>(n), channel->fp) != std::size_t(n)) {
      return 0;
    }
  } else if (channel->memData != nullptr) {
    std::memcpy(buffer, channel->memData + channel->pos, static_cast<std::size_t>(n));
  } else {
    return 0;
  }
  channel->pos += n;
  return 1;
}

i32 ReadDddWord(FileChannel* channel, u8* word) { return ReadDddBytes(channel, word, 4); }

namespace {

// The load itself, into an emptied mesh.
i32 ReadModel(MeshObject& mesh, const char* name) {
  {
    ModelChannel model;
    if (!OpenModel(&model.channel, name)) return 0;
    // Fewer than 4 bytes are not the magic either: such a file goes to the text reader.
    u8 magic[4];
    if (ReadDddWord(&model.channel, magic) == 1 && ReadLE32(magic) == kDddMagic) {
      ClearUnlessLoaded guard(mesh);
      DddParse parse(model.channel, mesh);
      if (parse.Read()) {
        mesh.normalsValid = 1;
        guard.loaded = true;
        return 1;
      }
      if (parse.wrongVersion) std::puts("Wrong .ddd version.");
      std::printf("# read error\n%s\n", name);
      return 0;
    }
  }
  return LoadDddTextModel(&mesh, name);
}

}  // namespace

i32 LoadDdd(MeshObject* mesh, const char* name) {
  if (mesh == nullptr) return 0;
  mesh->Clear(true);
  // A model within the limits may still be too big for the memory left: it is refused like a
  // damaged one, and the program goes on.
  try {
    const SoftStorageScope soft;
    return ReadModel(*mesh, name);
  } catch (const std::bad_alloc&) {
    mesh->Clear(true);
    std::printf("# malloc error\n%s\n", name);
    return 0;
  }
}
