// 4 x 4 matrices of 16.16 values, shared by every matrix of the renderer: element [row * 4 +
// column], vertices are column vectors, so the translation sits in elements 3, 7 and 11.
#pragma once

#include "core/types.h"

// Writes the identity into m and returns m.
i32* IdentityMatrix(i32* m);

// out := a x b. Each element sums its four signed 64-bit products in 64 bits and shifts once by 16,
// keeping the low 32 bits. out may be a or b.
void MultiplyMatrix(const i32* a, const i32* b, i32* out);

// The view matrix of a camera at eye looking at target, with up giving the vertical (not
// normalised by the caller): rows (side, up, -forward, 0) times the translation by -eye.
void LookAtFixed(i32* out, const i32 eye[3], const i32 target[3], const i32 up[3]);
