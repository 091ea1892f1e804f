// Writing the lists of a text model back as "DDDA" text.
#include "fuzz/text_model_writer.h"

#include <cstdio>

#include "scene3d/text_model_reader.h"

namespace {

// %.9g gives every f32 back from strtod; infinities and NaNs are written as strtod reads them.
std::string Number(f32 value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.9g", static_cast<f64>(value));
  return text;
}

std::string Number(i32 value) { return std::to_string(value); }

class Writer {
 public:
  explicit Writer(const DddTextStyle& style) : style_(style) {}

  void Comment(const char* what) {
    if (style_.comments) text_ += std::string("# ") + what + style_.lineEnd;
  }
  template <class... Values>
  void Line(Values... values) {
    std::string line;
    ((line += (line.empty() ? "" : " ") + Number(values)), ...);
    text_ += line + style_.lineEnd;
  }
  void Words(const std::string& words) { text_ += words + style_.lineEnd; }
  const std::string& Text() const { return text_; }

 private:
  const DddTextStyle& style_;
  std::string text_;
};

}  // namespace

std::string WriteDddText(const DddTextReader& model, const DddTextStyle& style) {
  Writer out(style);
  out.Comment("text model");
  out.Words(style.normals ? "DDDA 1.1" : "DDDA 1");
  out.Comment("texture coordinates");
  out.Line(model.uvs.count);
  for (const DddTextUv& uv : model.uvs) out.Line(uv.u, uv.v);
  out.Comment("polygons: red green blue corners, then vertex and uv of each corner");
  out.Line(model.polygons.count);
  for (const DddTextPolygon& polygon : model.polygons) {
    out.Line(polygon.red, polygon.green, polygon.blue, polygon.vertexIndices.count);
    for (i32 k = 0; k < polygon.vertexIndices.count; ++k) {
      out.Line(polygon.vertexIndices[k], polygon.uvIndices[k]);
    }
  }
  out.Comment("frames");
  out.Line(model.frames.count);
  for (const DddTextFrame& frame : model.frames) {
    out.Line(frame.vertices.count);
    for (const DddTextVertex& v : frame.vertices) {
      if (style.normals) {
        out.Line(v.x, v.y, v.z, v.nx, v.ny, v.nz);
      } else {
        out.Line(v.x, v.y, v.z);
      }
    }
  }
  return out.Text();
}
