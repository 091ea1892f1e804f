// The runtime's single 3D device. Start-up creates it with the 2D device and keeps it for the
// whole run (runtime_globals.h); the frame step clears its frame flag once per frame. It owns
// the table of 4096 object slots into which objects are built vertex by vertex or loaded, the
// stack of 16 transform states that places them, the camera and projection parameters, the cull
// and normal modes, and reaches the 2D device for the viewport and the texture.
//
// The device starts defined: every field is zero-initialised and the transform stack is reset,
// so drawing or querying before 3D mode is entered reads nothing undefined. Every entry accepts
// any slot number: outside 0..4095 it does nothing (and answers 0).
//
// The members live in the sources of their concern: slots here (rainbows3d.cpp), the transform
// stack (transform_stack.cpp), camera and projection (camera.cpp), object building
// (object_building.cpp) and drawing (object_drawing.cpp).
#pragma once

#include "core/grow_vector.h"
#include "core/types.h"
#include "scene3d/mesh_model.h"
#include "scene3d/transform_stack.h"

class OpenGLRainbows;

constexpr i32 kObjectSlotCount = 4096;

struct ObjectSlot {
  u8 used = 0;     // 1 once an object was ended or loaded into the slot
  u8 isScene = 0;  // 1 when a scene filled the slot: every mesh is drawn, not only the first
  GrowVector<MeshObjectX> meshes;
  GrowVector<u32> textures;  // a scene's texture ids
};

// Releases everything the slot holds: every mesh (its renderer batches given back for the next
// Build, batch_recycling.h) and the texture list freed, both flags 0.
void EmptyObjectSlot(ObjectSlot& slot);
// Empties the slot for a new object keeping its storage (and mesh 0's texture indices).
void ResetObjectSlot(ObjectSlot& slot);
// Makes room for n meshes without changing the count. On growth every entry of the new storage
// is an empty mesh and the old meshes are copied into it member by member (each list growing to
// its source's count), then released.
void ResizeMeshArray(GrowVector<MeshObjectX>& meshes, i32 n);

class Rainbows3D {
 public:
  explicit Rainbows3D(OpenGLRainbows* device);
  virtual ~Rainbows3D();
  Rainbows3D(const Rainbows3D&) = delete;
  Rainbows3D& operator=(const Rainbows3D&) = delete;

  // Object slots. Null outside 0..4095.
  ObjectSlot* Slot(i32 slot);
  // EmptyObjectSlot of a slot number, as the loaders start: the slot under construction stops
  // being built.
  void EmptyObjectSlot(i32 slot);

  // Object loading (object_loading.cpp). Empties the slot, then fills it from `name`: a path
  // (opened with the case-insensitive fallback) or the "mem://" name of a live block, as the
  // resolver hands them out. Data that begins ";DDW" is a scene (scene_file.h), loaded with the
  // 2D device's transparent colour, and gives LoadSceneFile's result; anything else is one model
  // (LoadDdd: .ddd binary or "DDDA" text), built and bounded: 1 when it has at least one frame
  // with vertices, else 0 with the slot left unused. A slot outside 0..4095 gives 0.
  i32 LoadObject(const char* name, i32 slot);

  // Transform stack (transform_stack.cpp).
  TransformState& CurrentState() { return stack[stackIndex]; }
  // Brings the current state's model matrix up to date; ApplyModelMatrix then multiplies the
  // renderer's model-view matrix by it.
  void UpdateModelMatrix();
  void ApplyModelMatrix();
  // Places the camera (eye, target and the stored up vector) and resets the stack; returns 1.
  i32 ResetState(f32 eyeX, f32 eyeY, f32 eyeZ, f32 targetX, f32 targetY, f32 targetZ);
  // Back to state 0, at the identity with no records.
  void ResetStack();
  // Each restarts the current state from its parent's matrix (dropping its records and
  // matrices), then sets the position or the scale.
  void SetPosition(f32 x, f32 y, f32 z);
  void SetScale(f32 x, f32 y, f32 z);
  // A child state starting from the current state's composed matrix; nothing at the top state.
  void PushState();
  // Appends a whole matrix (column-major); beyond 16 it is dropped, but the state is recomposed.
  void AppendMatrix(const f32 m[16]);
  // Appends a rotation record; beyond 16 it is dropped, but the state is recomposed.
  void PushTransform(f32 angle, f32 x, f32 y, f32 z);
  // Back to the parent state; at state 0 it resets state 0 instead.
  void PopState();

  // Camera and projection (camera.cpp).
  // Enters 3D mode: perspective over the 2D viewport, depth test, no culling, no texture, the
  // camera at the origin looking along -z with +y up, and a fresh transform stack.
  void SetProjection(f32 zNear, f32 zFar, f32 fovDegrees);
  // Takes effect at the next ResetState.
  void SetUpVector(f32 x, f32 y, f32 z);
  // 0: no culling, 1: back faces, -1: front faces; any other mode is only stored.
  void SetCullMode(i32 mode);
  void SetFrameFlag(u8 value);
  // Clears the render target's depth buffer when 3D drawing has used it.
  void ClearDepth();
  void SetTwoValues(f32 a, f32 b);
  // Display operations reached from the 3D commands; none has an effect.
  void DisplayLine(const f32* /*start*/, const f32* /*end*/, u32 /*colour*/, f32 /*width*/) {}
  void DisplayPoint(const f32* /*position*/, u32 /*colour*/, f32 /*size*/) {}
  void DisplaySphere(const f32* /*centre*/, f32 /*radius*/, i32 /*colour*/, i32 /*weight*/) {}
  void DisplayBox(const f32* /*centre*/, const f32* /*axes*/, i32 /*colour*/, i32 /*weight*/) {}
  void ReservedDisplayA(i32, u32) {}
  void ReservedDisplayB(i32, u32, const f32* /*sevenValues*/, i32 /*debug*/) {}
  void ReservedDisplayC(f32, f32, f32) {}
  void ReservedDisplayD(u32, i32, f32, f32) {}

  // Object building (object_building.cpp): an object is built vertex by vertex into mesh 0,
  // part 0 of one slot at a time.
  void BeginObject(i32 slot, i32 separatorKind);
  // u and colour as given, v stored negated; colour 0x00BBGGRR (0xFFFFFFFC and up: white).
  void AddObjectVertex(f32 x, f32 y, f32 z, f32 u, f32 v, u32 colour);
  // Kind 0 starts a triangle list, 2 a fan, anything else a strip.
  void AddObjectSeparator(i32 kind);
  // Marks the slot used and turns the object into renderer batches and bounding spheres.
  void EndObject();

  // Object drawing (object_drawing.cpp): mesh 0 of an object, every mesh of a scene, in the
  // given animation frame under the current model matrix. The last three arguments are carried
  // for the commands and have no effect.
  void DrawObject(i32 slot, i32 frame, i32 third = 0, f32 fourth = 0.0f, u8 flag = 0);
  void DrawObjectPart(MeshObjectX& mesh, i32 frame, i32 third = 0, f32 fourth = 0.0f, u8 flag = 0);

  // Collision queries (object_queries.cpp): shapes in world coordinates against the triangles of
  // animation frame `frame` of every mesh of a slot, placed by the current transform state:
  // exact under every placement with an inverse, whatever its scale on each axis. A slot outside
  // the table, a frame a mesh does not have, a part without a triangle or a placement without an
  // inverse answers no hit.
  // The box: centre and three perpendicular half-axis vectors.
  i32 CollideBox(i32 slot, i32 frame, const f32* centre, const f32* u, const f32* v, const f32* w);
  i32 CollideSphere(i32 slot, i32 frame, f32 radius, f32 x, f32 y, f32 z);
  // The distance along the ray (world units, any non-zero direction length) of the nearest hit
  // in front of the origin, else the negative distance of the nearest behind it, else 0; a hit
  // exactly at the origin does not count.
  f32 CollideRay(i32 slot, i32 frame, f32 x, f32 y, f32 z, f32 dx, f32 dy, f32 dz);
  // 1.0 when the infinite one-sided cone (apex, axis, half-angle in degrees) meets the object.
  f32 CollideCone(i32 slot, i32 frame, f32 x, f32 y, f32 z, f32 dx, f32 dy, f32 dz, f32 angle);
  // 1 when the sphere meets the box of half sizes hx, hy, hz centred on the current placement's
  // origin along its axes (in the placement's units). No slot is involved.
  i32 CollideBoundsBox(f32 x, f32 y, f32 z, f32 radius, f32 hx, f32 hy, f32 hz);
  // The same questions for one mesh.
  i32 CollideBoxPart(MeshObjectX& mesh, i32 frame, const f32* centre, const f32* u, const f32* v,
                     const f32* w);
  i32 CollideSpherePart(MeshObjectX& mesh, i32 frame, f32 radius, const f32* centre);
  f32 CollideRayPart(MeshObjectX& mesh, i32 frame, const f32* origin, const f32* direction);
  f32 CollideConePart(MeshObjectX& mesh, i32 frame, const f32* apex, const f32* direction,
                      f32 angle);

  // Writes mesh 0 of the slot as a .ddd model (object_file_commands.cpp): SaveDdd's result, 0
  // for a slot outside the table or without a mesh.
  i32 SaveObject(const char* name, i32 slot);

  GrowVector<ObjectSlot> objects{128, 512};
  u8 frameFlag = 0;
  u8 cullMode = 0;
  TransformState stack[kTransformDepth] = {};
  i32 stackIndex = 0;
  f32 valueA = 0.0f;
  f32 valueB = 0.0f;
  u8 byteFlag1 = 0;
  u8 byteFlag2 = 0;
  OpenGLRainbows* device2D = nullptr;
  u8 byteFlag3 = 0;
  f32 up[3] = {0.0f, 1.0f, 0.0f};
  f32 eye[3] = {};
  f32 target[3] = {};
  f32 fovTangent = 0.0f;  // of the field of view widened by 5 degrees; stored, not read
  f32 nearPlane = 0.0f;
  f32 farPlane = 0.0f;
  i32 normalMode = 2;     // the smoothing EndObject runs: 1 normals, 2 welded normals, else none
  i32 buildingSlot = -1;  // the slot under construction, -1 for none

 private:
  // The current state from its parent's model matrix (the identity for state 0).
  void RestartState();
  // Part 0 of mesh 0 of the slot under construction; null when there is none (no object under
  // construction, or a slot left without that part).
  MeshPart* BuildingPart();
  // The inverse of the current placement (composed first) and the length of its first column,
  // the scale by which lengths grow when the placement scales uniformly; false when the placement
  // has no inverse.
  bool PlacementInverse(f32 inverse[16], f32* scale);
};

// Hands the nine values to the renderer's LookAtMatrix.
void ForwardLookAt(f32 eyeX, f32 eyeY, f32 eyeZ, f32 targetX, f32 targetY, f32 targetZ, f32 upX,
                   f32 upY, f32 upZ);
// MeshObject::Clear with the low byte of freeMemory.
void ClearMeshWrapper(MeshObject& mesh, i32 freeMemory);
// Has no effect: hands back the device.
Rainbows3D* IdentityValue(Rainbows3D* device, const u8* table, i32 count);
