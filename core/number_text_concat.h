// The plus operator of the command interface with a text on the left and a number on the right.
// The number's text is exactly the DynString number constructor's: "%d" for an i32, the general
// number text for an f64, and for an f32 widened to f64 first (so an f32 0.1 reads ".1000000015"
// while an f64 0.1 reads ".1"). The in-place form is DynString::AppendNumber.
#pragma once

#include "core/dyn_string.h"
#include "core/types.h"

DynString ConcatStringDouble(const DynString& left, f64 right);
DynString ConcatCStringDouble(const char* left, f64 right);
DynString ConcatStringFloat(const DynString& left, f32 right);
DynString ConcatCStringFloat(const char* left, f32 right);
DynString ConcatStringInt(const DynString& left, i32 right);
DynString ConcatCStringInt(const char* left, i32 right);
