// Building and reading the session's packets.
#include "net/net_packet.h"

#include <algorithm>
#include <cstring>

void BuildPacket(u8* packet, u8 type, u16 target, u16 sender, const void* payload, i32 length) {
  length = std::clamp(payload != nullptr ? length : 0, 0, kNetMaxPayload);
  packet[0] = type;
  WriteLE16(packet + 1, static_cast<u32>(length));
  WriteLE16(packet + 3, target);
  WriteLE16(packet + 5, sender);
  if (length > 0) std::memcpy(packet + kNetPacketHeaderSize, payload, static_cast<size_t>(length));
  packet[kNetPacketHeaderSize + length] = 0;
}

void BuildU16Packet(u8* packet, u8 type, u16 target, u16 sender, u16 value) {
  u8 payload[2];
  WriteLE16(payload, value);
  BuildPacket(packet, type, target, sender, payload, 2);
}

void BuildRegistration(u8* packet, bool hidden, const char* name) {
  u8 description[kNetDescriptionSize] = {};
  WriteLE32(description, static_cast<u32>(-1));  // a local record has no connection
  WriteLE16(description + 4, kNetIdAwaitingRegistration);
  description[kNetDescriptionHiddenAt] = hidden ? 1 : 0;
  const std::size_t length = strnlen(name, kNetPlayerNameSize - 1);
  std::memcpy(description + kNetDescriptionNameAt, name, length);
  BuildPacket(packet, kNetPacketRegister, kNetHostId, 0, description, kNetDescriptionSize);
}

bool ReadU16Payload(const u8* packet, u16& value) {
  if (PacketPayloadLength(packet) < 2) return false;
  value = ReadLE16(PacketPayload(packet));
  return true;
}

void CopyPlayerName(char (&name)[kNetPlayerNameSize], const u8* bytes, i32 limit) {
  const i32 most = std::clamp(limit, 0, kNetPlayerNameSize - 1);
  const i32 length = static_cast<i32>(strnlen(reinterpret_cast<const char*>(bytes), most));
  std::memcpy(name, bytes, static_cast<size_t>(length));
  name[length] = '\0';
}
