// Session packets as the bytes they are on the wire, for tests that write or expect them.
#pragma once

#include <string>

#include "net/net_packet.h"
#include "tests/support/test_support.h"

inline std::string Bytes(const u8* packet) {
  return std::string(reinterpret_cast<const char*>(packet), PacketWireSize(packet));
}
inline std::string Wire(u8 type, u16 target, u16 sender, const std::string& payload = "") {
  u8 packet[kNetPacketBufferSize];
  BuildPacket(packet, type, target, sender, payload.data(), static_cast<i32>(payload.size()));
  return Bytes(packet);
}
inline std::string U16(u16 value) { return LE(value, 2); }
inline std::string Registration(bool hidden, const char* name) {
  u8 packet[kNetPacketBufferSize];
  BuildRegistration(packet, hidden, name);
  return Bytes(packet);
}
