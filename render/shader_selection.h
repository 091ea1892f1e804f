// The sixteen shader configurations as one table. A configuration is a vertex format (which
// varyings the vertices carry) together with the depth mode; its row names the pipeline's vertex
// processor for the format, the varying count, and the rasterizer's triangle, line and point
// members compiled for exactly that configuration. RenderBatch installs one row per batch; no
// drawing loop ever tests the configuration.
#pragma once

#include "core/types.h"
#include "render/rasterizer.h"
#include "render/shader_format.h"
#include "render/vertex_pipeline.h"

struct ShaderConfiguration {
  VertexPipeline::Processor processor;
  i32 varyingCount;
  swr::RasterizerSubdivAffine::TriangleMember triangle;
  swr::RasterizerTemplateShaderBase::LineMember line;
  swr::RasterizerTemplateShaderBase::PointMember point;
};

// The row of configuration (format x 2 + depth test), 0..15; higher numbers wrap.
const ShaderConfiguration& ShaderConfigurationOf(u32 configuration);

// The configuration a draw uses, decided in this order: textured (the batch is, and a texture is
// set), coloured, lit (the batch is, and lighting is on), then the depth mode.
constexpr u32 ChooseConfiguration(bool textured, bool coloured, bool lit, bool depthTest) {
  const u32 format = (textured ? kFormatTexture : 0) | (coloured ? kFormatColour : 0) |
                     (lit ? kFormatLight : 0);
  return ConfigurationOf(format, depthTest);
}
