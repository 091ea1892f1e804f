// Orthographic, frustum and symmetric perspective projections as 16.16 matrices (row-major,
// element [row * 4 + column], translation in column 3, vertices as column vectors). The rendering
// context converts its float arguments and calls these to set its projection.
#pragma once

#include "core/types.h"

// Each fills m (16 elements) from 16.16 arguments and returns m. A zero range (right = left,
// top = bottom or far = near; for the perspective also a zero aspect or half angle) has no
// projection and gives the identity.
i32* OrthoMatrix(i32* m, i32 left, i32 right, i32 bottom, i32 top, i32 zNear, i32 zFar);
i32* FrustumMatrix(i32* m, i32 left, i32 right, i32 bottom, i32 top, i32 zNear, i32 zFar);
// fovy in whole degrees as 16.16 (the angle of the whole field, top to bottom).
i32* PerspectiveMatrix(i32* m, i32 fovy, i32 aspect, i32 zNear, i32 zFar);
