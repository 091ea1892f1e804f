// The HTTP GET client over the socket layer.
#include "net/http_client.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "files/file_replace.h"
#include "files/memory_name.h"
#include "net/socket_table.h"

namespace {

constexpr u16 kDefaultHttpPort = 80;

u16 HttpPort(i32 port) {
  const u16 low = static_cast<u16>(port);
  return low != 0 ? low : kDefaultHttpPort;
}

// Finds the blank line that ends the header, across chunks: a line feed counts one line end, a
// carriage return leaves the count, any other byte starts a line; two line ends in a row end it.
class HeaderSkipper {
 public:
  // Where the body starts in this chunk: `count` when the header goes on past it.
  std::size_t BodyStart(const char* bytes, std::size_t count) {
    for (std::size_t i = 0; i < count && !inBody_; ++i) {
      if (bytes[i] == '\n') {
        inBody_ = ++lineEnds_ == 2;
        if (inBody_) return i + 1;
      } else if (bytes[i] != '\r') {
        lineEnds_ = 0;
      }
    }
    return inBody_ ? 0 : count;
  }

 private:
  int lineEnds_ = 0;
  bool inBody_ = false;
};

// Receives until the server closes, handing each body piece to `take`, which returns false to
// stop: 1 when the server closed, 0 on a receive error or when `take` stopped. A connection reset
// is an error: the body may have been cut anywhere.
template <class Take>
i32 ReceiveBody(i32 slot, Take&& take) {
  char chunk[kHttpBufferSize];
  HeaderSkipper header;
  for (;;) {
    const i32 received = SocketReceiveStrict(slot, chunk, kHttpChunkSize);
    if (received == 0) return 1;
    if (received < 0) return 0;
    const std::size_t count = static_cast<std::size_t>(received);
    const std::size_t start = header.BodyStart(chunk, count);
    if (start < count && !take(chunk + start, count - start)) return 0;
  }
}

// A request sent on a new blocking connection; the socket layer is held for exactly as long as
// the connection lives, and released on every path.
class HttpConnection {
 public:
  HttpConnection(const DynString& host, i32 port, const char* request, i32 length) {
    SocketSystemInit();
    NetAddress address;
    ResolveHost(&address, host.CStr(), HttpPort(port));
    slot_ = SocketConnect(&address);
    if (slot_ < 0) return;
    SocketSetBlocking(slot_, true);
    if (SocketSend(slot_, request, length, nullptr) <= 0) {
      SocketClose(slot_);
      slot_ = -1;
    }
  }
  ~HttpConnection() {
    if (slot_ >= 0) SocketClose(slot_);
    SocketSystemShutdown();
  }
  HttpConnection(const HttpConnection&) = delete;
  HttpConnection& operator=(const HttpConnection&) = delete;

  i32 slot() const { return slot_; }

 private:
  i32 slot_ = -1;
};

}  // namespace

i32 FormatHttpRequest(const char* host, const char* path, char (&request)[kHttpBufferSize]) {
  const int length = std::snprintf(
      request, sizeof request,
      "GET %s HTTP/1.0\r\nHost:%s\r\nAccept: */*\r\nUser-Agent: Morvane\r\n\r\n", path, host);
  return length > 0 && length < kHttpBufferSize ? length : 0;
}

i32 ReceiveHttpBodyToFile(i32 slot, std::FILE* file) {
  return ReceiveBody(slot, [file](const char* piece, std::size_t count) {
    return std::fwrite(piece, 1, count, file) == count;
  });
}

void ReceiveHttpBodyToText(i32 slot, DynString& out, i32 maxLength) {
  const std::size_t limit = static_cast<std::size_t>(std::max(maxLength, 0));
  std::string text;
  bool complete = limit == 0;  // the rest is received and dropped, so the server can finish
  ReceiveBody(slot, [&](const char* piece, std::size_t count) {
    if (complete) return true;
    const std::size_t take = std::min(count, limit - text.size());
    const void* zero = std::memchr(piece, '\0', take);
    text.append(piece, zero != nullptr ? static_cast<const char*>(zero) - piece : take);
    complete = zero != nullptr || text.size() == limit;
    return true;
  });
  out = DynString::FromBytes(text.data(), static_cast<u32>(text.size()));
}

i32 HttpGetToFile(const DynString& host, const DynString& path, i32 port, const DynString& file) {
  if (IsMemoryName(file.CStr())) return 0;  // memory files are read-only
  char request[kHttpBufferSize];
  const i32 length = FormatHttpRequest(host.CStr(), path.CStr(), request);
  if (length == 0) return 0;
  FileReplacement download(file.CStr());
  if (download.Stream() == nullptr) {
    std::printf("can't write to file: %s\n", file.CStr());
    return 0;
  }
  const HttpConnection connection(host, port, request, length);
  if (connection.slot() < 0) return 0;
  const bool complete = ReceiveHttpBodyToFile(connection.slot(), download.Stream()) == 1;
  return download.Commit(complete) ? 1 : 0;
}

DynString& HttpGetToString(DynString& out, const DynString& host, const DynString& path, i32 port,
                           i32 maxLength) {
  out.Reset();
  char request[kHttpBufferSize];
  const i32 length = FormatHttpRequest(host.CStr(), path.CStr(), request);
  if (length == 0) return out;
  const HttpConnection connection(host, port, request, length);
  if (connection.slot() >= 0) ReceiveHttpBodyToText(connection.slot(), out, maxLength);
  return out;
}
