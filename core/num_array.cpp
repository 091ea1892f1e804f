// NumArray<T> dimensioning, resizing, element access and copies, instantiated for f32 and i32.
#include "core/num_array.h"

#include <algorithm>
#include <new>
#include <utility>

#include "core/runtime_error.h"

namespace {

constexpr i32 kInlineElements = 16;

// The index range kept in one dimension when resizing: the smaller of the two sizes, where 0 (an
// unused dimension) still holds index 0. A negative size holds no element at all.
i32 KeptRange(i32 oldSize, i32 newSize) {
  const i32 kept = std::min(oldSize, newSize);
  if (kept < 0) return 0;
  return kept == 0 ? 1 : kept;
}

}  // namespace

template <class T>
NumArray<T>::~NumArray() {
  FreeHeap();
}

template <class T>
void NumArray<T>::FreeHeap() {
  if (data != nullptr && data != inlineStore) delete[] data;
  data = nullptr;
}

template <class T>
void NumArray<T>::Redim(i32 d0, i32 d1, i32 d2, i32 d3) {
  const i64 count = ElementsFor(d0, d1, d2, d3);
  const i32 wanted = d0 < 1 ? 8 : static_cast<i32>((count & ~i64{7}) + 8);
  if (d0 < 1 || wanted > capacity || data == nullptr) {
    T* storage = inlineStore;
    if (wanted > kInlineElements) {
      // The old storage stays intact until the new one exists, so a failure leaves a valid array.
      storage = new (std::nothrow) T[wanted];
      if (storage == nullptr) FatalError(kErrStorage);
    }
    FreeHeap();
    data = storage;
    capacity = wanted;
  }
  std::fill(data, data + capacity, T{});
  SetShape(d0, d1, d2, d3);
}

template <class T>
void NumArray<T>::Resize(i32 d0, i32 d1, i32 d2, i32 d3) {
  if (d0 < 1) {
    ClearShape();
    return;
  }
  NumArray<T> fresh;
  fresh.Redim(d0, d1, d2, d3);
  const i32 rows = std::min(dim[0], fresh.dim[0]);
  if (dimCount >= 1 && rows > 0 && data != nullptr) {
    const i32 cols = KeptRange(dim[1], fresh.dim[1]);
    const i32 layers = KeptRange(dim[2], fresh.dim[2]);
    const i32 blocks = KeptRange(dim[3], fresh.dim[3]);
    const i64 oldCount = ElementCount();
    const i64 newCount = fresh.ElementCount();
    for (i32 l = 0; l < blocks; ++l)
      for (i32 k = 0; k < layers; ++k)
        for (i32 j = 0; j < cols; ++j)
          for (i32 i = 0; i < rows; ++i) {
            const i64 from = i + static_cast<i64>(j) * stride[0] + static_cast<i64>(k) * stride[1] +
                             static_cast<i64>(l) * stride[2];
            const i64 to = i + static_cast<i64>(j) * fresh.stride[0] +
                           static_cast<i64>(k) * fresh.stride[1] +
                           static_cast<i64>(l) * fresh.stride[2];
            if (from >= 0 && from < oldCount && to >= 0 && to < newCount)
              fresh.data[to] = data[from];
          }
  }
  if (data != nullptr && !UsesInlineStore() && !fresh.UsesInlineStore()) {
    std::swap(data, fresh.data);
    std::swap(capacity, fresh.capacity);
    SwapShape(fresh);
  } else {
    CopyFrom(fresh);
  }
}

template <class T>
T* NumArray<T>::At(i32 i, i32 j) {
  return data + Offset(data != nullptr, i, j, 0, 0, false);
}

template <class T>
T* NumArray<T>::At(i32 i, i32 j, i32 k, i32 l) {
  return data + Offset(data != nullptr, i, j, k, l, true);
}

template <class T>
void NumArray<T>::Assign(i32 n, const T* values) {
  Redim(n, 0, 0, 0);
  for (i32 i = 0; i < n; ++i) *At(i, 0) = values[i];
}

template <class T>
void NumArray<T>::CopyFrom(const NumArray& source) {
  if (&source == this) return;
  Redim(source.dim[0], source.dim[1], source.dim[2], source.dim[3]);
  const i64 count = std::min(source.ElementCount(), ElementCount());
  if (count > 0 && source.data != nullptr) std::copy(source.data, source.data + count, data);
}

template class NumArray<f32>;
template class NumArray<i32>;
