// The transform commands of the 3D command set that place objects, over the runtime's one 3D
// device (nothing happens before it exists). Numbers arrive as the command interface's floats.
#pragma once

#include "core/num_array.h"
#include "core/types.h"

// Restart the current state from its parent's matrix, then set the position or the scale.
void SetPositionCommand(f32 x, f32 y, f32 z);
void SetScaleCommand(f32 x, f32 y, f32 z);
// A child state starting from the current composed matrix; nothing at the top of the stack.
void PushStateCommand();
// Appends values as a whole column-major matrix when the array is one-dimensional with exactly
// 16 elements; any other array does nothing.
void MultMatrixCommand(NumArray<f32>& values);
// Appends a rotation by angle degrees about (x, y, z); a seventeenth is dropped, but the state is
// composed again all the same.
void PushTransformCommand(f32 angle, f32 x, f32 y, f32 z);
// Back to the parent state; at the bottom state it resets that state to the identity.
void PopStateCommand();
