// A rasterizer whose drawing members record the vertices the pipeline hands them (three for a
// triangle, two for a line, one for a point), installed exactly as the drawing family's are.
#pragma once

#include <vector>

#include "render/rasterizer.h"

class RecordingRasterizer : public swr::RasterizerSubdivAffine {
 public:
  RecordingRasterizer() {
    SelectShader(0, static_cast<TriangleMember>(&RecordingRasterizer::Triangle),
                 static_cast<LineMember>(&RecordingRasterizer::Line),
                 static_cast<PointMember>(&RecordingRasterizer::Point));
  }
  void Triangle(const ClipVertex* a, const ClipVertex* b, const ClipVertex* c) {
    calls.push_back({*a, *b, *c});
  }
  void Line(const ClipVertex* a, const ClipVertex* b) { calls.push_back({*a, *b}); }
  void Point(const ClipVertex* a) { calls.push_back({*a}); }

  std::vector<std::vector<ClipVertex>> calls;
};
