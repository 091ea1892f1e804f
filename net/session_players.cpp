// Players, messages and the host's answers: registration and the request procedure poll for what
// the worker brings in, as `netReplyWait` says; texts and leaves are single sends on the host
// connection.
#include <cstring>

#include "core/runtime_globals.h"
#include "net/session_commands.h"
#include "platform/platform_ops.h"

namespace {

void SleepBetweenPolls() { Platform().sleepNs(0, netReplyWait.intervalNs); }

PlayerRecord* FindLocalPlayer(NetSession& session, u16 id) {
  for (PlayerRecord* record = session.localPlayers.head; record; record = record->next) {
    if (record->id == id) return record;
  }
  return nullptr;
}

// A request's reply as a u16, 0 on any failure.
i32 AskForNumber(u8 type, const u8* payload, i32 length) {
  PacketNode reply;
  u16 value = 0;
  if (netSession == nullptr || !RequestFromHost(*netSession, type, payload, length, reply) ||
      !ReadU16Payload(reply.packet, value)) {
    return 0;
  }
  return value;
}

}  // namespace

u16 NetRegisterPlayer(NetSession& session, const char* name) {
  auto* record = new PlayerRecord;
  record->id = kNetIdAwaitingRegistration;
  record->hidden = name == nullptr ? 1 : 0;
  const char* shown = name != nullptr ? name : "query";
  CopyPlayerName(record->name, reinterpret_cast<const u8*>(shown), kNetPlayerNameSize - 1);
  {
    const SessionLock hold(session);
    session.localPlayers.Append(record);
  }
  for (i32 poll = 0; poll < netReplyWait.polls; ++poll) {
    u16 id = 0;
    bool running = false;
    {
      const SessionLock hold(session);
      id = record->id;
      running = session.running != 0;
    }
    if (IsPlayerId(id)) return id;
    if (!running) break;
    SleepBetweenPolls();
  }
  const SessionLock hold(session);
  session.localPlayers.Remove(record);
  FreePackets(record->messages);
  delete record;
  return 0;
}

bool RequestFromHost(NetSession& session, u8 type, const u8* payload, i32 length,
                     PacketNode& reply) {
  u16 own = session.ownId;
  if (own == 0) {
    own = NetRegisterPlayer(session, nullptr);
    if (own == 0) return false;
    session.ownId = own;
  }
  u8 packet[kNetPacketBufferSize];
  BuildPacket(packet, type, kNetHostId, own, payload, length);
  {
    const SessionLock hold(session);
    FreePackets(session.replies);
  }
  SendToHost(session, packet);
  for (i32 poll = 0; poll < netReplyWait.polls; ++poll) {
    PacketNode* node = nullptr;
    {
      const SessionLock hold(session);
      node = session.replies.TakeHead();
    }
    if (node != nullptr) {
      std::memcpy(reply.packet, node->packet, sizeof reply.packet);
      delete node;
      return true;
    }
    SleepBetweenPolls();
  }
  return false;
}

bool NetSendMessage(NetSession& session, u16 fromId, u16 toId, const char* text, i32 length) {
  if (length < 0 || length > kNetMaxPayload) return false;
  u8 packet[kNetPacketBufferSize];
  BuildPacket(packet, kNetPacketText, toId == 0 ? kNetIdEveryone : toId, fromId, text, length);
  return SendToHost(session, packet) > 0;
}

bool NetTakeMessage(NetSession& session, u16 playerId, DynString& text, u16& senderId) {
  PacketNode* node = nullptr;
  {
    const SessionLock hold(session);
    if (PlayerRecord* record = FindLocalPlayer(session, playerId)) {
      node = record->messages.TakeHead();
    }
  }
  if (node == nullptr) return false;
  senderId = PacketSender(node->packet);
  text.AssignCString(reinterpret_cast<const char*>(PacketPayload(node->packet)));
  delete node;
  return true;
}

i32 NetRegisterPlayerCommand(const DynString& name) {
  return netSession != nullptr ? NetRegisterPlayer(*netSession, name.CStr()) : 0;
}

void NetLeavePlayer(i32 id) {
  if (netSession != nullptr && IsPlayerId(static_cast<u16>(id))) {
    SendLeavePacket(*netSession, static_cast<u16>(id));
  }
}

i32 NetSendMessage(i32 fromId, i32 toId, const DynString& text) {
  if (netSession == nullptr) return 0;
  return NetSendMessage(*netSession, static_cast<u16>(fromId), static_cast<u16>(toId), text.CStr(),
                        static_cast<i32>(text.Length())) ? 1 : 0;
}

DynString NetTakeMessage(i32 playerId) {
  DynString text;
  u16 sender = 0;
  if (netSession == nullptr) return text;
  if (NetTakeMessage(*netSession, static_cast<u16>(playerId), text, sender))
    netLastSenderId = sender;
  return text;
}

i32 NetLastSenderId() { return netLastSenderId; }

i32 NetCountPlayers() {
  if (netSession == nullptr || ReadSessionFlag(*netSession, netSession->running) == 0) return 0;
  return AskForNumber(kNetRequestCount, nullptr, 0);
}

i32 NetGetPlayerId(i32 index) {
  u8 payload[2];
  WriteLE16(payload, static_cast<u16>(index));
  return AskForNumber(kNetRequestIdAt, payload, 2);
}

DynString NetGetPlayerName(i32 id) {
  u8 payload[2];
  WriteLE16(payload, static_cast<u16>(id));
  PacketNode reply;
  if (netSession == nullptr || !RequestFromHost(*netSession, kNetRequestName, payload, 2, reply)) {
    return DynString("NO_DATA");
  }
  const char* name = reinterpret_cast<const char*>(PacketPayload(reply.packet));
  return DynString::FromBytes(name, static_cast<u32>(strnlen(name, 255)));
}

i32 NetTakeLeftPlayer() {
  if (netSession == nullptr) return 0;
  const SessionLock hold(*netSession);
  if (netSession->keepLeftIds == 0) return 0;
  LeftIdNode* node = netSession->leftIds.TakeTail();
  if (node == nullptr) return 0;
  const i32 id = node->id;
  delete node;
  return id;
}
