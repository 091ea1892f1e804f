// The program-facing socket commands: thin wrappers over the socket layer that take plain
// integers and texts. Slots are the layer's handles (-1 means failure); ports use their low 16
// bits; addresses cross as integers in host order (first octet in the most significant byte),
// except AcceptConnection's, whose first octet is in the least significant byte.
#pragma once

#include "core/dyn_string.h"
#include "core/types.h"

i32 SocketInitCommand();
void SocketShutdownCommand();
i32 SocketListenCommand(i32 port);
i32 SocketOpenUdpCommand(i32 port);
// 1 when the slot was closed cleanly, else 0.
i32 SocketCloseCommand(i32 slot);
// The host's address in host order; an empty name is this machine; -1 when it does not resolve.
i32 HostNameToIp(const DynString& host);
// A connected slot, or -1 when the name does not resolve or the connection fails.
i32 ConnectToHost(const DynString& host, i32 port);
// The new slot or -1; on success `ip` gets the peer's address, first octet in the least
// significant byte; on failure it is left alone.
i32 AcceptConnection(i32 listenSlot, u32& ip);
// The text's characters (without a terminating NUL); on a UDP slot, to `ip`:`port`.
i32 SocketSendString(i32 slot, const DynString& text);
i32 SocketSendStringTo(i32 slot, const DynString& text, i32 ip, i32 port);
// Receives at most n bytes (a negative n counts as 0) into `out`, which ends at the first zero
// byte; the receive's result, with `out` empty when it is below 0.
i32 SocketReceiveString(i32 slot, DynString& out, i32 n);
DynString IpToText(i32 ip);
// This machine's addresses outside 127.x.x.x, separated by "|"; empty when there are none.
DynString OwnIpAddressList();
DynString LastSocketErrorText();
