// FixedDeque: the planner's open list, a ring of a fixed number of slots that never allocates
// after Allocate. Logical index i (0 is the front) lives in slot (head + i) mod capacity; when
// head equals tail the ring is either empty or full and `empty` tells which.
//
// The planner keeps it sorted and inserts and erases anywhere, so both ends have constant-time
// fast paths, and a change in the middle leaves the elements in logical order from slot 0: it
// rebuilds them into the second buffer (at most three block copies, as the ring wraps at most
// once) and swaps the buffers, or, when they already start at slot 0, moves only those after
// the change.
#pragma once

#include "core/types.h"
#include "path/search_node.h"

template <class T>
class FixedDeque {
 public:
  T* ring = nullptr;     // `capacity` slots holding the elements
  T* scratch = nullptr;  // `capacity` slots to rebuild the ring into
  u32 capacity = 0;
  u32 head = 0;          // slot of the first element
  u32 tail = 0;          // slot after the last element
  bool empty = true;

  FixedDeque() = default;
  virtual ~FixedDeque();
  FixedDeque(const FixedDeque&) = delete;
  FixedDeque& operator=(const FixedDeque&) = delete;

  // n slots, nothing held; the previous buffers are freed.
  void Allocate(u32 n);
  u32 Count() const;
  bool Full() const { return !empty && head == tail; }
  // The element at logical index i; a default value (null) at or beyond the count.
  T At(u32 i) const;
  // Appends; a full deque ignores the call.
  void PushBack(T value);
  // Removes and returns the last element; a default value (null) when empty.
  T PopBack();
  // Makes value logical element i (0..count); false when full or i is beyond the count.
  bool InsertAt(u32 i, T value);
  // Removes logical element i; false when i is not below the count.
  bool EraseAt(u32 i);
  // Empty again; the buffers stay.
  void Clear();

 private:
  // The slot of logical index i, for i <= capacity.
  u32 Slot(u32 i) const;
  // Copies n elements from logical index `from` on into out, as one or two block copies.
  void CopyOut(u32 from, u32 n, T* out) const;
  // Swaps in the rebuilt buffer holding n elements from slot 0.
  void TakeScratch(u32 n);
};

extern template class FixedDeque<Node*>;
