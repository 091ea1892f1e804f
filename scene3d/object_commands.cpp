// The building, drawing and display commands over the runtime's 3D device.
#include "scene3d/object_commands.h"

#include "core/runtime_globals.h"
#include "scene3d/texture_commands.h"

namespace {

// A line width or point size held to 1..512 (NaN passes unchanged, as it compares with neither).
f32 DisplaySize(f32 v) { return v < 1.0f ? 1.0f : v > 512.0f ? 512.0f : v; }

void SetPoint(f32* out, f32 x, f32 y, f32 z) { out[0] = x, out[1] = y, out[2] = z; }

}  // namespace

void BeginObjectCommand(f32 slot) {
  if (device3D != nullptr) device3D->BeginObject(SlotArg(slot), 1);
}

void AddVertexCommand(f32 x, f32 y, f32 z, f32 u, f32 v, f32 colour) {
  if (device3D != nullptr) device3D->AddObjectVertex(x, y, z, u, v, ColourArg(colour));
}

void AddSeparatorCommand() {
  if (device3D != nullptr) device3D->AddObjectSeparator(1);
}

void EndObjectCommand() {
  if (device3D != nullptr) device3D->EndObject();
}

void DrawObjectCommand(f32 slot, f32 frame, f32 third, f32 fourth, f32 flag) {
  if (device3D == nullptr) return;
  SelectTexture3D();
  device3D->DrawObject(SlotArg(slot), TruncToI32(frame), TruncToI32(third), fourth,
                       flag != 0.0f ? 1 : 0);
}

void DrawObjectFrameCommand(f32 slot, f32 frame) {
  if (device3D == nullptr) return;
  SelectTexture3D();
  device3D->DrawObject(SlotArg(slot), TruncToI32(frame), TruncToI32(frame), 0.0f, 0);
}

void DrawSprite3DCommand(f32 /*sprite*/, f32 /*a*/, f32 /*b*/, f32 /*c*/, f32 /*d*/) {
  if (device3D == nullptr) return;
  device3D->SetCullMode(-1);
  device3D->SetCullMode(commands3D.savedCull);
}

void PrintText3DCommand(const DynString& /*text*/, f32 /*a*/, f32 /*b*/, f32 /*c*/, f32 /*d*/) {}

void DrawLine3DCommand(f32 x1, f32 y1, f32 z1, f32 x2, f32 y2, f32 z2, f32 width, f32 colour) {
  SetPoint(commands3D.lineStart, x1, y1, z1);
  SetPoint(commands3D.lineEnd, x2, y2, z2);
  if (device3D != nullptr) {
    device3D->DisplayLine(commands3D.lineStart, commands3D.lineEnd, ColourArg(colour),
                          DisplaySize(width));
  }
}

void DrawPoint3DCommand(f32 x, f32 y, f32 z, f32 size, f32 colour) {
  SetPoint(commands3D.point, x, y, z);
  if (device3D != nullptr)
    device3D->DisplayPoint(commands3D.point, ColourArg(colour), DisplaySize(size));
}
