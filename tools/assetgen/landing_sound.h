// The landing sound played when a piece is fixed: a short, soft "thock" of a block settling.
#pragma once

#include <vector>

#include "core/types.h"

constexpr i32 kLandingRate = 22050;
constexpr f32 kLandingSeconds = 0.15f;

// Mono samples, -1..1, kLandingSeconds long at kLandingRate.
std::vector<f32> SynthesiseLandingSound();
