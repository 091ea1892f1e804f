// The network session's commands: hosting or joining a session, registering players, sending and
// taking text messages, asking the host about the players, and the bookkeeping around them.
//
// The first group works on any session object; the commands below it use the runtime's one
// session (and give their failure value when there is none). Ids use the low 16 bits of their
// argument. Commands that need an answer from the host wait for it as `netReplyWait` says.
#pragma once

#include "core/dyn_string.h"
#include "core/types.h"
#include "net/net_session.h"

constexpr u16 kNetDefaultPort = 27910;

// The sender id of the last message taken by NetTakeMessage; 0 at start.
extern u16 netLastSenderId;

// --- on one session ---
// Hosts on a port (0: any free port; SocketLocalPort of `listenSocket` tells which), connected to
// itself at this machine's own address. False leaves the session idle.
bool NetHostSession(NetSession& session, u16 port);
// Joins the host and waits for its answer to a hello. False leaves the session idle.
bool NetJoinSession(NetSession& session, const char* host, u16 port);
// Registers a local player (null name: the hidden "query" player) and waits for its id; 0 when
// the host does not answer in time or the session ends. Names are cut to 127 characters.
u16 NetRegisterPlayer(NetSession& session, const char* name);
// A text of `length` bytes (at most 1024) from one player to another, or to all for target 0;
// true once the whole packet is on its way to the host (written, or waiting behind earlier
// packets); false when it is too long, or there is no host connection or it has failed.
bool NetSendMessage(NetSession& session, u16 fromId, u16 toId, const char* text, i32 length);
// The oldest message for a local player, cut at its first zero byte, and its sender; false when
// there is none.
bool NetTakeMessage(NetSession& session, u16 playerId, DynString& text, u16& senderId);
// Sends a request of that type with its payload to the host and waits for the first reply (into
// `reply`). A program without an own id first registers its hidden "query" player for it. False
// when that fails or no reply comes in time.
bool RequestFromHost(NetSession& session, u8 type, const u8* payload, i32 length,
                     PacketNode& reply);

// --- the commands ---
// A port below 1 (or whose low 16 bits are 0) means 27910.
u16 NetSessionPort(i32 port);
i32 NetHostSession(i32 port);
i32 NetJoinSession(const DynString& host, i32 port);
void NetStopSession();
i32 NetIsRunning();
void NetSetAcceptPlayers(i32 flag);
// A visible player under the text's name (an empty text gives an empty name): its id, or 0.
i32 NetRegisterPlayerCommand(const DynString& name);
// The leave packet for a registered id (1..0xFEFF); the local record stays.
void NetLeavePlayer(i32 id);
// 1 when the packet is on its way; a text over 1024 characters is refused with 0.
i32 NetSendMessage(i32 fromId, i32 toId, const DynString& text);
// The oldest message for that local player, or "" (NetLastSenderId then stays as it was).
DynString NetTakeMessage(i32 playerId);
i32 NetLastSenderId();
// The host's answers: the number of visible players, the id of the index-th of them (0 when there
// is none) and a player's name ("NO_DATA" for an unknown id); 0 or "NO_DATA" when no answer
// comes. The count asks nothing while no session runs.
i32 NetCountPlayers();
i32 NetGetPlayerId(i32 index);
DynString NetGetPlayerName(i32 id);
// On the host: the id that left most recently and was not taken yet; else 0.
i32 NetTakeLeftPlayer();
