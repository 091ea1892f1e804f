// The open list's ring: buffers, the end fast paths and the changes in the middle.
#include "path/fixed_deque.h"

#include <algorithm>
#include <utility>

template <class T>
FixedDeque<T>::~FixedDeque() {
  delete[] ring;
  delete[] scratch;
}

template <class T>
void FixedDeque<T>::Allocate(u32 n) {
  // Emptied and without slots until both buffers exist: when memory runs out part way, no freed
  // buffer is left for the destructor to free again.
  delete[] ring;
  ring = nullptr;
  delete[] scratch;
  scratch = nullptr;
  capacity = 0;
  Clear();
  if (n == 0) return;
  ring = new T[n];
  scratch = new T[n];
  capacity = n;
}

template <class T>
u32 FixedDeque<T>::Count() const {
  if (empty) return 0;
  return tail > head ? tail - head : capacity - head + tail;
}

template <class T>
u32 FixedDeque<T>::Slot(u32 i) const {
  // 64 bits: head + i may pass the u32 range for rings of more than 2^31 slots.
  const u64 pos = u64{head} + i;
  return static_cast<u32>(pos >= capacity ? pos - capacity : pos);
}

template <class T>
T FixedDeque<T>::At(u32 i) const {
  return i < Count() ? ring[Slot(i)] : T{};
}

template <class T>
void FixedDeque<T>::PushBack(T value) {
  // A ring without slots counts as full: it has nowhere to put anything.
  if (Full() || capacity == 0) return;
  ring[tail] = value;
  tail = tail + 1 == capacity ? 0 : tail + 1;
  empty = false;
}

template <class T>
T FixedDeque<T>::PopBack() {
  if (empty) return T{};
  tail = tail == 0 ? capacity - 1 : tail - 1;
  T value = ring[tail];
  empty = head == tail;
  return value;
}

template <class T>
void FixedDeque<T>::CopyOut(u32 from, u32 n, T* out) const {
  const u32 start = Slot(from);
  const u32 firstRun = std::min(n, capacity - start);
  std::copy(ring + start, ring + start + firstRun, out);
  std::copy(ring, ring + (n - firstRun), out + firstRun);
}

template <class T>
void FixedDeque<T>::TakeScratch(u32 n) {
  std::swap(ring, scratch);
  head = 0;
  tail = n == capacity ? 0 : n;
  empty = n == 0;
}

template <class T>
bool FixedDeque<T>::InsertAt(u32 i, T value) {
  // The index is checked before the end fast paths: past the count, head + i would wrap onto
  // the head slot and prepend instead of refusing.
  const u32 count = Count();
  if (i > count || Full() || capacity == 0) return false;
  if (i == count) {
    PushBack(value);
    return true;
  }
  if (i == 0) {
    head = head == 0 ? capacity - 1 : head - 1;
    ring[head] = value;
    empty = false;
    return true;
  }
  if (head == 0) {
    // Already laid out from slot 0, as the rebuild leaves it: only the elements after i move.
    std::copy_backward(ring + i, ring + count, ring + count + 1);
    ring[i] = value;
    tail = count + 1 == capacity ? 0 : count + 1;
    return true;
  }
  CopyOut(0, i, scratch);
  scratch[i] = value;
  CopyOut(i, count - i, scratch + i + 1);
  TakeScratch(count + 1);
  return true;
}

template <class T>
bool FixedDeque<T>::EraseAt(u32 i) {
  // As in InsertAt: on a full ring, i = count would otherwise erase the front element.
  const u32 count = Count();
  if (i >= count) return false;
  if (i == count - 1) {
    PopBack();
    return true;
  }
  if (i == 0) {
    head = head + 1 == capacity ? 0 : head + 1;
    empty = head == tail;
    return true;
  }
  if (head == 0) {
    std::copy(ring + i + 1, ring + count, ring + i);
    tail = count - 1;
    return true;
  }
  CopyOut(0, i, scratch);
  CopyOut(i + 1, count - i - 1, scratch + i);
  TakeScratch(count - 1);
  return true;
}

template <class T>
void FixedDeque<T>::Clear() {
  head = 0;
  tail = 0;
  empty = true;
}

template class FixedDeque<Node*>;
