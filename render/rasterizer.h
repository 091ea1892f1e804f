// The rasterizer: the seam between the vertex pipeline and the drawing family. The pipeline calls
// the virtual operations of swr::IRasterizer; the one concrete class forwards each to the drawing
// member that is installed, so selecting a shader configuration is nothing but storing three
// member pointers and a varying count. The drawing members themselves (one instance of each
// template per configuration, configuration = vertex format x 2 + depth test) live in
// render/raster/ and read the owning rendering context's buffers through `context`.
#pragma once

#include "core/types.h"
#include "render/clip_vertex.h"

class SoftRenderContext;
struct TriangleEdge;

namespace swr {

class IRasterizer {
 public:
  virtual ~IRasterizer() = default;
  // How many varyings the selected configuration interpolates (the clipper copies that many).
  virtual i32 GetVaryingCount() const = 0;
  // The clip rectangle from a viewport: negative left and top edges clamp to 0, the right and
  // bottom edges (exclusive) to at least 0.
  virtual void SetClipRect(i32 x, i32 y, i32 w, i32 h) = 0;
  // Projected vertices in the pipeline's winding; each call draws with the installed member, or
  // draws nothing when none is installed.
  virtual void DrawTriangle(const ClipVertex* a, const ClipVertex* b, const ClipVertex* c) = 0;
  virtual void DrawLine(const ClipVertex* a, const ClipVertex* b) = 0;
  virtual void DrawPoint(const ClipVertex* a) = 0;
};

class RasterizerTemplateShaderBase : public IRasterizer {
 public:
  using LineMember = void (RasterizerTemplateShaderBase::*)(const ClipVertex*, const ClipVertex*);
  using PointMember = void (RasterizerTemplateShaderBase::*)(const ClipVertex*);

  explicit RasterizerTemplateShaderBase(SoftRenderContext* owner) : context(owner) {}

  i32 GetVaryingCount() const override { return varyingCount; }
  void SetClipRect(i32 x, i32 y, i32 w, i32 h) override;
  void DrawLine(const ClipVertex* a, const ClipVertex* b) override;
  void DrawPoint(const ClipVertex* a) override;

  // The line-and-point form of shader selection; the triangle member stays as it was.
  void SelectShader(i32 varyings, LineMember line, PointMember point);

  // Line drawer and point plotter of one configuration (the drawing family).
  template <u32 Configuration>
  void DrawShadedLine(const ClipVertex* a, const ClipVertex* b);
  template <u32 Configuration>
  void PlotPoint(const ClipVertex* a);

  // Pixels: [clipX0, clipX1) x [clipY0, clipY1); the rendering context keeps it inside its
  // buffers.
  i32 clipX0 = 0;
  i32 clipY0 = 0;
  i32 clipX1 = 0;
  i32 clipY1 = 0;
  // Row y is drawn only when ((y + rowPhase) & rowMask) == 0; both 0 draws every row.
  i32 rowPhase = 0;
  i32 rowMask = 0;
  i32 varyingCount = 0;
  LineMember drawLine = nullptr;
  PointMember drawPoint = nullptr;
  SoftRenderContext* context;  // the owner, whose buffers, texture and colour key are drawn with
};

class RasterizerSubdivAffine : public RasterizerTemplateShaderBase {
 public:
  using TriangleMember = void (RasterizerSubdivAffine::*)(const ClipVertex*, const ClipVertex*,
                                                          const ClipVertex*);

  explicit RasterizerSubdivAffine(SoftRenderContext* owner = nullptr)
      : RasterizerTemplateShaderBase(owner) {}

  void DrawTriangle(const ClipVertex* a, const ClipVertex* b, const ClipVertex* c) override;

  // The full form of shader selection: all three members and the varying count together.
  using RasterizerTemplateShaderBase::SelectShader;
  void SelectShader(i32 varyings, TriangleMember triangle, LineMember line, PointMember point);

  // Triangle drawer of one configuration, and the perspective path's span helper it hands rows to
  // (the drawing family).
  template <u32 Configuration>
  void DrawShadedTriangle(const ClipVertex* a, const ClipVertex* b, const ClipVertex* c);
  template <u32 Configuration>
  void DrawShadedSpan(const TriangleEdge* left, const TriangleEdge* right, i32 clipLeft,
                      i32 clipRight);

  TriangleMember drawTriangle = nullptr;
  // When set, large enough triangles may take the perspective-correct path; the context clears it
  // whenever it binds new targets.
  u8 perspective = 1;
  // Doubled screen area (28.4 squared units) below which a triangle stays affine.
  i32 minPerspectiveArea = 0;
};

}  // namespace swr
