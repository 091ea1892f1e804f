// The read position over the program's constant data blocks.
#include "core/data_blocks.h"

#include "core/float_convert.h"
#include "core/runtime_error.h"


namespace {

// The item the next read takes; error 20 when there is none. The position advances only after
// the caller has converted the item (AdvanceData).
const ReadDataItem& PeekDataItem() {
  ReadDataCursor* cursor = currentDataCursor;
  if (cursor == nullptr || cursor->next >= cursor->count || cursor->next < 0 ||
      cursor->items == nullptr)
    FatalError(kErrNoData);
  return cursor->items[cursor->next];
}

void AdvanceData() { ++currentDataCursor->next; }

f32 ItemAsNumber(const ReadDataItem& item) {
  if (item.text == nullptr) return item.value;
  return CStringToNumber(item.text);
}

}  // namespace

void RestoreDataBlock(ReadDataCursor* cursor) {
  cursor->next = 0;
  currentDataCursor = cursor;
}

void ReadDataFloat(f32* out) {
  const ReadDataItem& item = PeekDataItem();
  *out = ItemAsNumber(item);
  AdvanceData();
}

i32 ReadDataInt(i32* out) {
  const ReadDataItem& item = PeekDataItem();
  *out = TruncToI32(ItemAsNumber(item));
  AdvanceData();
  return *out;
}

void ReadDataString(DynString& out) {
  const ReadDataItem& item = PeekDataItem();
  DynString text =
      item.text != nullptr ? DynString::FromCString(item.text) : DynString::FromFloat(item.value);
  out.Swap(text);
  AdvanceData();
}
