// The rules of the session protocol, as functions over the session's lists and queues: what the
// host and every program do with each received packet, in which order, and what they answer. They
// run with the session's mutex held and send nothing themselves: a packet to send goes into an
// outbox, its node's connection naming where it goes, and the worker sends it afterwards. So the
// whole protocol is testable without a socket.
#pragma once

#include <span>

#include "net/net_session.h"

// The host's accepted connections that are open (socket slots); none on a program that only joined.
using OpenConnections = std::span<const i32>;

// A registration packet (to the host) for every local record still waiting for one; each record is
// marked as sent.
void TakePendingRegistrations(NetSession& session, PacketQueue& outbox);

// One pass over the inbound queue, in this order: registered ids taken from the host connection;
// texts delivered to local players (on the host also the broadcasts its clients sent); on the
// host, texts relayed to the other programs' players, registrations, leaves and requests
// answered; replies taken from the host connection; then every packet left is dropped.
void RoutePackets(NetSession& session, bool hosting, OpenConnections open, PacketQueue& outbox);

// A closed connection: every host record on it is removed, each id kept as left when the session
// keeps left ids.
void RemovePlayersOnConnection(NetSession& session, i32 slot);
