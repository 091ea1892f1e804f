// DynArray<T>: the typed array of the generated program code: numbers, records or texts in up to
// four dimensions, first index fastest. The storage holds `capacity` constructed elements,
// (element count truncated to a multiple of 64) + 64, so an empty array still holds 64 and
// repeated appends rarely allocate. A zeroed DynArray is a valid empty array.
//
// Elements are accessed with the NumArray index rules (At); appends and removals work on
// one-dimensional lists and end the program with error 8 when the shape or the index forbids
// them. Element types need a default constructor giving the fresh element and copy assignment.
#pragma once

#include <new>
#include <utility>

#include "core/array_shape.h"
#include "core/runtime_error.h"
#include "core/types.h"

template <class T>
class DynArray : public ArrayShape {
 public:
  T* data = nullptr;  // `capacity` constructed elements; null before the first dimensioning
  i32 capacity = 0;

  DynArray() = default;
  ~DynArray() { delete[] data; }
  DynArray(const DynArray&) = delete;
  DynArray& operator=(const DynArray&) = delete;

  // New sizes; every element up to the new capacity starts fresh. Error 7 without storage.
  void Redim(i32 d0, i32 d1 = 0, i32 d2 = 0, i32 d3 = 0);
  // New sizes keeping the elements whose first two indices stay valid; elements with a third or
  // fourth index above 0 start fresh.
  void ResizeKeep(i32 d0, i32 d1 = 0, i32 d2 = 0, i32 d3 = 0);
  // Appends a copy of value to a one-dimensional list (error 8 when d1 is nonzero).
  void Append(const T& value);
  // Removes row `index` (negative counts once from the end), moving later rows down one place;
  // error 8 outside the list.
  void RemoveAt(i32 index);
  // Calls fn(&element(a), &element(b)) once for a one-dimensional array, else once per column
  // j < d1 with the elements (a, j) and (b, j). Indices follow the At rules (error 9).
  template <class Fn>
  void ApplyPair(i32 a, i32 b, Fn fn);
  // Copies row `from` onto row `to` with the element's assignment (error 9 outside the array).
  void AssignElement(i32 to, i32 from);

  // Element access with the NumArray rules: a negative i counts once from the end, anything else
  // outside the array is error 9. The one- and two-index forms do not test d2 and d3.
  T& At(i32 i) { return data[Offset(data != nullptr, i, 0, 0, 0, false)]; }
  T& At(i32 i, i32 j) { return data[Offset(data != nullptr, i, j, 0, 0, false)]; }
  T& At(i32 i, i32 j, i32 k, i32 l) { return data[Offset(data != nullptr, i, j, k, l, true)]; }

 private:
  void TakeFrom(DynArray& other) noexcept;
};

template <class T>
void DynArray<T>::Redim(i32 d0, i32 d1, i32 d2, i32 d3) {
  const i64 count = ElementsFor(d0, d1, d2, d3);
  const i32 wanted = static_cast<i32>((count & ~i64{63}) + 64);
  if (d0 < 1 || wanted > capacity || data == nullptr) {
    // Value-initialised: records and numbers start at 0, bytes too, texts empty.
    T* storage = new (std::nothrow) T[wanted]();
    if (storage == nullptr) FatalError(kErrStorage);
    delete[] data;
    data = storage;
    capacity = wanted;
  } else {
    for (i32 n = 0; n < wanted; ++n) data[n] = T();
  }
  SetShape(d0, d1, d2, d3);
}

template <class T>
void DynArray<T>::ResizeKeep(i32 d0, i32 d1, i32 d2, i32 d3) {
  if (d0 < 1) {
    ClearShape();
    return;
  }
  DynArray<T> fresh;
  fresh.Redim(d0, d1, d2, d3);
  const i32 rows = dim[0] < fresh.dim[0] ? dim[0] : fresh.dim[0];
  const i32 columns = dim[1] < fresh.dim[1] ? dim[1] : fresh.dim[1];
  if (dimCount >= 1 && rows > 0 && data != nullptr) {
    for (i32 i = 0; i < rows; ++i) {
      if (columns == 0) {
        fresh.data[i] = data[i];
      } else {
        for (i32 j = 0; j < columns; ++j)
          fresh.data[i + static_cast<i64>(j) * fresh.stride[0]] =
              data[i + static_cast<i64>(j) * stride[0]];
      }
    }
  }
  TakeFrom(fresh);
}

template <class T>
void DynArray<T>::Append(const T& value) {
  if (dim[1] != 0) FatalError(kErrAppend);
  // The value may live in this array's storage, which the resize replaces.
  T copy(value);
  ResizeKeep(dim[0] + 1, 0, 0, 0);
  At(dim[0] - 1) = std::move(copy);
}

template <class T>
void DynArray<T>::RemoveAt(i32 index) {
  if (index < 0) index += dim[0];
  if (index < 0 || index >= dim[0]) FatalError(kErrAppend);
  for (i32 k = index; k < dim[0] - 1; ++k) AssignElement(k, k + 1);
  ResizeKeep(dim[0] - 1, dim[1], dim[2], dim[3]);
}

template <class T>
template <class Fn>
void DynArray<T>::ApplyPair(i32 a, i32 b, Fn fn) {
  if (dim[1] == 0) {
    fn(&At(a), &At(b));
    return;
  }
  CheckedRow(data != nullptr, a);
  CheckedRow(data != nullptr, b);
  for (i32 j = 0; j < dim[1]; ++j) fn(&At(a, j), &At(b, j));
}

template <class T>
void DynArray<T>::AssignElement(i32 to, i32 from) {
  ApplyPair(to, from, [](T* target, T* source) { *target = *source; });
}

template <class T>
void DynArray<T>::TakeFrom(DynArray& other) noexcept {
  std::swap(data, other.data);
  std::swap(capacity, other.capacity);
  SwapShape(other);
}
