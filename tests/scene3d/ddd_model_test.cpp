// Binary .ddd models: the normal table, the writer's bytes, round trips through files and live
// memory blocks (which must read alike), the quantised layout, and the files that are refused.
#include <sys/resource.h>
#include <unistd.h>

#include <cmath>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <iomanip>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/byte_order.h"
#include "files/memory_block.h"
#include "files/memory_name.h"
#include "scene3d/ddd_model_format.h"
#include "scene3d/mesh_model.h"
#include "scene3d/vertex_normal_table.h"
#include "tests/support/test_support.h"

namespace {

// Builds model files field by field.
struct Bytes {
  std::string s;
  Bytes& Word(u32 v) { return Raw(v, 4); }
  Bytes& Float(f32 v) { return Word(F32ToBits(v)); }
  Bytes& Double(f64 v) { return Word(static_cast<u32>(F64ToBits(v))).Word(F64ToBits(v) >> 32); }
  Bytes& Byte(u8 v) { return Raw(v, 1); }
  Bytes& Raw(u32 v, int n) {
    for (int i = 0; i < n; ++i) s += static_cast<char>(v >> (8 * i));
    return *this;
  }
};

// A header of the version and counts, with the colour table {red, white}.
Bytes Head(f64 version, i32 frames, i32 uvs = 0) {
  Bytes b;
  b.Word(kDddMagic).Double(version).Word(frames).Word(2).Word(uvs).Word(0xFF).Word(0xFFFFFFFC);
  return b;
}

std::string InMemory(const std::string& bytes) {
  static std::vector<SharedMemoryBlock> blocks;  // alive until the tests end
  u8* copy = new u8[bytes.size()];
  std::memcpy(copy, bytes.data(), bytes.size());
  blocks.push_back(MakeMemoryBlock(copy, static_cast<u32>(bytes.size())));
  return FormatMemoryName(blocks.back()->Size(), blocks.back()->Data());
}

// The mesh as text: flags, colour table, then every vertex of every frame.
std::string Describe(const MeshObject& mesh) {
  std::ostringstream out;
  out << std::setprecision(9) << mesh.normalsValid << mesh.tangentsValid << " [" << std::hex;
  for (u32 colour : mesh.colourTable) out << colour << ' ';
  out << std::dec << ']';
  for (const MeshPart& part : mesh.parts) {
    out << " |";
    for (const MeshVertex& v : part.sourceVertices) {
      out << ' ' << v.x << ',' << v.y << ',' << v.z << '/' << v.nx << ',' << v.ny << ',' << v.nz
          << '/' << v.u << ',' << v.v << '/' << v.tangent[2] << ',' << v.bitangent[0] << '/'
          << int{v.colourIndex} << ':' << v.r << v.g << v.b;
    }
  }
  return out.str();
}

// Loads the bytes from a file and from a live memory block, which must agree: the result, the
// lines printed (the name as NAME) and the mesh.
std::string Load(const std::string& bytes) {
  static const ScopedTempDir dir;
  const std::string path = dir.File("m.ddd"), memory = InMemory(bytes);
  EXPECT_TRUE(WriteFileBytes(path, bytes));
  std::string seen[2];
  for (int i = 0; i < 2; ++i) {
    const std::string& name = i == 0 ? path : memory;
    MeshObjectX mesh;
    mesh.AppendPart(MeshPart());
    testing::internal::CaptureStdout();
    const i32 result = LoadDdd(&mesh, name.c_str());
    std::string said = testing::internal::GetCapturedStdout();
    if (const auto at = said.find(name); at != std::string::npos) said.replace(at, name.size(), "NAME");
    seen[i] = std::to_string(result) + " " + said + Describe(mesh);
  }
  EXPECT_EQ(seen[0], seen[1]);
  return seen[0];
}

// Two frames: a fan separator, then red and green corners with normals of any length.
MeshObjectX TwoFrames() {
  MeshObjectX mesh;
  MeshPart part;
  const f32 corners[][6] = {{0, 0, 0, 0, 0, 0}, {1, 2, 3, 0, 0, 2}, {-4, 5.5f, 6, 0, 0.3f, 0}};
  for (i32 i = 0; i < 3; ++i) {
    MeshVertex v;
    v.x = corners[i][0], v.y = corners[i][1], v.z = corners[i][2];
    v.nx = corners[i][3], v.ny = corners[i][4], v.nz = corners[i][5];
    v.u = 0.25f * i, v.v = -0.5f * i;
    v.SetColour(i == 0 ? kFanSeparator : i == 1 ? 0xFFu : 0xFF00u);
    part.sourceVertices.Append(v);
  }
  mesh.AppendPart(part);
  part.sourceVertices[2].x = 9;
  part.sourceVertices.Append(part.sourceVertices[1]);  // a longer later frame
  mesh.AppendPart(part);
  mesh.BuildColourTable();
  return mesh;
}

TEST(DddModel, NormalTableAndQuantisation) {
  const VertexNormal listed[] = {{-0.525731f, 0, 0.850651f}, {-0.442863f, 0.238856f, 0.864188f},
                                 {-0.295242f, 0, 0.955423f}, {-0.309017f, 0.5f, 0.809017f},
                                 {-0.162460f, 0.262866f, 0.951056f}, {0, 0, 1},
                                 {0, 0.850651f, 0.525731f}};
  for (i32 k = 0; k < 7; ++k) EXPECT_EQ(listed[k].y, VertexNormalTable[k].y) << k;
  EXPECT_EQ(-0.688191f, VertexNormalTable[160].z);
  EXPECT_EQ(-0.587785f, VertexNormalTable[161].y);
  for (i32 k = 0; k < kVertexNormalCount; ++k) {
    const VertexNormal& n = VertexNormalTable[k];
    EXPECT_EQ(k, NearestVertexNormalIndex(n.x * 3, n.y * 3, n.z * 3));
  }
  EXPECT_EQ(5, NearestVertexNormalIndex(0, 0, 2));
  EXPECT_EQ(0, NearestVertexNormalIndex(0, 0, 0));
}

TEST(DddModel, WrittenBytesAndRoundTrips) {
  static const ScopedTempDir dir;
  const std::string path = dir.File("m.ddd");
  MeshObjectX mesh = TwoFrames();
  mesh.parts.count = 1;
  ASSERT_EQ(1, SaveDdd(&mesh, path.c_str()));
  const std::string bytes = ReadFileBytes(path);
  ASSERT_EQ(106u, bytes.size());  // 24 + 3 colours x 4 + 3 uv pairs x 8 + 4 + 3 vertices x 14
  EXPECT_EQ(Bytes().Word(kDddMagic).Double(2.0).Word(1).Word(3).Word(3).s, bytes.substr(0, 24));
  EXPECT_EQ(std::string("\x17\xB3\xC6\0\0\0\0\0\0\0\0\x40", 12), bytes.substr(0, 12));
  EXPECT_EQ(std::string("\x05\x01", 2), bytes.substr(90, 2));  // the normal (0, 0, 2) is entry 5
  mesh = TwoFrames();
  ASSERT_EQ(1, SaveDdd(&mesh, path.c_str()));
  // Positions, colours and uvs come back exactly, normals as table entries, the later frame's
  // extra vertex without texture coordinates.
  for (MeshPart& part : mesh.parts) {
    for (MeshVertex& v : part.sourceVertices) {
      const VertexNormal& n = VertexNormalTable[NearestVertexNormalIndex(v.nx, v.ny, v.nz)];
      v.nx = n.x, v.ny = n.y, v.nz = n.z;
    }
  }
  mesh.parts[1].sourceVertices[3].u = mesh.parts[1].sourceVertices[3].v = 0;
  mesh.normalsValid = 1;
  EXPECT_EQ("1 " + Describe(mesh), Load(ReadFileBytes(path)));
  // A file named ignoring case is replaced, with no second file and no temporary file left.
  ASSERT_EQ(1, SaveDdd(&mesh, dir.File("M.DDD").c_str()));
  EXPECT_EQ(1, std::distance(std::filesystem::directory_iterator(dir.path()), {}));
  // A text model reads through the same entry; a frame count of 0 is a model without parts.
  EXPECT_EQ("1 00 [fffffffd ff ] | 0,0,0/0,0,0/0,0/0,0/0:111 1,2,3/0,0,0/0,0/0,0/1:100",
            Load("DDDA 1 0 1 255 0 0 1 0 0 1 1 1 2 3"));
  EXPECT_EQ("1 10 [ff fffffffc ]", Load(Head(2.0, 0).s));
}

TEST(DddModel, QuantisedLayout) {
  Bytes b = Head(1.02, 1, 1);
  b.Float(7).Float(0.25f).Word(2).Float(100).Float(0).Float(0).Float(0.5f).Float(1).Float(1);
  b.Byte(200).Byte(1).Byte(2).Byte(5).Byte(0).Byte(0).Byte(0).Byte(0).Byte(0).Byte(1);
  EXPECT_EQ("1 10 [ff fffffffc ] | 50,1,2/0,0,1/7,-0.25/0.850651026,-0.525731027/0:100 "
            "-50,0,0/-0.525731027,0,0.850651026/0,0/0.850651026,-0.525731027/1:111",
            Load(b.s));
}

TEST(DddModel, RefusedFiles) {
  const std::string wrong = "0 Wrong .ddd version.\n# read error\nNAME\n00 []";
  for (const f64 version : {2.5, 1.0, f64{1.02f}, std::nan("")}) {
    EXPECT_EQ(wrong, Load(Head(version, 0).s)) << version;
  }
  const auto frame = [](i32 count, u8 normal, u8 colour) {
    Bytes b = Head(2.0, 1);
    b.Word(count).Float(1).Float(2).Float(3).Byte(normal).Byte(colour);
    return b.s;
  };
  const auto counts = [](i32 frames, i32 colours, i32 uvs) {
    return Bytes().Word(kDddMagic).Double(2.0).Word(frames).Word(colours).Word(uvs).s;
  };
  std::string refused[] = {frame(1, 162, 0), frame(1, 0, 2), frame(-1, 0, 0), frame(2, 0, 0),
                           counts(-1, 0, 0), counts(0, -1, 0), counts(0, 0, -1), counts(0, 1, 0),
                           counts(0, 0, 1 << 22), counts(2049, 0, 0) + std::string(8196, '\0'),
                           Head(1.5, 1).s + Bytes().Word(1).s + std::string(24, '\0')};
  for (const std::string& bytes : refused) {
    EXPECT_EQ("0 # read error\nNAME\n00 []", Load(bytes)) << bytes.size();
  }
  // Every cut of a written model is refused: the end of a memory block is the end of the data.
  static const ScopedTempDir dir;
  const MeshObjectX mesh = TwoFrames();
  ASSERT_EQ(1, SaveDdd(&mesh, dir.File("m.ddd").c_str()));
  const std::string whole = ReadFileBytes(dir.File("m.ddd"));
  for (std::size_t n = 4; n < whole.size(); ++n) {
    EXPECT_EQ("0 # read error\nNAME\n00 []", Load(whole.substr(0, n))) << n;
  }
  EXPECT_EQ("0 # read error\nNAME\n00 []", Load(whole.substr(0, 3)));  // the text reader's
  MeshObjectX loaded;  // a memory name of no live block
  EXPECT_EQ(0, LoadDdd(&loaded, FormatMemoryName(4, whole.data()).c_str()));
}

TEST(DddModel, RefusedSavesKeepTheOldFile) {
  const ScopedTempDir dir;
  const std::string path = dir.File("m.ddd"), folder = dir.File("folder.ddd");
  ASSERT_TRUE(WriteFileBytes(path, "old"));
  std::filesystem::create_directory(folder);
  MeshObjectX mesh = TwoFrames(), empty, colourful = TwoFrames(), stale = TwoFrames();
  for (u32 c = 0; c < 300; ++c) colourful.parts[0].sourceVertices[1].SetColour(c);
  stale.colourTable.count = 2;  // the green vertex's index lies outside
  for (i32 c = 0; c < 254; ++c) colourful.colourTable.Append(c);  // 257 colours
  testing::internal::CaptureStdout();
  EXPECT_EQ(0, SaveDdd(&empty, path.c_str()));
  EXPECT_EQ(0, SaveDdd(&mesh, InMemory("x").c_str()));
  EXPECT_EQ(0, SaveDdd(&colourful, path.c_str()));
  EXPECT_EQ(0, SaveDdd(&stale, path.c_str()));
  EXPECT_EQ(0, SaveDdd(&mesh, folder.c_str()));
  const std::string cant = "can't write to file: ";
  EXPECT_EQ(cant + path + "\n" + cant + path + "\n" + cant + folder + "\n",
            testing::internal::GetCapturedStdout());
  // The disk fills up during the save.
  const ChildResult child = RunInChild([&] {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{50, 50};
    setrlimit(RLIMIT_FSIZE, &limit);
    if (SaveDdd(&mesh, path.c_str()) != 0) std::puts("saved");
  });
  EXPECT_EQ(cant + path + "\n", child.output);
  EXPECT_EQ("old", ReadFileBytes(path));
  EXPECT_TRUE(std::filesystem::is_directory(folder));
  EXPECT_EQ(2, std::distance(std::filesystem::directory_iterator(dir.path()), {}));
}

}  // namespace
