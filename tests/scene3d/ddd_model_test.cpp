// Binary .ddd models: the normal table, the writer's bytes, round trips through files and live
// memory blocks (which must read alike), the quantised layout, and the files that are refused.
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
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
  Bytes& Raw(u32 v, int n) {
    for (int i = 0; i < n; ++i) s += static_cast<char>(v >> (8 * i));
    return *this;
  }
};

// A header of the version and counts, then the colours red and white.
Bytes Head(f64 version, i32 frames, i32 uvs = 0, i32 colours = 2) {
  return Bytes().Word(kDddMagic).Double(version).Word(frames).Word(colours).Word(uvs)
      .Word(0xFF).Word(0xFFFFFFFC);
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
  EXPECT_TRUE(WriteFileBytes(dir.File("m.ddd"), bytes));
  std::string seen[2];
  for (const std::string& name : {dir.File("m.ddd"), InMemory(bytes)}) {
    MeshObjectX mesh;
    mesh.AppendPart(MeshPart());
    testing::internal::CaptureStdout();
    const i32 result = LoadDdd(&mesh, name.c_str());
    std::string said = testing::internal::GetCapturedStdout();
    const std::size_t at = said.find(name);
    if (at != std::string::npos) said.replace(at, name.size(), "NAME");
    seen[seen[0].empty() ? 0 : 1] = std::to_string(result) + " " + said + Describe(mesh);
  }
  EXPECT_EQ(seen[0], seen[1]);
  return seen[0];
}

// Two frames of a red fan: a separator and two corners with normals of any length; the second
// frame is moved and one vertex longer.
MeshObjectX TwoFrames() {
  MeshObjectX mesh;
  LoadDdd(&mesh, InMemory("DDDA 1.1 2 0 .25 1 -.5 1 255 0 0 2 0 0 1 1 2 2 1 2 3 0 0 2 -4 5.5 6 0 "
                          ".3 0 2 9 2 3 0 0 2 -4 5.5 6 0 .3 0").c_str());
  mesh.parts[1].sourceVertices.Append(mesh.parts[1].sourceVertices[1]);
  return mesh;
}

TEST(DddModel, NormalTableAndQuantisation) {
  const f32 listed[][4] = {{0, -0.525731f, 0, 0.850651f}, {1, -0.442863f, 0.238856f, 0.864188f},
                           {2, -0.295242f, 0, 0.955423f}, {3, -0.309017f, 0.5f, 0.809017f},
                           {4, -0.16246f, 0.262866f, 0.951056f}, {5, 0, 0, 1},
                           {6, 0, 0.850651f, 0.525731f}, {160, -0.587785f, -0.425325f, -0.688191f},
                           {161, -0.688191f, -0.587785f, -0.425325f}};
  for (const auto& [k, x, y, z] : listed) {
    const VertexNormal& n = VertexNormalTable[static_cast<i32>(k)];
    EXPECT_TRUE(n.x == x && n.y == y && n.z == z) << k;
  }
  for (const VertexNormal& n : VertexNormalTable) {
    EXPECT_EQ(&n - VertexNormalTable, NearestVertexNormalIndex(n.x * 3, n.y * 3, n.z * 3));
  }
  EXPECT_EQ(0, NearestVertexNormalIndex(0, 0, 0));
}

TEST(DddModel, WrittenBytesAndRoundTrips) {
  static const ScopedTempDir dir;
  const std::string path = dir.File("m.ddd");
  MeshObjectX mesh = TwoFrames();
  mesh.parts.count = 1;
  ASSERT_EQ(1, SaveDdd(&mesh, path.c_str()));
  const std::string bytes = ReadFileBytes(path);
  ASSERT_EQ(102u, bytes.size());  // 24 + 2 colours x 4 + 3 uv pairs x 8 + 4 + 3 vertices x 14
  EXPECT_EQ(std::string("\x17\xB3\xC6\0\0\0\0\0\0\0\0\x40\1\0\0\0\2\0\0\0\3\0\0\0", 24),
            bytes.substr(0, 24));
  EXPECT_EQ(std::string("\x05\x01", 2), bytes.substr(86, 2));  // the normal (0, 0, 2) is entry 5
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
  mesh.parts[1].sourceVertices[3].u = mesh.parts[1].sourceVertices[3].v = 0;  // past frame 0
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
  Bytes b = Head(1.02, 1, 1).Float(7).Float(0.25f).Word(2).Float(100).Float(0).Float(0);
  b.Float(0.5f).Float(1).Float(1).s += std::string("\xC8\1\2\5\0\0\0\0\0\1", 10);
  EXPECT_EQ("1 10 [ff fffffffc ] | 50,1,2/0,0,1/7,-0.25/0.850651026,-0.525731027/0:100 "
            "-50,0,0/-0.525731027,0,0.850651026/0,0/0.850651026,-0.525731027/1:111",
            Load(b.s));
}

TEST(DddModel, RefusedFiles) {
  for (const f64 version : {2.5, 1.0, f64{1.02f}, BitsToF64(0x7FF8000000000000)}) {
    EXPECT_EQ("0 Wrong .ddd version.\n# read error\nNAME\n00 []", Load(Head(version, 0).s));
  }
  const auto frame = [](i32 count, u8 normal, u8 colour) {
    return Head(2.0, 1).Word(count).Float(1).Float(2).Float(3).Raw(normal, 1).Raw(colour, 1).s;
  };
  // Indices outside their tables, negative counts, counts the data cannot hold or above the limit,
  // and 2048 frames whose storage passes the limit by one vertex (the first holds 513).
  const std::string refused[] = {
      frame(1, 162, 0), frame(1, 0, 2), frame(-1, 0, 0), frame(2, 0, 0), Head(2.0, -1).s,
      Head(2.0, 0, -1).s, Head(2.0, 0, 0, -1).s, Head(2.0, 0, 0, 3).s, Head(2.0, 0, 1 << 22).s,
      Head(2.0, 2049).s + std::string(8196, '\0'), Head(1.5, 1).Word(1).s + std::string(24, 0),
      Head(2.0, 2048).Word(513).s + std::string(513 * 14 + 2047 * 4, '\0')};
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
  // 2^22 + 1 colours or texture coordinates, every one present: a count past the limit of any
  // list.
  for (const std::string& bytes : {Head(2.0, 0, 0, (1 << 22) + 1).s + std::string(4 << 22, 0),
                                   Head(2.0, 0, (1 << 22) + 1).s + std::string((8 << 22) + 8, 0)}) {
    const std::string many = InMemory(bytes);
    MeshObjectX mesh;
    testing::internal::CaptureStdout();
    EXPECT_EQ(0, LoadDdd(&mesh, many.c_str()));
    EXPECT_EQ("# read error\n" + many + "\n", testing::internal::GetCapturedStdout());
  }
  MeshObjectX loaded;  // a memory name of no live block
  EXPECT_EQ(0, LoadDdd(&loaded, FormatMemoryName(4, whole.data()).c_str()));
}

// The writer saves exactly the meshes the reader loads: up to 2048 frames, and storage of 2^20
// vertices with every frame counted at no fewer than 512.
TEST(DddModel, WriterAndReaderAgreeOnTheLimits) {
  const ScopedTempDir dir;
  const struct { i32 frames, firstFrameVertices, result; } rows[] = {
      {2048, 0, 1}, {2049, 0, 0}, {2048, 512, 1}, {2048, 513, 0}};
  for (const auto& [frames, vertices, result] : rows) {
    MeshObjectX mesh;
    mesh.colourTable.Append(0xFF);
    MeshPart part;
    for (i32 f = 0; f < frames; ++f) mesh.AppendPart(part);
    mesh.parts[0].sourceVertices.SetCount(vertices);
    const std::string path = dir.File(std::to_string(frames) + "-" + std::to_string(vertices));
    testing::internal::CaptureStdout();
    EXPECT_EQ(result, SaveDdd(&mesh, path.c_str())) << frames << " " << vertices;
    EXPECT_EQ(result, LoadDdd(&mesh, path.c_str())) << frames << " " << vertices;
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(result * frames, mesh.parts.count);
  }
}

// Models within the limits but too big for the memory left (a million vertices, binary and
// text) are refused softly: "# malloc error" and the name, the mesh empty, and the program goes on
// to load the next model. With memory to spare they load. One past the limits is refused as
// damaged before it asks for the storage.
TEST(DddModel, ModelsTooBigForTheMemoryLeft) {
  if (kSanitizerBuild) {
    GTEST_SKIP() << "the sanitizer build cannot run under a lowered address-space limit";
  }
  constexpr i32 kVertices = 1000000;
  // A fan of a million corners over one vertex: a separator and the corners in its one frame.
  std::string text = "DDDA 1 0 1 0 0 0 " + std::to_string(kVertices - 1);
  for (i32 i = 1; i < kVertices; ++i) text += " 0 0";
  const std::string names[] = {
      InMemory(Head(2.0, 1).Word(kVertices).s + std::string(kVertices * 14, '\0')),
      InMemory(text + " 1 1 0 0 0")};
  const std::string small = InMemory("DDDA 1 0 0 1 0");
  const auto loadWithLittleMemory = [&small](const std::string& name) {
    return RunInChildWithMemoryHeadroom(16 << 20, [&] {
      const ScopedFatalHook hook;
      try {
        MeshObjectX mesh;
        std::printf("%d %d\n", LoadDdd(&mesh, name.c_str()), mesh.parts.capacity);
        std::printf("%d\n", LoadDdd(&mesh, small.c_str()));
      } catch (const FatalEndForTests& end) {
        std::printf("runtime error %g\n", end.code);
      }
    }).output;
  };
  for (const std::string& name : names) {
    EXPECT_EQ("# malloc error\n" + name + "\n0 0\n1\n", loadWithLittleMemory(name));
    MeshObjectX mesh;
    EXPECT_EQ(1, LoadDdd(&mesh, name.c_str()));
    EXPECT_EQ(kVertices, mesh.parts[0].sourceVertices.count);
  }
  // 2^20 frames, every count present: past the frame limit, and refused as such before any
  // storage is taken for them (their parts alone would be 64 MB).
  const std::string frames = InMemory(Head(2.0, 1 << 20).s + std::string(4 << 20, '\0'));
  EXPECT_EQ("# read error\n" + frames + "\n0 0\n1\n", loadWithLittleMemory(frames));
}

TEST(DddModel, RefusedSavesKeepTheOldFile) {
  const ScopedTempDir dir;
  const std::string path = dir.File("m.ddd"), folder = dir.File("folder.ddd");
  ASSERT_TRUE(WriteFileBytes(path, "old"));
  std::filesystem::create_directory(folder);
  MeshObjectX mesh = TwoFrames(), empty, colourful = TwoFrames(), stale = TwoFrames();
  stale.colourTable.count = 1;  // the red corners' index lies outside
  for (i32 c = 0; c < 255; ++c) colourful.colourTable.Append(c);  // 257 colours
  testing::internal::CaptureStdout();
  EXPECT_EQ(0, SaveDdd(&empty, path.c_str()));
  EXPECT_EQ(0, SaveDdd(&mesh, InMemory("x").c_str()));
  EXPECT_EQ(0, SaveDdd(&colourful, path.c_str()));
  EXPECT_EQ(0, SaveDdd(&stale, path.c_str()));
  EXPECT_EQ(0, SaveDdd(&mesh, folder.c_str()));
  const std::string cant = "can't write to file: ";
  EXPECT_EQ(cant + path + "\n" + cant + path + "\n" + cant + folder + "\n",
            testing::internal::GetCapturedStdout());
  // The disk fills up during the save. Afterwards the folder and the old file are all there is.
  const ChildResult child = RunInChild([&] {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{50, 50};
    setrlimit(RLIMIT_FSIZE, &limit);
    if (SaveDdd(&mesh, path.c_str()) != 0) std::puts("saved");
  });
  EXPECT_EQ(cant + path + "\n", child.output);
  EXPECT_EQ("old", ReadFileBytes(path));
  EXPECT_EQ(2, std::distance(std::filesystem::directory_iterator(dir.path()), {}));
  // A model larger than the stream's buffer (a head of 8028 bytes, three frames of 14004), so
  // that the writes themselves fail: the disk fills up in the head, the first or the last frame.
  MeshObjectX large;
  large.colourTable.Append(0xFF);
  MeshPart frame;
  frame.sourceVertices.SetCount(1000);
  for (i32 f = 0; f < 3; ++f) large.AppendPart(frame);
  for (const rlim_t size : {50, 8128, 36136}) {
    const ChildResult full = RunInChild([&] {
      std::signal(SIGXFSZ, SIG_IGN);
      const rlimit limit{size, size};
      setrlimit(RLIMIT_FSIZE, &limit);
      if (SaveDdd(&large, path.c_str()) != 0) std::puts("saved");
    });
    EXPECT_EQ(cant + path + "\n", full.output) << size;
    EXPECT_EQ("old", ReadFileBytes(path));
  }
}

}  // namespace
