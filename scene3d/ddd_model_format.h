// The binary .ddd model file: a MeshObject's animation frames, its colour table and the texture
// coordinates its frames share, every vertex normal reduced to an index into the 162 normals of
// vertex_normal_table.h. All values are little endian:
//
//   u32 magic 0x00C6B317, f64 version, i32 frameCount, i32 colourCount, i32 uvCount,
//   colourCount u32 colours (0x00BBGGRR or a separator code), uvCount pairs f32 u, f32 v,
//   then frameCount frames, each i32 vertexCount and its vertices:
//     version 2.0 (written):      f32 x, y, z, u8 normalIndex, u8 colourIndex
//     1.02 up to below 2.0:       f32 offset x, y, z, f32 scale x, y, z, then per vertex
//                                 u8 qx, qy, qz, u8 normalIndex, u8 colourIndex, the position
//                                 being (q - offset) x scale and the stored v negated.
//
// Vertex i of every frame takes texture-coordinate pair i; the writer stores frame 0's. Files
// without the magic are "DDDA" text models (text_model_mesh.h), read through the same entry.
//
// Model files come from memory cards, packs and the internet: the reader refuses a file it
// cannot read soundly (a count that is negative, beyond the model limits of ddd_model_limits.h or
// larger than the rest of the data, a normal or colour index outside its table, a file cut short)
// rather than loading undefined values, and the writer refuses a mesh the reader would refuse.
#pragma once

#include "core/types.h"

class MeshObject;
struct FileChannel;

inline constexpr u32 kDddMagic = 0x00C6B317u;
inline constexpr f64 kDddVersion = 2.0;         // the layout the writer stores
inline constexpr f64 kDddOldestVersion = 1.02;  // the first quantised layout the reader takes
inline constexpr i32 kDddVertexBytes = 14;
inline constexpr i32 kDddQuantisedVertexBytes = 5;
inline constexpr i32 kDddQuantisedFrameBytes = 24;  // the offsets and scales before its vertices
// A colour index is one byte: a mesh with a larger colour table cannot be saved.
inline constexpr i32 kDddMaxColours = 256;

// Writes the mesh to the file `name` in the 2.0 layout: 1 when written. The vertices' colour
// indices must be current (MeshObject::BuildColourTable). Refused with 0: a mesh without parts
// or a "mem://" name (nothing printed, nothing touched); a colour table above 256 entries or a
// colour index outside it, a mesh beyond the model limits, and every failure to create, write or
// close the file ("can't write to file: <name>"; nothing written). The file is written beside the
// target and renamed over it, so a failed save leaves the old file as it was.
i32 SaveDdd(const MeshObject* mesh, const char* name);

// Reads the model `name` (a path, opened with the case-insensitive fallback, or a "mem://" name
// of a live block) into the mesh, which is emptied first in every case: 1 when read. A binary
// model sets normalsValid; a file without the magic goes to the text reader. When a binary model
// is refused, prints "# read error" and the name, each on a line of its own ("Wrong .ddd
// version." before them for a version outside 1.02 .. 2.0 or not a number), and leaves the mesh
// empty with its storage released. A model too big for the memory left prints "# malloc error"
// and the name instead, with the same result. A name that opens nothing gives 0 with only the
// open's own lines.
i32 LoadDdd(MeshObject* mesh, const char* name);

// The reader's byte read: 1 when all n bytes came from the channel (a file or a memory block)
// into buffer and the read position moved past them; 0 when the data holds fewer (nothing is
// read then) or the file read fails.
i32 ReadDddBytes(FileChannel* channel, void* buffer, i32 n);
// ReadDddBytes of 4 bytes.
i32 ReadDddWord(FileChannel* channel, u8* word);
