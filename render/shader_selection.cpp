// The selection table, generated from the configuration number so that row k holds the members
// instantiated for configuration k.
#include "render/shader_selection.h"

#include <array>
#include <utility>

namespace {

template <u32 Configuration>
constexpr ShaderConfiguration Row() {
  return {&VertexPipeline::ShadeVerticesBatch<FormatOf(Configuration)>,
          FormatVaryingCount(FormatOf(Configuration)),
          &swr::RasterizerSubdivAffine::DrawShadedTriangle<Configuration>,
          &swr::RasterizerTemplateShaderBase::DrawShadedLine<Configuration>,
          &swr::RasterizerTemplateShaderBase::PlotPoint<Configuration>};
}

template <std::size_t... Configurations>
constexpr std::array<ShaderConfiguration, sizeof...(Configurations)> Table(
    std::index_sequence<Configurations...>) {
  return {Row<Configurations>()...};
}

}  // namespace

const ShaderConfiguration& ShaderConfigurationOf(u32 configuration) {
  static constexpr auto kTable = Table(std::make_index_sequence<kConfigurationCount>());
  return kTable[configuration % kConfigurationCount];
}
