// GrowVector<T>: the runtime's growable element list (the renderer's batches and vertex lists,
// the 3D engine's meshes and object table, the INI store's sections, the directory listing).
//
// Growth is a fixed rule that callers can observe through `capacity`: room for n entries is made
// only when n is not below the capacity, and then the capacity becomes `minimum` when n is at most
// `minimum`, else (n / step + 1) x step. An append asks for count + 1, so the append that would
// exactly fill the storage already grows it. Every slot of the storage is a constructed element
// (value-initialised), and elements go to new storage by move assignment: an element with texts
// or lists of its own takes them along instead of copying them, so that growing a long list of
// such elements (the INI store's sections with their entries) stays linear. Callers may change
// `step`, `minimum` and `count` directly. Storage that cannot be had ends the program with runtime
// error 7, or throws std::bad_alloc inside a SoftStorageScope (soft_storage.h).
#pragma once

#include <new>
#include <utility>

#include "core/soft_storage.h"
#include "core/types.h"

template <class T>
struct GrowVector {
  T* data = nullptr;
  i32 count = 0;
  i32 capacity = 0;
  i32 step = 128;
  i32 minimum = 512;

  GrowVector() = default;
  GrowVector(i32 growStep, i32 minimumCapacity) : step(growStep), minimum(minimumCapacity) {}
  // A new list with the source's settings and a copy of its entries (see CopyFrom).
  GrowVector(const GrowVector& src) : step(src.step), minimum(src.minimum) { CopyFrom(src); }
  GrowVector& operator=(const GrowVector& src) {
    CopyFrom(src);
    return *this;
  }
  GrowVector(GrowVector&& src) noexcept { Swap(src); }
  GrowVector& operator=(GrowVector&& src) noexcept {
    GrowVector temp(std::move(src));
    Swap(temp);
    return *this;
  }
  ~GrowVector() { Free(); }

  // Makes room for n entries by the growth rule; the count does not change.
  void Reserve(i32 n);
  // Stores a copy of value at index count and counts it.
  void Append(const T& value);
  // Makes room for n entries by the growth rule, then counts n (entries beyond the old count
  // keep whatever the storage holds: value-initialised, or left from earlier use).
  void SetCount(i32 n);
  // Count 0; the storage and its elements stay.
  void Clear() { count = 0; }
  // Releases the storage: data null, count and capacity 0.
  void Free();
  // When src's capacity is not below this list's, first grows to room for src's capacity; then
  // takes src's count and a copy of its entries.
  void CopyFrom(const GrowVector& src);
  void Swap(GrowVector& other) noexcept;

  i32 Count() const { return count; }
  T& operator[](i32 i) { return data[i]; }
  const T& operator[](i32 i) const { return data[i]; }
  T* begin() { return data; }
  T* end() { return data + count; }
  const T* begin() const { return data; }
  const T* end() const { return data + count; }

 private:
  // The capacity the rule gives for n entries (n not below the current capacity).
  i32 GrownCapacity(i32 n) const;
  // New storage of newCapacity value-initialised elements.
  static T* NewStorage(i32 newCapacity);
  // Moves the first count elements into storage and frees the old storage.
  void MoveInto(T* storage, i32 newCapacity);
};

template <class T>
i32 GrowVector<T>::GrownCapacity(i32 n) const {
  if (n <= minimum) return minimum;
  const i64 unit = step < 1 ? 1 : step;  // a step of 0 would divide by zero
  const i64 grown = (static_cast<i64>(n) / unit + 1) * unit;
  if (grown > INT32_MAX) StorageUnavailable();
  return static_cast<i32>(grown);
}

template <class T>
T* GrowVector<T>::NewStorage(i32 newCapacity) {
  T* storage = new (std::nothrow) T[newCapacity > 0 ? newCapacity : 1]();
  if (storage == nullptr) StorageUnavailable();
  return storage;
}

template <class T>
void GrowVector<T>::MoveInto(T* storage, i32 newCapacity) {
  for (i32 i = 0; i < count && i < newCapacity; ++i) storage[i] = std::move(data[i]);
  delete[] data;
  data = storage;
  capacity = newCapacity;
}

template <class T>
void GrowVector<T>::Reserve(i32 n) {
  if (n < capacity) return;
  const i32 newCapacity = GrownCapacity(n);
  MoveInto(NewStorage(newCapacity), newCapacity);
}

template <class T>
void GrowVector<T>::SetCount(i32 n) {
  Reserve(n);
  count = n < 0 ? 0 : n;
}

template <class T>
void GrowVector<T>::Append(const T& value) {
  if (count + 1 < capacity) {
    data[count++] = value;
    return;
  }
  // Grown by hand so that a value inside the old storage is copied before the elements move.
  const i32 newCapacity = GrownCapacity(count + 1);
  T* storage = NewStorage(newCapacity);
  storage[count] = value;
  MoveInto(storage, newCapacity);
  ++count;
}

template <class T>
void GrowVector<T>::Free() {
  delete[] data;
  data = nullptr;
  count = 0;
  capacity = 0;
}

template <class T>
void GrowVector<T>::CopyFrom(const GrowVector& src) {
  if (&src == this) return;
  if (src.capacity >= capacity) Reserve(src.capacity);
  count = src.count;
  for (i32 i = 0; i < src.count; ++i) data[i] = src.data[i];
}

template <class T>
void GrowVector<T>::Swap(GrowVector& other) noexcept {
  std::swap(data, other.data);
  std::swap(count, other.count);
  std::swap(capacity, other.capacity);
  std::swap(step, other.step);
  std::swap(minimum, other.minimum);
}
