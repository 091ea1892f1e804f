// Writing many pixels the way the render target's plot function writes one: the blend decision
// is taken once per call and the loop body gets an inlined writer, so blended blits cost no
// indirect call per pixel and produce exactly the plot function's values.
#pragma once

#include "media/pixel_format.h"
#include "media/render_target.h"

// Calls body(write) with write(u16* destination, u16 source) equivalent to rt.plot.
template <typename Body>
void WithPlotWriter(const RenderTarget& rt, Body&& body) {
  if (rt.plot == PlotAlpha) {
    const u32 na = static_cast<u32>(-rt.blend);
    body([na](u16* d, u16 s) { *d = BlendAlpha(s, *d, na); });
  } else if (rt.plot == PlotAdd) {
    const u32 a = static_cast<u32>(rt.blend);
    body([a](u16* d, u16 s) { *d = BlendAdd(s, *d, a); });
  } else if (rt.plot == PlotPlain) {
    body([](u16* d, u16 s) { *d = s; });
  } else {
    const PlotFn plot = rt.plot;
    body([plot](u16* d, u16 s) { plot(d, s); });
  }
}
