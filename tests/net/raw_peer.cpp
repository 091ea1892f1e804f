// Plain loopback sockets for the peers that tests play.
#include "tests/net/raw_peer.h"

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include "core/byte_order.h"

namespace {

constexpr int kWaitMs = 10000;

sockaddr_in Loopback(u16 port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

bool Ready(int fd, short events) {
  pollfd entry{fd, events, 0};
  return poll(&entry, 1, kWaitMs) == 1;
}

}  // namespace

int RawListen(u16& port) {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address = Loopback(0);
  socklen_t size = sizeof address;
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), size) != 0 || listen(fd, 10) != 0) return -1;
  getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
  port = ntohs(address.sin_port);
  return fd;
}

int RawAccept(int listening) {
  return Ready(listening, POLLIN) ? accept(listening, nullptr, nullptr) : -1;
}

int RawConnect(u16 port, int receiveBuffer) {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  if (receiveBuffer > 0) {
    setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
  }
  const sockaddr_in address = Loopback(port);
  if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

bool WriteAll(int fd, const std::string& bytes) {
  for (std::size_t done = 0; done < bytes.size();) {
    const ssize_t n = send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

std::string ReadExactly(int fd, std::size_t count) {
  std::string bytes(count, '\0');
  std::size_t done = 0;
  while (done < count && Ready(fd, POLLIN)) {
    const ssize_t n = recv(fd, bytes.data() + done, count - done, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  bytes.resize(done);
  return bytes;
}

std::string ReadWirePacket(int fd) {
  std::string packet = ReadExactly(fd, 7);
  if (packet.size() < 7) return packet;
  const u16 payload = ReadLE16(reinterpret_cast<const u8*>(packet.data()) + 1);
  return packet + ReadExactly(fd, payload + 1u);
}
