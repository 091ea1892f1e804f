// A rasterizer whose drawing members record what the pipeline hands them, installed exactly as
// the drawing family's members are.
#pragma once

#include <vector>

#include "render/rasterizer.h"

class RecordingRasterizer : public swr::RasterizerSubdivAffine {
 public:
  struct Call {
    char kind;  // 'T'riangle, 'L'ine or 'P'oint
    std::vector<ClipVertex> vertices;
  };

  explicit RecordingRasterizer(i32 varyings = 0) {
    SelectShader(varyings, static_cast<TriangleMember>(&RecordingRasterizer::Triangle),
                 static_cast<LineMember>(&RecordingRasterizer::Line),
                 static_cast<PointMember>(&RecordingRasterizer::Point));
  }

  void Triangle(const ClipVertex* a, const ClipVertex* b, const ClipVertex* c) {
    calls.push_back({'T', {*a, *b, *c}});
  }
  void Line(const ClipVertex* a, const ClipVertex* b) { calls.push_back({'L', {*a, *b}}); }
  void Point(const ClipVertex* a) { calls.push_back({'P', {*a}}); }

  std::vector<Call> calls;
};
