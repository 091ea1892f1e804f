// Loading a scene: its INI text into a store of its own, the pictures decoded, one mesh per
// object read, built and bounded.
#include "scene3d/scene_file.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "core/dyn_string.h"
#include "core/runtime_globals.h"
#include "core/text_concat.h"
#include "files/file_resolver.h"
#include "files/ini_store.h"
#include "files/memory_name.h"
#include "media/bmp_image.h"
#include "media/png_image.h"
#include "media/surface.h"
#include "scene3d/ddd_model_format.h"
#include "scene3d/ddd_model_limits.h"
#include "scene3d/model_channel.h"
#include "scene3d/object_building.h"
#include "scene3d/rainbows3d.h"

namespace {

class Scene {
 public:
  explicit Scene(const char* name) : name_(name), folder_(FolderOf(name)) {
    // A memory name is parsed only when it names a live block; the channel that reads it keeps
    // the block alive while the text is parsed, even when the resolver lets go of it.
    const DynString text(name);
    if (NamesLiveData(name)) ParseIniFile(&store_, &text);
  }

  DynString Value(const char* section, const DynString& key) const {
    return GetIniValueFrom(&store_, DynString(section), key);
  }

  // A section's count: negative counts as 0, and one above the cap makes the section load
  // nothing.
  i32 Count(const char* section) const {
    const i32 count = DynStringToInt(Value(section, DynString("count")));
    if (count <= kMaxSceneEntries) return std::max(count, 0);
    std::printf("# read error\n%s\n", name_);
    return 0;
  }

  // A texture number of object n, from 1-based to 0-based; 0 and below stay as written.
  i32 TextureNumber(i32 n, const char* suffix) const {
    const i32 number = DynStringToInt(Value("objects", ConcatIntCString(n, suffix)));
    return number > 0 ? number - 1 : number;
  }

  // Resolves the file of key n of a section: true with `path` set when it names a file, a pack
  // entry or a live memory block. A memory name written in the scene names no live block, so it
  // never makes a reader read arbitrary memory.
  bool Resolve(const char* section, i32 n, char* path) const {
    const std::string joined = folder_ + Value(section, DynString::FromInt(n)).CStr();
    return ResolveFile(generalResolver, joined.c_str(), path, true) != 0 && NamesLiveData(path);
  }

 private:
  // The name up to and including its last "/" or "\"; none for a memory name, which is no path.
  static std::string FolderOf(const char* name) {
    if (IsMemoryName(name)) return "";
    const std::string text(name);
    const std::size_t cut = text.find_last_of("/\\");
    return cut == std::string::npos ? "" : text.substr(0, cut + 1);
  }

  const char* name_;
  std::string folder_;
  IniFile store_;
};

// Decodes a picture as a sprite would be made of it, and drops it: the slot keeps only the count
// of its textures, and is drawn with the current 3D texture.
void DecodePicture(const char* path, u32 transparentColour) {
  OwnedRgbaImage picture;
  if (LoadBmpImage(&picture.image, path, transparentColour) == 0 &&
      LoadPngImage(&picture.image, path, transparentColour) == 0) {
    return;
  }
  Surface surface;
  surface.FromRgba(&picture.image, 0, nullptr);
}

// Counts a loaded mesh's storage against the scene's budget: false once the scene passes it.
bool WithinBudget(DddStorageBudget& budget, const MeshObjectX& mesh) {
  bool within = true;
  for (const MeshPart& part : mesh.parts) within = budget.Add(1, part.sourceVertices.count);
  return within;
}

}  // namespace

i32 LoadSceneFile(const char* name, ObjectSlot* slot, u32 transparentColour) {
  if (name == nullptr || slot == nullptr) return 0;
  slot->isScene = 1;
  slot->used = 1;
  const Scene scene(name);
  char path[kResolvedPathSize];

  const i32 textures = scene.Count("textures");
  slot->textures.SetCount(textures);
  for (i32 n = 1; n <= textures; ++n) {
    if (scene.Resolve("textures", n, path)) DecodePicture(path, transparentColour);
  }

  const i32 objects = scene.Count("objects");
  ResizeMeshArray(slot->meshes, objects);
  slot->meshes.count = objects;
  // The scene's models share the budget of one model, so that a small scene naming one model
  // thousands of times cannot take gigabytes: the model that passes it, and every later one,
  // stays empty.
  DddStorageBudget budget;
  bool within = true;
  for (i32 i = 0; i < objects; ++i) {
    MeshObjectX& mesh = slot->meshes[i];
    if (within && scene.Resolve("objects", i + 1, path)) {
      LoadDdd(&mesh, path);
      within = WithinBudget(budget, mesh);
      if (!within) {
        mesh.Clear(true);
        std::printf("# read error\n%s\n", name);
      }
    }
    mesh.textureA = scene.TextureNumber(i + 1, "ta");
    mesh.textureB = scene.TextureNumber(i + 1, "tb");
    mesh.Build();
    ComputeMeshBounds(mesh);
  }
  return 1;
}
