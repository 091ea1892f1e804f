// Collision queries and the 3D commands on a cube of side 2 built through the commands: shapes
// that touch or miss it placed, rotated and scaled; the bounding checks that must not lose a hit;
// a plate and random placements whose scale differs between axes, against world-space truth;
// the conversions, slot and frame rules, faces and saving.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <random>

#include "core/runtime_globals.h"
#include "media/render_target.h"
#include "scene3d/mode_commands.h"
#include "scene3d/object_file_commands.h"
#include "scene3d/query_commands.h"
#include "scene3d/texture_commands.h"
#include "scene3d/transform_commands.h"
#include "tests/scene3d/cube_commands.h"
#include "tests/support/test_support.h"

namespace {

const f32 kNaN = std::nanf("");

struct QueryTest : testing::Test {
  void SetUp() override {
    GetRenderTarget().Resize(0, 8, 8, 0);
    device3D = &d;
    BuildCubeCommand(1, {1, 2, 3, 4, 5, 6});
  }
  void TearDown() override {
    device3D = nullptr, debugReport = 0, commands3D = {}, textureMode3D = 0;
  }
  Rainbows3D d{nullptr};
};

TEST_F(QueryTest, SpheresRaysAndBoxesOnAPlacedRotatedAndScaledCube) {
  const f32 edge = 10 + std::sqrt(2.0f),
            nearEdge = 10 - std::sqrt(2.0f) + 0.2f;  // turned 45 degrees
  const struct { f32 scale, x, z, r, sphere, ray; } rows[] = {
      {1, 10.98995f, -0.98995f, 0.5f, 1, nearEdge},  // 1.4 out along the turned +x face's normal
      {1, 10.98995f, -0.98995f, 0.3f, 0, nearEdge},
      {1, edge + 0.2f, 0, 0.25f, 1, nearEdge},  // beside the +x/+z edge, nearer than the faces
      {1, edge + 0.2f, 0, 0.15f, 0, nearEdge},
      {2, 12.4f, 0, 0.5f, 1, 8},  // scaled by 2: the cube spans 8..12, the ray keeps world units
      {2, 12.6f, 0, 0.5f, 0, 8},
  };
  for (const auto& row : rows) {
    SetPositionCommand(10, 0, 0);
    if (row.scale == 1) PushTransformCommand(45, 0, 1, 0);
    if (row.scale != 1) SetScaleCommand(row.scale, row.scale, row.scale);
    EXPECT_EQ(row.sphere, CollideSphereCommand(1, 0, row.r, row.x, 0, row.z))
        << row.x << " " << row.r;
    EXPECT_NEAR(row.ray, CollideRayCommand(1, 0, 0, 0, 0.2f, 1, 0, 0), 1e-5f) << row.x;
  }
  // Still scaled by 2: the cone's axis is made unit again, the sphere's radius is halved.
  EXPECT_EQ(1, d.CollideCone(1, 0, 0, 5, 0, 1, 0, 0, 20));
  EXPECT_EQ(0, CollideBoundsBoxCommand(13.5f, 0, 0, 1.2f, 2, 2, 2));
  // Rays at the unplaced cube: from inside (the face in front), behind, a hit at the origin
  // (no hit), a long direction, a miss.
  PopStateCommand();  // state 0 back to the identity
  const struct { f32 ox, dx, dy, distance; } rays[] = {
      {0, 1, 0, 1}, {5, 1, 0, -4}, {1, 1, 0, -2}, {1, -1, 0, 2}, {-5, 10, 0, 4}, {-5, 0, 1, 0}};
  for (const auto& ray : rays) {
    EXPECT_EQ(ray.distance, CollideRayCommand(1, 0, ray.ox, 0.2f, 0.3f, ray.dx, ray.dy, 0))
        << ray.ox;
  }
  debugReport = 1;  // the displays draw nothing and change no answer
  EXPECT_EQ(0.0f, CollideRayCommand(1, 0, -5, 0.2f, 0.3f, 0, 1, 0));
  EXPECT_EQ(2,
            CollideSphereCommand(1, 0, 1.5f, 0, 0, 0) + CollideBoxCommand(1, 0, 0, 0, 0, 3, 3, 3));
  // Boxes: the half-axes go (width, 0, 0), (0, 0, depth), (0, height, 0); a box whose corner
  // reaches into the cube's corner lies beyond |H|^2 + radius^2 of its centre.
  const struct { f32 c[3], w, h, dp; i32 hit; } boxes[] = {
      {{0, 0, 3}, 0.2f, 0.2f, 4.2f, 1}, {{0, 0, 3}, 0.2f, 4.2f, 0.2f, 0},
      {{0, 3, 0}, 0.2f, 4.2f, 0.2f, 1}, {{1.732f, 1.732f, 1.732f}, 2, 2, 2, 1},
      {{2.1f, 2.1f, 2.1f}, 2, 2, 2, 0}};
  for (const auto& b : boxes) {
    EXPECT_EQ(b.hit, CollideBoxCommand(1, 0, b.c[0], b.c[1], b.c[2], b.w, b.h, b.dp))
        << b.c[0] << b.w;
  }
  EXPECT_EQ(1, CollideBoundsBoxCommand(0.5f, 0.5f, 0.5f, 0, 2, 2, 2));
  EXPECT_EQ(0, CollideBoundsBoxCommand(1.5f, 0, 0, 0.4f, 2, 2, 2));
  SetScaleCommand(0, 1, 1);  // a placement without an inverse meets nothing
  EXPECT_EQ(0,
            CollideSphereCommand(1, 0, 5, 0, 0, 0) + CollideBoundsBoxCommand(0, 0, 0, 1, 2, 2, 2));
}

TEST_F(QueryTest, ConesAndWhatAnswersNoHit) {
  const struct { f32 apex[3], axis[3], angle, hit; } cones[] = {
      {{0, 0, 5}, {0, 0, -1}, 10, 1}, {{0, 0, 5}, {0, 0, 1}, 10, 0}, {{0, 0, 5}, {0, 1, -1}, 10, 0},
      {{0, 0, 5}, {0, 1, -1}, 35, 1},    // (0, 1, 1) is 31 degrees off
      {{0, 0, 2}, {1, 0, 0.1f}, 80, 1},  // the bounding sphere's centre lies just behind the apex
      {{0, 0, 5}, {0, 1, -1}, -35, 1},   // a negative angle is its opposite
      {{0, 0, 2}, {1, 0, 0}, 100, 1},    // above 90 degrees: the supplement, no bounding check
  };
  for (const auto& c : cones) {
    EXPECT_EQ(c.hit, d.CollideCone(1, 0, c.apex[0], c.apex[1], c.apex[2], c.axis[0], c.axis[1],
                                   c.axis[2], c.angle))
        << c.angle;
  }
  // Every shape answers 0 for a frame the cube does not have or a slot outside the table.
  const std::function<f32(f32, f32)> shapes[] = {
      [](f32 s, f32 f) { return f32(CollideSphereCommand(s, f, 9, 0, 0, 0)); },
      [](f32 s, f32 f) { return f32(CollideBoxCommand(s, f, 0, 0, 0, 9, 9, 9)); },
      [](f32 s, f32 f) { return CollideRayCommand(s, f, 0, 0, 0, 1, 0, 0); },
      [this](f32 s, f32 f) {
        return d.CollideCone(SlotArg(s), TruncToI32(f), 0, 0, 5, 0, 0, -1, 10);
      },
  };
  BuildCubeCommand(0, {1, 2, 3, 4, 5, 6});  // NaN must not reach slot 0
  for (const auto& shape : shapes) {
    EXPECT_NE(0, shape(1, 0));
    for (f32 frame : {-1.0f, 1.0f, 5.0f}) EXPECT_EQ(0, shape(1, frame)) << frame;
    for (f32 slot : {kNaN, -1.0f, 4096.0f, 1e9f, -1e9f}) EXPECT_EQ(0, shape(slot, 0)) << slot;
  }
  device3D = nullptr;  // before start-up made the device: the commands answer no hit
  for (i32 command = 0; command < 3; ++command) EXPECT_EQ(0, shapes[command](1, 0)) << command;
  EXPECT_EQ(0, CollideBoundsBoxCommand(0, 0, 0, 9, 9, 9, 9) + GetObjectFaceCount(1));
}

// A plate at z = 0 with |x|, |y| <= 2 in slot 3, under placements that scale its axes
// differently: each shape meets it exactly when it meets the plate as drawn.
TEST_F(QueryTest, ShapesAgainstAPlateScaledUnevenly) {
  BeginObjectCommand(3);
  for (i32 c = 0; c < 4; ++c) AddVertexCommand(c & 1 ? 2 : -2, c & 2 ? 2 : -2, 0, 0, 0, 0xFFFFFF);
  EndObjectCommand();
  const struct {
    f32 sx, sy;
    std::function<f32()> query;
    f32 hit;
  } rows[] = {
      // A sphere 0.5 above the plate: radius 0.6 meets it, radius 0.3 does not.
      {3, 1, [] { return f32(CollideSphereCommand(3, 0, 0.6f, 0, 0, 0.5f)); }, 1},
      {0.25f, 1, [] { return f32(CollideSphereCommand(3, 0, 0.3f, 0, 0, 0.5f)); }, 0},
      // A box of half sizes (2, 2, 0.3) scaled to (6, 2, 0.3); the centre 0.2 from its top face.
      {3, 1, [] { return f32(CollideBoundsBoxCommand(0, 0, 0.5f, 0.3f, 4, 4, 0.6f)); }, 1},
      {3, 1, [] { return f32(CollideBoundsBoxCommand(0, 0, 0.5f, 0.1f, 4, 4, 0.6f)); }, 0},
      {1.0f / 3, 1, [] { return f32(CollideBoundsBoxCommand(0, 0, 1.5f, 0.3f, 2, 2, 2)); }, 0},
      {3, 1, [] { return f32(CollideBoundsBoxCommand(6.4f, 0, 0, 0.5f, 4, 4, 0)); }, 1},
      // The plate's point (0, 1, 0) lies 8.1 degrees off the cone's axis.
      {1, 0.5f, [this] { return d.CollideCone(3, 0, 0, 0, 3, 0, 1, -2, 10); }, 1},
      {1, 0.5f, [this] { return d.CollideCone(3, 0, 0, 0, 3, 0, 1, -2, 7); }, 0},
  };
  for (const auto& row : rows) {
    SetScaleCommand(row.sx, row.sy, 1);
    EXPECT_EQ(row.hit, row.query()) << &row - rows;
  }
}

// The world-space truth the queries are held to, in double: the least value of a convex function
// over an interval by golden-section search; over a triangle through the segments across it, and
// over a placed box axis by axis (the least over a slice of a convex function stays convex).
template <class F>
f64 LeastOnInterval(f64 lo, f64 hi, F f) {
  const f64 g = 0.6180339887498949;
  f64 a = hi - g * (hi - lo), b = lo + g * (hi - lo), fa = f(a), fb = f(b);
  for (int i = 0; i < 40; ++i) {
    if (fa <= fb) {
      hi = b, b = a, fb = fa, a = hi - g * (hi - lo), fa = f(a);
    } else {
      lo = a, a = b, fa = fb, b = lo + g * (hi - lo), fb = f(b);
    }
  }
  return std::min({fa, fb, f(lo), f(hi)});
}

using Point = std::array<f64, 3>;

f64 Dot(const Point& a, const Point& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
f64 Distance(const Point& a, const Point& b) {
  return std::hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]);
}

template <class F>
f64 LeastOverTriangle(const std::array<Point, 3>& t, F f) {
  return LeastOnInterval(0, 1, [&](f64 s) {
    return LeastOnInterval(0, 1, [&](f64 u) {
      Point x;
      for (int k = 0; k < 3; ++k)
        x[k] = t[0][k] + s * (t[1][k] - t[0][k]) + s * u * (t[2][k] - t[1][k]);
      return f(x);
    });
  });
}

TEST_F(QueryTest, RandomUnevenPlacementsAgreeWithWorldSpace) {
  std::mt19937 random(26);
  std::uniform_real_distribution<f32> unit(-1, 1), scale(0.4f, 2.5f), size(0.3f, 1.5f);
  const auto vec = [&](f32 reach) {
    return std::array{reach * unit(random), reach * unit(random), reach * unit(random)};
  };
  const MeshPart& cube = d.Slot(1)->meshes[0].parts[0];
  i32 decided[4] = {};
  constexpr i32 kCases = 250;
  for (i32 n = 0; n < kCases; ++n) {
    // A placement T R S whose scale mostly differs between axes; every third one a child of a
    // placement that does too, so that its axes are no longer perpendicular.
    d.ResetStack();
    const auto place = [&] {
      const f32 s = scale(random);
      const bool even = n % 4 == 0;
      SetScaleCommand(s, even ? s : scale(random), even ? s : scale(random));
      const auto p = vec(2);
      SetPositionCommand(p[0], p[1], p[2]);
      const auto axis = vec(1);
      PushTransformCommand(180 * unit(random), axis[0], axis[1], axis[2]);
    };
    if (n % 3 == 1) place(), PushStateCommand();
    place();
    d.UpdateModelMatrix();
    const f32* m = d.CurrentState().model;
    const auto toWorld = [m](const MeshVertex& v) {
      Point w;
      for (int r = 0; r < 3; ++r)
        w[r] = f64(m[r]) * v.x + f64(m[4 + r]) * v.y + f64(m[8 + r]) * v.z + m[12 + r];
      return w;
    };
    const auto leastOverCube = [&](auto f) {
      f64 least = 1e30;
      for (i32 i = 0; i < cube.triangleVertices.count; i += 3) {
        const std::array<Point, 3> t = {toWorld(cube.triangleVertices[i]),
                                        toWorld(cube.triangleVertices[i + 1]),
                                        toWorld(cube.triangleVertices[i + 2])};
        least = std::min(least, LeastOverTriangle(t, f));
      }
      return least;
    };
    // The least excess is below 0 for a true contact: beyond +-0.01 the query must agree.
    const auto check = [&](i32 shape, f32 got, f64 least) {
      if (std::fabs(least) <= 0.01) return;
      ++decided[shape];
      EXPECT_EQ(least < 0 ? 1.0f : 0.0f, got)
          << "case " << n << " shape " << shape << " least " << least;
    };
    const auto c = vec(5);
    const Point centre = {c[0], c[1], c[2]};
    const f32 r = size(random);
    check(0, CollideSphereCommand(1, 0, r, c[0], c[1], c[2]),
          leastOverCube([&](const Point& x) { return Distance(x, centre) - r; }));
    // An axis-aligned box: half sizes along x, y, z of (w, h, dp) / 2.
    const f32 w = 2 * size(random), h = 2 * size(random), dp = 2 * size(random);
    check(1, CollideBoxCommand(1, 0, c[0], c[1], c[2], w, h, dp),
          leastOverCube([&](const Point& x) {
            return std::max({std::fabs(x[0] - c[0]) - w / 2, std::fabs(x[1] - c[1]) - h / 2,
                             std::fabs(x[2] - c[2]) - dp / 2});
          }));
    // A cone from a point around the cube towards a point near its centre.
    const auto apex = vec(6), toward = vec(1.5f);
    Point axis = {toward[0] - apex[0], toward[1] - apex[1], toward[2] - apex[2]};
    const f64 length = std::sqrt(Dot(axis, axis));
    for (f64& a : axis) a /= length;
    const f32 degrees = 5 + 35 * (unit(random) + 1) / 2;
    const f64 cosine = std::cos(f64(degrees * 0.017453292f));
    const Point k = {apex[0], apex[1], apex[2]};
    check(2,
          d.CollideCone(1, 0, apex[0], apex[1], apex[2], f32(axis[0]), f32(axis[1]), f32(axis[2]),
                        degrees),
          leastOverCube([&](const Point& x) {
            const Point dx = {x[0] - k[0], x[1] - k[1], x[2] - k[2]};
            return cosine * std::sqrt(Dot(dx, dx)) - Dot(dx, axis);
          }));
    // The bounds box of the placement itself: half sizes (w, h, dp) / 2 along its axes.
    const auto inBox = [&](f64 x, f64 y, f64 z) {
      Point p;
      for (int i = 0; i < 3; ++i) p[i] = m[i] * x + m[4 + i] * y + m[8 + i] * z + m[12 + i];
      return Distance(p, centre) - r;
    };
    check(3, CollideBoundsBoxCommand(c[0], c[1], c[2], r, w, h, dp),
          LeastOnInterval(-w / 2, w / 2, [&](f64 x) {
            return LeastOnInterval(-h / 2, h / 2, [&](f64 y) {
              return LeastOnInterval(-dp / 2, dp / 2, [&](f64 z) { return inBox(x, y, z); });
            });
          }));
  }
  for (i32 shape = 0; shape < 4; ++shape) EXPECT_GT(decided[shape], kCases * 8 / 10) << shape;
}

TEST_F(QueryTest, ConversionsModesFacesAndSaving) {
  for (const auto& [v, colour] :
       {std::pair{-1.0f, 0xFFFFFFFFu}, {4294967296.0f, 0u}, {kNaN, 0u}, {1e30f, 0u},
        {255.9f, 255u}, {4294967808.0f, 512u}, {-4294967040.0f, 256u}}) {
    EXPECT_EQ(colour, ColourArg(v)) << v;
  }
  for (const auto& [v, slot] :
       {std::pair{-0.5f, 0}, {4095.9f, 4095}, {4096.0f, -1}, {kNaN, -1}, {-1.0f, -1}}) {
    EXPECT_EQ(slot, SlotArg(v)) << v;
  }
  for (const auto& [v, mode] :
       {std::pair{4.0f, 1}, {-1.0f, -1}, {2.9f, 2}, {-4.0f, -1}, {5.0f, 2}}) {
    SetNormalModeCommand(v);
    EXPECT_EQ(mode, d.normalMode) << v;
  }
  for (const auto& [v, cull] : {std::pair{0.0f, 0}, {0.5f, 1}, {-3.0f, -1}, {kNaN, -1}}) {
    SetCullCommand(v);
    EXPECT_EQ(std::pair(cull, u8(cull)), std::pair(commands3D.savedCull, d.cullMode)) << v;
  }
  SetObjectTexture(7.9f, -2);
  EXPECT_EQ(3, SetObjectTextureMode(3.9f));
  Enter3DMode(1, 100, 60);  // no texture, no culling; the frame's texture mode stays
  EXPECT_EQ((std::array{-1, -1, 3, 0, 0}),
            (std::array{commands3D.texture, commands3D.secondTexture, textureMode3D,
                        commands3D.savedCull, i32(d.cullMode)}));

  // Faces: 36 triangle vertices are 12 faces; 11 is the last; a second mesh of 6 faces follows.
  EXPECT_EQ(12, GetObjectFaceCount(1));
  NumArray<f32> out;
  GetObjectFace(1, 0, 11.5f, out);
  const MeshVertex& last = d.Slot(1)->meshes[0].parts[0].triangleVertices[35];
  EXPECT_EQ((std::array<f32, 4>{last.x, last.y, last.z, 6}),
            (std::array{*out.At(2, 0), *out.At(2, 1), *out.At(2, 2), *out.At(2, 5)}));
  BuildCubeCommand(2, {7, 7, 7, 7, 7, 7});
  ObjectSlot& scene = *d.Slot(2);
  ResizeMeshArray(scene.meshes, 2);
  scene.meshes.count = 2;
  scene.meshes[1] = d.Slot(1)->meshes[0];
  scene.meshes[1].parts[0].triangleVertices.count = 18;
  EXPECT_EQ(18, GetObjectFaceCount(2));
  GetObjectFace(2, 0, 13, out);
  EXPECT_EQ(d.Slot(1)->meshes[0].parts[0].triangleVertices[3].x, *out.At(0, 0));
  EXPECT_EQ(1.0f, *out.At(0, 5));
  for (const auto& [slot, frame, face] : {std::tuple{2.f, 0.f, 18.f},
                                          {2.f, 0.f, -1.f}, {2.f, 1.f, 0.f}, {2.f, -1.f, 0.f},
                                          {kNaN, 0.f, 0.f},
                                          {2.f, 0.f, kNaN}}) {
    *out.At(0, 0) = 9;
    GetObjectFace(slot, frame, face, out);
    EXPECT_EQ((std::array{3, 9, 0}), (std::array{out.dim[0], out.dim[1], i32(*out.At(0, 0))}))
        << frame << face;
  }

  // Saving: the writer's answer; a slot without a mesh answers 0 rather than reaching for one.
  ScopedTempDir dir;
  testing::internal::CaptureStdout();
  EXPECT_EQ((std::array{1, 0, 0, 0}),
            (std::array{SaveObjectCommand(DynString(dir.File("cube.ddd").c_str()), 1),
                        SaveObjectCommand(DynString(dir.File("no/cube.ddd").c_str()), 1),
                        SaveObjectCommand(DynString(dir.File("empty.ddd").c_str()), 3),
                        SaveObjectCommand(DynString(dir.File("nan.ddd").c_str()), kNaN)}));
  testing::internal::GetCapturedStdout();
}

}  // namespace
