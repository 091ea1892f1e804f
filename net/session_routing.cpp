// The session protocol's routing rules.
//
// Inbound packets carry the connection they came in on. The host relays only texts that came in
// on accepted connections: a text that came back through its own host connection was relayed
// already, and relaying it again would send it round the self-connection for ever. Replies and
// registered ids are taken only from the host connection, so a client cannot forge them.
#include "net/session_routing.h"

#include <algorithm>
#include <cstring>

namespace {

// Runs `consumed` on every queued packet; those it returns true for are removed and freed.
template <class Rule>
void ConsumeWhere(PacketQueue& queue, Rule&& consumed) {
  for (PacketNode* node = queue.head; node != nullptr;) {
    PacketNode* next = node->next;
    if (consumed(*node)) {
      queue.Remove(node);
      delete node;
    }
    node = next;
  }
}

// Copies go only as far as the packet: the bytes after its end byte mean nothing.
PacketNode* CopyOf(const u8* packet, i32 connection) {
  auto* node = new PacketNode;
  std::memcpy(node->packet, packet, static_cast<std::size_t>(PacketWireSize(packet)));
  node->connection = connection;
  return node;
}

PacketNode* Emit(PacketQueue& outbox, const u8* packet, i32 connection) {
  PacketNode* node = CopyOf(packet, connection);
  outbox.Append(node);
  return node;
}

bool IsOpen(OpenConnections open, i32 slot) {
  return std::find(open.begin(), open.end(), slot) != open.end();
}

PlayerRecord* FindPlayer(PlayerList& players, u16 id) {
  for (PlayerRecord* record = players.head; record != nullptr; record = record->next) {
    if (record->id == id) return record;
  }
  return nullptr;
}

// A copy of a broadcast for each visible local player but its sender, addressed to that player.
void DeliverBroadcast(NetSession& session, const PacketNode& node) {
  const u16 sender = PacketSender(node.packet);
  for (PlayerRecord* record = session.localPlayers.head; record; record = record->next) {
    if (record->hidden != 0 || !IsPlayerId(record->id) || record->id == sender) continue;
    PacketNode* copy = CopyOf(node.packet, node.connection);
    SetPacketTarget(copy->packet, record->id);
    record->messages.Append(copy);
  }
}

template <class Test>
void RemoveHostPlayers(NetSession& session, Test&& leaves) {
  for (PlayerRecord* record = session.hostPlayers.head; record != nullptr;) {
    PlayerRecord* next = record->next;
    if (leaves(*record)) {
      if (session.keepLeftIds != 0) {
        auto* left = new LeftIdNode;
        left->id = record->id;
        session.leftIds.Append(left);
      }
      session.hostPlayers.Remove(record);
      FreePackets(record->messages);
      delete record;
    }
    record = next;
  }
}

// Broadcasts that reach the host from its clients go to the host's own players here, in the same
// step as the direct texts beside them, so every player sees one sender's texts in the order
// sent; a copy sent round the host's connection to itself would arrive after later direct ones.
void DeliverLocally(NetSession& session) {
  ConsumeWhere(session.inbound, [&](PacketNode& node) {
    if (PacketType(node.packet) != kNetPacketText) return false;
    const u16 target = PacketTarget(node.packet);
    if (target == kNetIdEveryone) {
      if (node.connection != kFromHostConnection) DeliverBroadcast(session, node);
      return false;  // relayed to the other programs' players in the host step
    }
    if (PlayerRecord* record = FindPlayer(session.localPlayers, target)) {
      record->messages.Append(CopyOf(node.packet, node.connection));
      return true;
    }
    return false;
  });
}

void Relay(NetSession& session, const PacketNode& node, OpenConnections open, PacketQueue& outbox) {
  const u16 target = PacketTarget(node.packet);
  if (target != kNetIdEveryone) {
    const PlayerRecord* record = FindPlayer(session.hostPlayers, target);
    if (record != nullptr && IsOpen(open, record->socket)) {
      Emit(outbox, node.packet, record->socket);
    }
    return;
  }
  const u16 sender = PacketSender(node.packet);
  for (PlayerRecord* record = session.hostPlayers.head; record; record = record->next) {
    if (record->hidden != 0 || record->id == sender || !IsOpen(open, record->socket) ||
        FindPlayer(session.localPlayers, record->id) != nullptr) {
      continue;  // hidden, the sender, gone, or one of the host's own: delivered already
    }
    SetPacketTarget(Emit(outbox, node.packet, record->socket)->packet, record->id);
  }
}

// Ids stop at 0xFEFF: above it they would collide with the special values (0xFFFF is everyone),
// so a session that has handed them all out takes no more players.
void Register(NetSession& session, const PacketNode& node, OpenConnections open,
              PacketQueue& outbox) {
  if (session.acceptPlayers == 0 || !IsPlayerId(session.nextId) ||
      PacketPayloadLength(node.packet) < kNetDescriptionNeeded || !IsOpen(open, node.connection)) {
    return;
  }
  const u8* description = PacketPayload(node.packet);
  auto* record = new PlayerRecord;
  record->socket = node.connection;
  record->id = session.nextId++;
  record->hidden = description[kNetDescriptionHiddenAt] != 0 ? 1 : 0;
  CopyPlayerName(record->name, description + kNetDescriptionNameAt, kNetPlayerNameSize - 1);
  session.hostPlayers.Append(record);
  u8 reply[8];
  BuildPacket(reply, kNetPacketRegistered, record->id, kNetHostId, nullptr, 0);
  Emit(outbox, reply, record->socket);
}

u16 CountVisible(NetSession& session) {
  u16 count = 0;
  for (PlayerRecord* record = session.hostPlayers.head; record; record = record->next) {
    if (record->hidden == 0 && IsPlayerId(record->id)) ++count;
  }
  return count;
}

u16 VisibleIdAt(NetSession& session, u16 index) {
  for (PlayerRecord* record = session.hostPlayers.head; record; record = record->next) {
    if (record->hidden != 0) continue;
    if (index-- == 0) return record->id;
  }
  return 0;
}

// Requests are answered on the connection of the asking player's record; a request of a player
// the host does not know (or whose payload is too short) gets no answer.
void Answer(NetSession& session, const PacketNode& node, OpenConnections open,
            PacketQueue& outbox) {
  const u16 asker = PacketSender(node.packet);
  const PlayerRecord* record = FindPlayer(session.hostPlayers, asker);
  if (record == nullptr || !IsOpen(open, record->socket)) return;
  const u8 type = PacketType(node.packet);
  u8 reply[kNetPacketBufferSize];
  u16 value = 0;
  if (type != kNetRequestCount && type != kNetRequestHello && !ReadU16Payload(node.packet, value)) {
    return;
  }
  if (type == kNetRequestName) {
    const PlayerRecord* named = FindPlayer(session.hostPlayers, value);
    const char* name = named != nullptr && named->name[0] != '\0' ? named->name : "NO_DATA";
    BuildPacket(reply, type, asker, kNetHostId, name, static_cast<i32>(std::strlen(name)));
  } else {
    const u16 answer = type == kNetRequestCount ? CountVisible(session)
                       : type == kNetRequestIdAt ? VisibleIdAt(session, value)
                                                 : 1;
    BuildU16Packet(reply, type, asker, kNetHostId, answer);
  }
  Emit(outbox, reply, record->socket);
}

void HostStep(NetSession& session, OpenConnections open, PacketQueue& outbox) {
  ConsumeWhere(session.inbound, [&](PacketNode& node) {
    const u8 type = PacketType(node.packet);
    if (type == kNetPacketText) {
      if (node.connection != kFromHostConnection) Relay(session, node, open, outbox);
      return true;
    }
    if (PacketTarget(node.packet) != kNetHostId) return false;  // a reply: the client step's
    switch (type) {
      case kNetPacketRegister:
        Register(session, node, open, outbox);
        return true;
      case kNetPacketLeave: {
        const u16 id = PacketSender(node.packet);
        RemoveHostPlayers(session, [id](const PlayerRecord& record) { return record.id == id; });
        return true;
      }
      case kNetRequestCount:
      case kNetRequestIdAt:
      case kNetRequestName:
      case kNetRequestHello:
        Answer(session, node, open, outbox);
        return true;
      default:
        return false;
    }
  });
}

// Registered ids first: a text for a new player can follow its id in the same pass.
void TakeRegisteredIds(NetSession& session) {
  ConsumeWhere(session.inbound, [&](PacketNode& node) {
    if (node.connection != kFromHostConnection || PacketSender(node.packet) != kNetHostId ||
        PacketType(node.packet) != kNetPacketRegistered) {
      return false;
    }
    if (PlayerRecord* record = FindPlayer(session.localPlayers, kNetIdRegistrationSent)) {
      record->id = PacketTarget(node.packet);
    }
    return true;
  });
}

void TakeReplies(NetSession& session) {
  ConsumeWhere(session.inbound, [&](PacketNode& node) {
    if (node.connection != kFromHostConnection || PacketSender(node.packet) != kNetHostId ||
        PacketType(node.packet) < kNetFirstRequestType) {
      return false;
    }
    session.replies.Append(CopyOf(node.packet, node.connection));
    return true;
  });
}

}  // namespace

void TakePendingRegistrations(NetSession& session, PacketQueue& outbox) {
  for (PlayerRecord* record = session.localPlayers.head; record; record = record->next) {
    if (record->id != kNetIdAwaitingRegistration) continue;
    auto* node = new PacketNode;
    BuildRegistration(node->packet, record->hidden != 0, record->name);
    outbox.Append(node);
    record->id = kNetIdRegistrationSent;
  }
}

void RoutePackets(NetSession& session, bool hosting, OpenConnections open, PacketQueue& outbox) {
  TakeRegisteredIds(session);
  DeliverLocally(session);
  if (hosting) HostStep(session, open, outbox);
  TakeReplies(session);
  FreePackets(session.inbound);
}

void RemovePlayersOnConnection(NetSession& session, i32 slot) {
  RemoveHostPlayers(session, [slot](const PlayerRecord& record) { return record.socket == slot; });
}
