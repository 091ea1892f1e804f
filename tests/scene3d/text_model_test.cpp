// The "DDDA" text model reader and its mesh construction. Every model is read twice, from a file
// and from a live memory block, and both reads must agree.
#include <clocale>
#include <cstring>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "files/memory_block.h"
#include "files/memory_name.h"
#include "scene3d/mesh_model.h"
#include "scene3d/text_model_mesh.h"
#include "scene3d/text_model_reader.h"
#include "tests/support/test_support.h"

namespace {

const std::string kTriangle =
    "DDDA 1.1 3 0 0 1 0 0 1 1 255 0 0 3 0 0 1 1 2 2 1 3 0 0 0 0 0 1 1 0 0 0 0 1 0 1 0 0 0 1";
const std::string kEmpty = "uvs:|polys:|frames:";

// The reader's lists as text: "uvs: u,v ...|polys: r,g,b:vertex/uv;...|frames:[x,y,z/n;...]".
std::string Summary(const DddTextReader& reader) {
  std::ostringstream out;
  out << "uvs:";
  for (const DddTextUv& uv : reader.uvs) out << ' ' << uv.u << ',' << uv.v;
  out << "|polys:";
  for (const DddTextPolygon& p : reader.polygons) {
    out << ' ' << p.red << ',' << p.green << ',' << p.blue << ':';
    for (i32 k = 0; k < p.vertexIndices.count; ++k) {
      out << p.vertexIndices[k] << '/' << p.uvIndices[k] << ';';
    }
  }
  out << "|frames:";
  for (const DddTextFrame& frame : reader.frames) {
    out << '[';
    for (const DddTextVertex& v : frame.vertices) {
      out << v.x << ',' << v.y << ',' << v.z << '/' << v.nx << ',' << v.ny << ',' << v.nz << ';';
    }
    out << ']';
  }
  return out.str();
}

// The "mem://" name of a live block holding the bytes (kept until the tests end).
std::string InMemory(const std::string& bytes) {
  static std::vector<SharedMemoryBlock> blocks;
  u8* copy = new u8[bytes.size()];
  std::memcpy(copy, bytes.data(), bytes.size());
  blocks.push_back(MakeMemoryBlock(copy, static_cast<u32>(bytes.size())));
  return FormatMemoryName(blocks.back()->Size(), blocks.back()->Data());
}

// Reads the text from a file and from memory, which must agree: "result summary".
std::string Read(const std::string& text) {
  static const ScopedTempDir dir;
  EXPECT_TRUE(WriteFileBytes(dir.File("model.ddd"), text));
  DddTextReader fromFile, fromMemory;
  const i32 result = LoadDddText(&fromFile, dir.File("model.ddd").c_str());
  EXPECT_EQ(result, LoadDddText(&fromMemory, InMemory(text).c_str()));
  EXPECT_EQ(Summary(fromFile), Summary(fromMemory));
  return std::to_string(result) + " " + Summary(fromFile);
}

TEST(TextModelReader, ReadsOrRefuses) {
  std::string frames2048 = "DDDA 1 0 0 2048", empty2048 = kEmpty;
  for (int i = 0; i < 2048; ++i) frames2048 += " 0", empty2048 += "[]";
  const std::pair<std::string, std::string> accepted[] = {
      {kTriangle, "uvs: 0,0 1,0 0,1|polys: 255,0,0:0/0;1/1;2/2;|frames:[0,0,0/0,0,1;1,0,0/0,0,1;"
                  "0,1,0/0,0,1;]"},
      {"DDDA 1.1 0 0 0", kEmpty},
      {"DDDA 1.10 0 0 1 1 1 2 3 4 5 6", "uvs:|polys:|frames:[1,2,3/4,5,6;]"},
      {"DDDA 1.09 0 0 1 1 1 2 3 4 5 6", "uvs:|polys:|frames:[1,2,3/0,0,0;]"},
      {"DDDA -3 0 0 1 1 1 2 3", "uvs:|polys:|frames:[1,2,3/0,0,0;]"},
      {"\n\n# c\n  # d\r\nDDDA#c\n1 1 5\t6\r\n0 0", "uvs: 5,6|polys:|frames:"},
      {"DDDA 1 2#note\n0.5 1 3.9 7 -2", "uvs: 0.5,1 3.9,7|polys:|frames:"},
      {"DDDA 1 1.9 5 6 0 0", "uvs: 5,6|polys:|frames:"},
      {"DDDA 1 0 2 1 2 3 0 4 5 6 1 0 0 0", "uvs:|polys: 1,2,3: 4,5,6:0/0;|frames:"},
      {"DDDA 1 1 #" + std::string(512, 'x') + "5 6", "uvs: 5,6|polys:|frames:"},
      {"DDDA 1 1 3 4", "uvs: 3,4|polys:|frames:"},
      {"DDDA 1 0 0 3 2 1 2 3 4", "uvs:|polys:|frames:[1,2,3/0,0,0;4,0,0/0,0,0;][][]"},
      {"DDDA" + std::string(5000, ' ') + "1" + std::string(3000, '\n') + "0 0 0", kEmpty},
      {"DDDA 1 1 " + std::string(2000, '1') + " 2", "uvs: inf,2|polys:|frames:"},
      {"DDDA 1 0 1 0 0 0 1 0 99 1 1 0 0 0", "uvs:|polys: 0,0,0:0/99;|frames:[0,0,0/0,0,0;]"},
      {frames2048, empty2048},
  };
  for (const auto& [text, summary] : accepted) {
    EXPECT_EQ("1 " + summary, Read(text)) << text.substr(0, 60);
  }
  // Not a model; then counts the data cannot hold, indices outside their lists, too large a mesh.
  const std::string refused[] = {
      "DDDA 1.2 0 0 0", "ddda 1.0 0 0 0", "DDDA1.1 0 0 0", "\xEF\xBB\xBF" "DDDA 1 0 0 0",
      "DDDA nan 0 0 0", "# nothing but a comment\n", "DDDA 1 1e9", "DDDA 1 0 0 inf",
      "DDDA 1 0 0 300", "DDDA 1 0 1 0 0 0 1 1 0 1 1 0 0 0", "DDDA 1 0 1 0 0 0 1 -1 0 1 1 0 0 0",
      "DDDA 1 1 0 0 1 0 0 0 1 0 1 1 0 0 0", "DDDA 1 0 1 0 0 0 1 0 0 2 1 0 0 0 0",
      "DDDA 1 0 0 2049 " + frames2048.substr(15),
      "DDDA 1 1 0 0 1 0 0 0 1 0 1 1 1 0 0 0",  // a texture-coordinate index past its list
      "DDDA 1 0 1 0 0 0 1 0 0 2 1 0 0 0"};     // a polygon over the vertices of a missing frame
  for (const std::string& text : refused) {
    EXPECT_EQ("0 " + kEmpty, Read(text)) << text.substr(0, 60);
  }
  // 2^22 + 1 texture-coordinate pairs, every one present: a count past the limit of any list.
  std::string many = "DDDA 1 " + std::to_string((1 << 22) + 1);
  for (i32 i = 0; i <= 1 << 22; ++i) many += " 0 0";
  DddTextReader reader;
  EXPECT_EQ(0, LoadDddText(&reader, InMemory(many + " 0 0 0").c_str()));
}

// Numbers read alike whatever numeric locale the program runs in, one that writes a decimal comma
// included.
TEST(TextModelReader, NumbersUnderADecimalCommaLocale) {
  struct NumericLocale {
    const std::string before = std::setlocale(LC_NUMERIC, nullptr);
    ~NumericLocale() { std::setlocale(LC_NUMERIC, before.c_str()); }
  } restore;
  if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr ||
      std::strcmp(std::localeconv()->decimal_point, ",") != 0) {
    GTEST_SKIP() << "no de_DE.UTF-8 locale here (tools/check makes it as root)";
  }
  EXPECT_EQ("1 uvs: 0.25,0.75|polys:|frames:[1.5,2.5,-0.5/0,0,0.5;]",
            Read("DDDA 1.1 1 0.25 0.75 0 1 1 1.5 2.5 -0.5 0 0 0.5"));
}

// A mesh vertex as text: "x,y,z/nx,ny,nz u,v colour:index r,g,b".
std::string Vertex(const MeshVertex& v) {
  std::ostringstream out;
  out << v.x << ',' << v.y << ',' << v.z << '/' << v.nx << ',' << v.ny << ',' << v.nz << ' ' << v.u
      << ',' << v.v << ' ' << std::hex << v.colour << std::dec << ':' << int{v.colourIndex} << ' '
      << v.r << ',' << v.g << ',' << v.b;
  return out.str();
}

TEST(TextModelMesh, PartsPerFrameAndTheColourTable) {
  MeshObjectX mesh;
  ASSERT_EQ(1, LoadDddTextModel(&mesh, InMemory(kTriangle).c_str()));
  ASSERT_EQ(4, mesh.parts.count == 1 ? mesh.parts[0].sourceVertices.count : -1);
  const char* expected[] = {"0,0,0/0,0,0 0,0 fffffffd:0 1,1,1", "0,0,0/0,0,1 0,-0 ff:1 1,0,0",
                            "1,0,0/0,0,1 1,-0 ff:1 1,0,0", "0,1,0/0,0,1 0,-1 ff:1 1,0,0"};
  for (i32 i = 0; i < 4; ++i) EXPECT_EQ(expected[i], Vertex(mesh.parts[0].sourceVertices[i]));
  EXPECT_EQ((std::vector<u32>{kFanSeparator, 0xFF}),
            std::vector<u32>(mesh.colourTable.begin(), mesh.colourTable.end()));
  // Two frames share the colour 256 -1 0 and the uv pair; positions come from each frame.
  const std::string two = "DDDA 1 1 .25 .75  1 256 -1 0 1 1 0  2  2 0 0 0 4 5 6  2 0 0 0 7 8 9";
  ASSERT_EQ(1, LoadDddTextModel(&mesh, InMemory(two).c_str()));
  EXPECT_EQ("4,5,6/0,0,0 0.25,-0.75 ff00:1 0,1,0", Vertex(mesh.parts[0].sourceVertices[1]));
  EXPECT_EQ("7,8,9/0,0,0 0.25,-0.75 ff00:1 0,1,0", Vertex(mesh.parts[1].sourceVertices[1]));
  // Without uv pairs u = v = 0; without polygons every frame is an empty part.
  ASSERT_EQ(1, LoadDddTextModel(&mesh, InMemory("DDDA 1 0 1 0 0 0 1 0 5 1 1 1 1 1").c_str()));
  EXPECT_EQ("1,1,1/0,0,0 0,0 0:1 0,0,0", Vertex(mesh.parts[0].sourceVertices[1]));
  ASSERT_EQ(1, LoadDddTextModel(&mesh, InMemory("DDDA 1 0 0 2 0 0").c_str()));
  EXPECT_EQ(2, mesh.parts.count);
  EXPECT_EQ(0, mesh.parts[1].sourceVertices.count + mesh.colourTable.count);
}

TEST(TextModelMesh, RefusedModelsReportAndClearTheMesh) {
  MeshObjectX mesh;
  const std::string triangle = InMemory(kTriangle), bad = InMemory("DDDA 1 0 1 0 0 0 1 5 0 1 1 0");
  ASSERT_EQ(1, LoadDddTextModel(&mesh, triangle.c_str()));
  testing::internal::CaptureStdout();
  EXPECT_EQ(0, LoadDddTextModel(&mesh, bad.c_str()));
  EXPECT_EQ("# read error\n" + bad + "\n", testing::internal::GetCapturedStdout());
  EXPECT_EQ(0, mesh.parts.capacity + mesh.colourTable.capacity);
  DddTextReader reader;  // a block that is not alive; lists that did not pass the reader's checks
  EXPECT_EQ(0, LoadDddText(&reader, FormatMemoryName(12, "DDDA 1 0 0 0").c_str()));
  ASSERT_EQ(1, LoadDddText(&reader, triangle.c_str()));
  reader.polygons[0].vertexIndices[2] = 3;
  EXPECT_EQ(0, FinishLoad(&reader, &mesh));
  EXPECT_EQ(0, mesh.parts.count);
}

}  // namespace
