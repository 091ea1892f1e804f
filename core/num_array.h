// NumArray<T>: the number array of the runtime's own commands (T = f32 or i32), up to four
// dimensions, first index fastest. Up to 16 elements live in an inline store, so small arrays
// never touch the heap; the capacity is (element count truncated to a multiple of 8) + 8 and only
// grows when dimensioning.
//
// The element pointer may point into the object's own inline store, so a NumArray is neither
// copied nor moved implicitly; copies go through CopyFrom.
#pragma once

#include "core/array_shape.h"
#include "core/types.h"

template <class T>
class NumArray : public ArrayShape {
 public:
  T* data = nullptr;  // the inline store or a heap array; null before the first dimensioning
  T inlineStore[16] = {};
  i32 capacity = 0;

  NumArray() = default;
  ~NumArray();
  NumArray(const NumArray&) = delete;
  NumArray& operator=(const NumArray&) = delete;

  // New sizes; every element of the storage becomes 0. Error 7 when no storage can be had.
  void Redim(i32 d0, i32 d1 = 0, i32 d2 = 0, i32 d3 = 0);
  // New sizes keeping the elements whose indices stay valid in all four dimensions.
  void Resize(i32 d0, i32 d1 = 0, i32 d2 = 0, i32 d3 = 0);
  // The address of an element (error 9 outside the array); see ArrayShape::Offset.
  T* At(i32 i, i32 j);
  T* At(i32 i, i32 j, i32 k, i32 l);
  // One dimension of n elements holding values[0..n-1].
  void Assign(i32 n, const T* values);
  // Dimensioned like source, its elements copied.
  void CopyFrom(const NumArray& source);

  bool UsesInlineStore() const { return data == inlineStore; }

 private:
  void FreeHeap();
};

// The command-interface forms of NumArray<T>::At.
template <class T>
T* NumArrayAt2(NumArray<T>& array, i32 i, i32 j) {
  return array.At(i, j);
}
template <class T>
T* NumArrayAt4(NumArray<T>& array, i32 i, i32 j, i32 k, i32 l) {
  return array.At(i, j, k, l);
}

extern template class NumArray<f32>;
extern template class NumArray<i32>;
