// Peers that a test plays itself on plain loopback sockets, outside the socket table: a host that
// answers with chosen bytes, a client that writes a packet in pieces or never reads. Every wait is
// bounded (ten seconds), so a session that does not answer fails the test instead of hanging it.
#pragma once

#include <string>

#include "core/types.h"

// A listening socket on 127.0.0.1 at a port the system chooses (into `port`).
int RawListen(u16& port);
// The next connection, or -1 when none comes in time.
int RawAccept(int listening);
// A connection to 127.0.0.1:port; with `receiveBuffer` above 0, that small a receive buffer.
int RawConnect(u16 port, int receiveBuffer = 0);
bool WriteAll(int fd, const std::string& bytes);
// `count` bytes, or fewer when the peer closes or the wait runs out.
std::string ReadExactly(int fd, std::size_t count);
// One session packet: its header, then its payload and end byte.
std::string ReadWirePacket(int fd);
