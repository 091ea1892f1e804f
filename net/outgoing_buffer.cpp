// Writing a connection's waiting bytes without blocking.
#include "net/outgoing_buffer.h"

#include "net/socket_table.h"

namespace {

// Bytes already sent are cut from the front once they are this many and over half the buffer,
// so a connection that always has some bytes waiting does not grow its buffer for ever.
constexpr std::size_t kCompactAfterBytes = 64 * 1024;

}  // namespace

void OutgoingBuffer::Append(const u8* bytes, i32 count, u32 nowMs) {
  if (count < 1) return;
  if (Pending() == 0) lastProgressMs_ = nowMs;
  bytes_.insert(bytes_.end(), bytes, bytes + count);
}

bool OutgoingBuffer::Flush(i32 slot, u32 nowMs) {
  if (failed_) return false;
  if (Pending() == 0) return true;
  const i32 taken = SocketSendSome(slot, bytes_.data() + sent_, Pending());
  if (taken < 0) {
    failed_ = true;
    return false;
  }
  if (taken > 0) {
    sent_ += static_cast<std::size_t>(taken);
    lastProgressMs_ = nowMs;
  }
  if (Pending() == 0) {
    bytes_.clear();
    sent_ = 0;
  } else if (sent_ >= kCompactAfterBytes && sent_ * 2 >= bytes_.size()) {
    bytes_.erase(bytes_.begin(), bytes_.begin() + static_cast<std::ptrdiff_t>(sent_));
    sent_ = 0;
  }
  failed_ = Pending() > kOutgoingLimitBytes ||
            (Pending() > 0 && static_cast<u32>(nowMs - lastProgressMs_) >= kOutgoingStallMs);
  return !failed_;
}

void OutgoingBuffer::Clear() {
  bytes_.clear();
  sent_ = 0;
  failed_ = false;
}
