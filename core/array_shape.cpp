// Shape rules and the index check shared by NumArray and DynArray.
#include "core/array_shape.h"

#include <utility>

#include "core/int_clamp.h"
#include "core/runtime_error.h"

namespace {

i64 AtLeastOne(i32 d) { return d < 1 ? 1 : d; }

}  // namespace

i64 ArrayShape::ElementsFor(i32 d0, i32 d1, i32 d2, i32 d3) {
  if (d0 < 1) return 0;
  // Each factor is below 2^31, so checking after every step keeps the product inside 64 bits.
  i64 count = d0;
  for (i32 d : {d1, d2, d3}) {
    count *= AtLeastOne(d);
    if (count > kMaxArrayElements) FatalError(kErrStorage);
  }
  return count;
}

i64 ArrayShape::ElementCount() const {
  if (dim[0] < 1) return 0;
  i64 count = dim[0];
  for (i32 n = 1; n < 4; ++n) {
    count *= AtLeastOne(dim[n]);
    if (count > kMaxArrayElements) return kMaxArrayElements;  // never set that way; stay bounded
  }
  return count;
}

void ArrayShape::SetShape(i32 d0, i32 d1, i32 d2, i32 d3) {
  if (d0 < 1) d0 = 0;
  // A stride only matters for accesses that pass the checks, and those need positive sizes, whose
  // products stay below kMaxArrayElements. Products with a negative size are clamped so they can
  // be stored; no access ever uses them.
  const i64 s0 = d0;
  const i64 s1 = s0 * d1;
  const i64 s2 = ClampToI32(s1) * static_cast<i64>(d2);
  stride[0] = d0;
  stride[1] = ClampToI32(s1);
  stride[2] = ClampToI32(s2);
  dim[0] = d0;
  dim[1] = d1;
  dim[2] = d2;
  dim[3] = d3;
  dimCount = d3 != 0 ? 4 : d2 != 0 ? 3 : d1 != 0 ? 2 : d0 != 0 ? 1 : 0;
}

void ArrayShape::ClearShape() { SetShape(0, 0, 0, 0); }

void ArrayShape::SwapShape(ArrayShape& other) noexcept { std::swap(*this, other); }

i64 ArrayShape::Offset(bool hasStorage, i32 i, i32 j, i32 k, i32 l, bool checkAll) const {
  if (i < 0) i += dim[0];
  if (i < 0 || j < 0 || k < 0 || l < 0 || !hasStorage) FatalError(kErrIndex);
  if (i >= dim[0]) FatalError(kErrIndex);
  if (dim[1] != 0 && j >= dim[1]) FatalError(kErrIndex);
  if (checkAll) {
    if (dim[2] != 0 && k >= dim[2]) FatalError(kErrIndex);
    if (dim[3] != 0 && l >= dim[3]) FatalError(kErrIndex);
  }
  const i64 offset = static_cast<i64>(i) + static_cast<i64>(j) * stride[0] +
                     static_cast<i64>(k) * stride[1] + static_cast<i64>(l) * stride[2];
  // An index into an unused dimension passes the checks above; it must not reach past the
  // elements the array holds.
  if (offset < 0 || offset >= ElementCount()) FatalError(kErrIndex);
  return offset;
}

i32 ArrayShape::CheckedRow(bool hasStorage, i32 i) const {
  if (i < 0) i += dim[0];
  if (i < 0 || i >= dim[0] || !hasStorage) FatalError(kErrIndex);
  return i;
}
