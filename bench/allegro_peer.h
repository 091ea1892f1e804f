// The peer of the renderer benchmark: Allegro 4.4's software triangles (triangle3d_f) into a
// 16-bit memory bitmap, with the system driver "none". Built only when the library is found;
// otherwise StartAllegroPeer returns false and the benchmark prints only this renderer's figures.
#pragma once

#include <vector>

#include "bench/raster_work.h"

// Sets Allegro up with the texture; false when the peer is not built in or does not start.
bool StartAllegroPeer(const std::vector<u16>& texels);
void AllegroClearDepth();
void AllegroDrawTriangles(BenchMode mode, const std::vector<BenchTriangle>& triangles);
