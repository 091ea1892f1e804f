// The bytes waiting to go out on one connection of the network session. The worker never waits
// on a socket: it writes what the socket takes and keeps the rest for its next pass, so one peer
// that stops reading cannot hold up the others. Packets are appended whole and leave in order,
// so they stay whole on the wire however the socket splits them. A connection that falls too far
// behind (more than 256 KiB unsent, or no byte taken for two seconds) is given up: its peer is not
// reading, and the bytes would only pile up.
#pragma once

#include <vector>

#include "core/types.h"

constexpr i32 kOutgoingLimitBytes = 256 * 1024;
constexpr u32 kOutgoingStallMs = 2000;

class OutgoingBuffer {
 public:
  // Appends `count` bytes; when nothing was waiting, the two seconds count from `nowMs`.
  void Append(const u8* bytes, i32 count, u32 nowMs);
  // Writes what the socket of `slot` takes now. False once the connection is of no further use:
  // a send failed, or it fell too far behind; it then stays false until Clear.
  bool Flush(i32 slot, u32 nowMs);
  bool Failed() const { return failed_; }
  i32 Pending() const { return static_cast<i32>(bytes_.size() - sent_); }
  // Drops every byte and the failure: the connection is gone, or a new one takes its place.
  void Clear();

 private:
  std::vector<u8> bytes_;
  std::size_t sent_ = 0;     // bytes_ before this have gone out
  u32 lastProgressMs_ = 0;   // when the socket last took a byte (or the waiting began)
  bool failed_ = false;
};
