// Clip rectangle, shader selection and the forwarding of draw calls to the installed members.
#include "render/rasterizer.h"

#include <algorithm>

#include "core/int_clamp.h"

namespace swr {

void RasterizerTemplateShaderBase::SetClipRect(i32 x, i32 y, i32 w, i32 h) {
  // The far edges come from the unclamped origin; a sum beyond the i32 range holds at its end.
  clipX0 = std::max(x, 0);
  clipY0 = std::max(y, 0);
  clipX1 = std::max(ClampToI32(i64{x} + w), 0);
  clipY1 = std::max(ClampToI32(i64{y} + h), 0);
}

void RasterizerTemplateShaderBase::DrawLine(const ClipVertex* a, const ClipVertex* b) {
  if (drawLine != nullptr) (this->*drawLine)(a, b);
}

void RasterizerTemplateShaderBase::DrawPoint(const ClipVertex* a) {
  if (drawPoint != nullptr) (this->*drawPoint)(a);
}

void RasterizerTemplateShaderBase::SelectShader(i32 varyings, LineMember line, PointMember point) {
  varyingCount = varyings;
  drawLine = line;
  drawPoint = point;
}

void RasterizerSubdivAffine::DrawTriangle(const ClipVertex* a, const ClipVertex* b,
                                          const ClipVertex* c) {
  if (drawTriangle != nullptr) (this->*drawTriangle)(a, b, c);
}

void RasterizerSubdivAffine::SelectShader(i32 varyings, TriangleMember triangle, LineMember line,
                                          PointMember point) {
  drawTriangle = triangle;
  RasterizerTemplateShaderBase::SelectShader(varyings, line, point);
}

}  // namespace swr
