// The network session's one message format, the same in both directions: a 7-byte little-endian
// header (type, payload length, target id, sender id), the payload and an end byte. On the wire a
// packet is its payload length + 8 bytes, and packets follow each other on the TCP stream with no
// further framing. In memory every packet has a buffer of 1032 bytes, the largest packet.
#pragma once

#include "core/byte_order.h"
#include "core/types.h"

constexpr i32 kNetPacketHeaderSize = 7;
constexpr i32 kNetMaxPayload = 1024;
constexpr i32 kNetPacketBufferSize = kNetPacketHeaderSize + kNetMaxPayload + 1;

// Player ids. The host hands out 101, 102, ...; 0 is the host itself (or no id yet).
constexpr u16 kNetHostId = 0;
constexpr u16 kNetFirstPlayerId = 101;
constexpr u16 kNetLastPlayerId = 0xFEFF;
constexpr u16 kNetIdAwaitingRegistration = 0xFFFE;
constexpr u16 kNetIdRegistrationSent = 0xFFFC;
constexpr u16 kNetIdEveryone = 0xFFFF;

// Message types. Requests and their replies share the codes above 99; a reply has sender 0.
constexpr u8 kNetPacketRegister = 1;
constexpr u8 kNetPacketRegistered = 2;
constexpr u8 kNetPacketText = 3;
constexpr u8 kNetPacketLeave = 4;
constexpr u8 kNetRequestCount = 'e';
constexpr u8 kNetRequestIdAt = 'f';
constexpr u8 kNetRequestName = 'g';
constexpr u8 kNetRequestHello = 'h';
constexpr u8 kNetFirstRequestType = 100;

// The player description a registration carries: socket (i32), id (u16), hidden flag, a reserved
// byte, the name (NUL-terminated) and 12 bytes without meaning. A host needs the bytes up to the
// name's end.
constexpr i32 kNetDescriptionSize = 148;
constexpr i32 kNetDescriptionHiddenAt = 6;
constexpr i32 kNetDescriptionNameAt = 8;
constexpr i32 kNetPlayerNameSize = 128;
constexpr i32 kNetDescriptionNeeded = kNetDescriptionNameAt + kNetPlayerNameSize;

inline bool IsPlayerId(u32 id) { return id >= 1 && id <= kNetLastPlayerId; }

inline u8 PacketType(const u8* packet) { return packet[0]; }
inline u16 PacketPayloadLength(const u8* packet) { return ReadLE16(packet + 1); }
inline u16 PacketTarget(const u8* packet) { return ReadLE16(packet + 3); }
inline u16 PacketSender(const u8* packet) { return ReadLE16(packet + 5); }
inline void SetPacketTarget(u8* packet, u16 id) { WriteLE16(packet + 3, id); }
inline const u8* PacketPayload(const u8* packet) { return packet + kNetPacketHeaderSize; }
// The bytes a packet takes on the wire: header, payload and end byte.
inline i32 PacketWireSize(const u8* packet) { return PacketPayloadLength(packet) + 8; }

// Writes a whole packet: the header, `length` payload bytes (at most 1024; none when `payload` is
// null) and a zero end byte, which ends a text payload.
void BuildPacket(u8* packet, u8 type, u16 target, u16 sender, const void* payload, i32 length);
// A packet whose payload is one u16.
void BuildU16Packet(u8* packet, u8 type, u16 target, u16 sender, u16 value);
// The registration of a local player: its description with id 0xFFFE, the hidden flag and the
// name (cut to 127 characters).
void BuildRegistration(u8* packet, bool hidden, const char* name);
// The payload's u16 in `value`; false when the payload is too short to hold one.
bool ReadU16Payload(const u8* packet, u16& value);
// Copies a NUL-terminated name of at most 127 characters from `limit` bytes into `name`.
void CopyPlayerName(char (&name)[kNetPlayerNameSize], const u8* bytes, i32 limit);
