// Loading and saving objects through the 3D commands.
#include "scene3d/object_file_commands.h"

#include "core/runtime_globals.h"
#include "files/file_resolver.h"
#include "scene3d/command_state.h"
#include "scene3d/ddd_model_format.h"

i32 Rainbows3D::SaveObject(const char* name, i32 slot) {
  ObjectSlot* s = Slot(slot);
  if (s == nullptr || s->meshes.count < 1) return 0;
  return SaveDdd(&s->meshes[0], name);
}

void LoadObjectCommand(const DynString& name, f32 slot) {
  const i32 s = SlotArg(slot);
  char path[kResolvedPathSize];
  if (device3D == nullptr || s < 0 || ResolveFile(generalResolver, name.CStr(), path, true) == 0) {
    return;
  }
  device3D->LoadObject(path, s);
}

i32 SaveObjectCommand(const DynString& name, f32 slot) {
  if (device3D == nullptr) return 0;
  return device3D->SaveObject(name.CStr(), SlotArg(slot));
}
