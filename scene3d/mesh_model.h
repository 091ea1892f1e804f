// The 3D engine's float mesh model. A mesh is a list of parts, one per animation frame; a part
// holds the frame's source vertices (separator entries included), as building and the model
// readers append them, and the triangle vertices that the mesh's Build derives from them. The
// mesh holds one colour table for all its frames, the flags that say whether normals and tangents
// are known, and the renderer batch of each frame. The device keeps MeshObjectX meshes in its
// object slots.
//
// Lists are GrowVectors (step 128, minimum 512) because their capacities are part of the
// contract: clearing without freeing keeps every capacity, so an object rebuilt in the same slot
// does not allocate again.
#pragma once

#include "core/grow_vector.h"
#include "core/types.h"

// A vertex colour from kFanSeparator up is no colour. The three highest codes start a run of
// triangles (a list, a strip or a fan); 0xFFFFFFFC is a plain vertex that reads as white.
inline constexpr u32 kListSeparator = 0xFFFFFFFFu;
inline constexpr u32 kStripSeparator = 0xFFFFFFFEu;
inline constexpr u32 kFanSeparator = 0xFFFFFFFDu;
inline constexpr u32 kFirstNonColour = 0xFFFFFFFCu;

inline bool IsSeparatorCode(u32 colour) { return colour >= kFanSeparator; }

// The mesh's copy rule for its lists: the destination grows to hold the source's count (not its
// capacity, which is the renderer batches' rule), then takes the count and the elements.
template <class T>
void CopyListByCount(GrowVector<T>& dest, const GrowVector<T>& src) {
  if (&dest == &src) return;
  dest.SetCount(src.count);
  for (i32 i = 0; i < src.count; ++i) dest[i] = src[i];
}

struct MeshVertex {
  f32 x = 0, y = 0, z = 0;
  f32 nx = 0, ny = 0, nz = 0;  // unit length once known
  f32 u = 0, v = 0;
  f32 tangent[3] = {};    // direction in which u grows
  f32 bitangent[3] = {};  // direction in which v grows
  u32 colour = 0;         // 0x00BBGGRR, or a separator code
  u8 colourIndex = 0;     // position of colour in the mesh's colour table, low 8 bits
  f32 r = 0, g = 0, b = 0;

  // Stores the colour and its components 0..1 (red from the low byte); no colour gives white.
  void SetColour(u32 value);
};

struct MeshPart {
  GrowVector<MeshVertex> sourceVertices;
  GrowVector<MeshVertex> triangleVertices;
  // The bounding sphere, valid only once the bounds were computed; Assign leaves it alone.
  f32 boundRadius = 0;
  f32 boundCentre[3] = {};

  // Frees the storage of both lists.
  void Clear();
  // Copies src's vertices into dest (each list growing to src's count), keeping dest's bounds.
  static MeshPart& Assign(MeshPart& dest, const MeshPart& src);
};

class MeshObject {
 public:
  MeshObject() = default;
  // Copies member by member; every list first grows to hold the source's count, parts are
  // copied with MeshPart::Assign.
  MeshObject(const MeshObject& src);
  MeshObject& operator=(const MeshObject& src);
  MeshObject(MeshObject&&) noexcept = default;
  MeshObject& operator=(MeshObject&&) noexcept = default;
  virtual ~MeshObject() = default;

  // Turns the source vertices into drawable triangles; nothing in the base class.
  virtual void Build() {}

  // Empties the mesh. Without freeMemory every list keeps its storage; with it every list but
  // frameBatches is released. frameBatches is never touched, so a rebuilt mesh can record into
  // the batches it already owns.
  void Clear(bool freeMemory);
  // Makes room for n parts by the growth rule. On growth every existing part is copied into the
  // new storage with MeshPart::Assign (bounding spheres are not carried over).
  void ReserveParts(i32 n);
  // Appends a part holding a copy of src's vertices (its bounds are not copied).
  MeshPart& AppendPart(const MeshPart& src);
  // Rebuilds colourTable from every source vertex of every part, in order of first appearance,
  // and gives each source vertex the low 8 bits of its colour's position.
  void BuildColourTable();
  // Vertex normals (and, on request, tangents and bitangents) summed from the faces, written into
  // the source vertices, then Build. Runs only what the valid flags say is not known yet; weld
  // shares the sums between vertices at exactly the same position (mesh_smooth.cpp).
  void Smooth(u8 normals, u8 weld, u8 tangents);

  GrowVector<MeshPart> parts;
  GrowVector<MeshVertex> firstFrameTriangles;
  GrowVector<u32> colourTable;
  u32 normalsValid = 0;
  u32 tangentsValid = 0;
  GrowVector<i32> frameBatches;
};

// The mesh class of the device's object slots: Build records each frame into a renderer batch.
class MeshObjectX : public MeshObject {
 public:
  // Assembles every part's triangles and records each part into a renderer batch: those the mesh
  // already owns, then batches that dropped meshes gave back, then new ones (mesh_build.cpp).
  void Build() override;

  u32 coloured = 0;  // set by Build: some table entry is a real colour other than white
  i32 textureA = 0;  // first texture index of the mesh (scene files)
  i32 textureB = 0;  // second texture index
};
