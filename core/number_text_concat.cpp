// Text followed by a number's text, as a new value or appended in place. The left text is taken
// by its length, so NUL bytes inside it stay in front of the number.
#include "core/number_text_concat.h"

#include "core/text_concat.h"

namespace {

DynString Join(DynString result, const DynString& number) {
  AppendTextBytes(result, number.data, number.length);
  return result;
}

}  // namespace

DynString ConcatStringDouble(const DynString& left, f64 right) {
  return Join(DynString(left), DynString::FromDouble(right));
}
DynString ConcatCStringDouble(const char* left, f64 right) {
  return Join(DynString::FromCString(left), DynString::FromDouble(right));
}
DynString ConcatStringFloat(const DynString& left, f32 right) {
  return Join(DynString(left), DynString::FromFloat(right));
}
DynString ConcatCStringFloat(const char* left, f32 right) {
  return Join(DynString::FromCString(left), DynString::FromFloat(right));
}
DynString ConcatStringInt(const DynString& left, i32 right) {
  return Join(DynString(left), DynString::FromInt(right));
}
DynString ConcatCStringInt(const char* left, i32 right) {
  return Join(DynString::FromCString(left), DynString::FromInt(right));
}

DynString& DynString::AppendNumber(i32 v) { return AppendString(DynString::FromInt(v)); }
DynString& DynString::AppendNumber(f32 v) { return AppendString(DynString::FromFloat(v)); }
DynString& DynString::AppendNumber(f64 v) { return AppendString(DynString::FromDouble(v)); }
