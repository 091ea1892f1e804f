// The HTTP GET client against a scripted loopback server (exact bytes, split into pieces) and
// against a real one, busybox's httpd, started on a free loopback port over a served folder.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "net/http_client.h"
#include "net/socket_table.h"
#include "tests/support/test_support.h"

namespace {

const DynString kHost("127.0.0.1");
constexpr const char* kBusybox = "/bin/busybox";

int LoopbackListener(int& port) {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
  socklen_t size = sizeof address;
  bind(fd, reinterpret_cast<sockaddr*>(&address), size);
  listen(fd, 8);
  getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
  port = ntohs(address.sin_port);
  return fd;
}

// Answers `connections` connections in turn: reads the request, sends the pieces with a short
// pause between them (so they tend to arrive apart) and closes. Every wait is bounded.
class ScriptedServer {
 public:
  ScriptedServer(std::vector<std::string> pieces, int connections) : pieces_(std::move(pieces)) {
    listener_ = LoopbackListener(port_);
    thread_ = std::thread([this, connections] {
      for (int i = 0; i < connections; ++i) Serve();
    });
  }
  ~ScriptedServer() {
    thread_.join();
    close(listener_);
  }
  int port() const { return port_; }
  bool Pending() {  // a connection nobody served: the client connected when it should not have
    pollfd entry{listener_, POLLIN, 0};
    return poll(&entry, 1, 0) == 1;
  }
  std::vector<std::string> requests;

 private:
  void Serve() {
    pollfd entry{listener_, POLLIN, 0};
    if (poll(&entry, 1, 20000) != 1) return;
    const int fd = accept(listener_, nullptr, nullptr);
    const timeval limit{20, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    std::string request;
    char buffer[512];
    for (ssize_t n; request.find("\r\n\r\n") == std::string::npos &&
                    (n = recv(fd, buffer, sizeof buffer, 0)) > 0;) {
      request.append(buffer, static_cast<std::size_t>(n));
    }
    requests.push_back(request);
    for (const std::string& piece : pieces_) {
      send(fd, piece.data(), piece.size(), MSG_NOSIGNAL);
      usleep(3000);
    }
    close(fd);
  }
  std::vector<std::string> pieces_;
  int listener_ = -1, port_ = 0;
  std::thread thread_;
};

// busybox's httpd in the foreground on a free loopback port, stopped at scope end.
class BusyboxHttpd {
 public:
  explicit BusyboxHttpd(const std::string& folder) {
    for (int attempt = 0; attempt < 5 && pid_ <= 0; ++attempt) Start(folder);
  }
  ~BusyboxHttpd() {
    if (pid_ > 0) kill(pid_, SIGTERM), waitpid(pid_, nullptr, 0);
  }
  int port() const { return pid_ > 0 ? port_ : -1; }

 private:
  void Start(const std::string& folder) {
    close(LoopbackListener(port_));  // a port that was free a moment ago
    const std::string where = "127.0.0.1:" + std::to_string(port_);
    const pid_t pid = fork();
    if (pid == 0) {
      dup2(open("/dev/null", O_WRONLY), STDERR_FILENO);
      execl(kBusybox, "busybox", "httpd", "-f", "-p", where.c_str(), "-h", folder.c_str(), nullptr);
      _exit(127);
    }
    for (int i = 0; i < 500 && waitpid(pid, nullptr, WNOHANG) == 0; ++i) {
      const int probe = socket(AF_INET, SOCK_STREAM, 0);
      sockaddr_in address{AF_INET, htons(static_cast<u16>(port_)), {htonl(INADDR_LOOPBACK)}, {}};
      const bool up = connect(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
      close(probe);
      if (up) {
        pid_ = pid;
        return;
      }
      usleep(10000);
    }
    kill(pid, SIGKILL), waitpid(pid, nullptr, 0);  // it could not start: try another port
  }
  pid_t pid_ = -1;
  int port_ = 0;
};

class HttpClientTest : public testing::Test {
 protected:
  void SetUp() override { socketTable.initCount = 0; }
  void TearDown() override { socketTable.settings = SocketSettings{}; }
  std::size_t FilesInFolder() {
    auto entries = std::filesystem::directory_iterator(folder_.path());
    return static_cast<std::size_t>(std::distance(entries, std::filesystem::directory_iterator{}));
  }
  ScopedTempDir folder_;
  const std::string target_ = folder_.File("page.bin");
};

TEST_F(HttpClientTest, ScriptedResponses) {
  const std::string longHeader = "HTTP/1.0 200 OK\r\nX: " + std::string(999, 'x') + "\r\n\r\n";
  const std::string zero("ab\0cd", 5);
  const struct {
    std::vector<std::string> pieces;
    std::string body, text;  // the text with at most 10 bytes
  } cases[] = {
      {{longHeader + "BODY"}, "BODY", "BODY"},  // the header fills the first 1023-byte chunk
      {{"HTTP/1.0 200 OK\nA: b\n\nhello"}, "hello", "hello"},
      {{"HTTP/1.0 200 OK\r\nA: b\r", "\n\r", "\nbo", "dy"}, "body", "body"},
      {{"\r\n\r\n", zero}, zero, "ab"},
      {{"HTTP/1.0 200 OK\r\nX: y\r\n"}, "", ""},  // no blank line: no body
      {{"\n\n0123456789AB", "CDEFG"}, "0123456789ABCDEFG", "0123456789"},
      {{}, "", ""},  // closed before answering
  };
  for (const auto& c : cases) {
    ScriptedServer server(c.pieces, 2);
    EXPECT_EQ(1, HttpGetToFile(kHost, DynString("/a b"), server.port(), DynString(target_.c_str())));
    EXPECT_EQ(c.body, ReadFileBytes(target_)) << c.body;
    DynString text("old");
    EXPECT_EQ(c.text, std::string(HttpGetToString(text, kHost, DynString("/"), server.port(), 10).CStr()));
    EXPECT_EQ("GET /a b HTTP/1.0\r\nHost:127.0.0.1\r\nAccept: */*\r\nUser-Agent: Morvane\r\n\r\n",
              server.requests.at(0));
  }
  EXPECT_EQ(0u, socketTable.initCount);
  EXPECT_EQ(1u, FilesInFolder());
}

TEST_F(HttpClientTest, FailuresKeepTheOldCopy) {
  ASSERT_TRUE(WriteFileBytes(target_, "old copy"));
  const DynString target(target_.c_str());
  DynString text("stale");
  int closedPort = 0;
  close(LoopbackListener(closedPort));
  EXPECT_EQ(0, HttpGetToFile(kHost, DynString("/"), closedPort, target));  // refused
  socketTable.settings.lookup = [](const char*, std::vector<u32>&) { return ENXIO; };
  EXPECT_EQ(0, HttpGetToFile(DynString("nowhere"), DynString("/"), closedPort, target));
  EXPECT_EQ(0u, HttpGetToString(text, DynString("nowhere"), DynString("/"), 80, 10).Length());
  socketTable.settings.lookup = PlatformHostLookup;
  {
    ScriptedServer server({"\n\n" + std::string(5000, 'b')}, 3);
    // Path and host fill the 1024-byte request exactly, then by one byte too many.
    EXPECT_EQ(0, HttpGetToString(text, kHost, DynString(std::string(957, 'p').c_str()), server.port(), 9).Length());
    EXPECT_FALSE(server.Pending());
    EXPECT_EQ(0, HttpGetToFile(kHost, DynString("/"), server.port(), DynString("mem://10.20")));
    EXPECT_FALSE(server.Pending());
    EXPECT_EQ(9u, HttpGetToString(text, kHost, DynString(std::string(956, 'p').c_str()), server.port(), 9).Length());
    EXPECT_EQ(1023u, server.requests.at(0).size());
    EXPECT_EQ(0u, HttpGetToString(text, kHost, DynString("/"), server.port(), -1).Length());
    const ChildResult child = RunInChild([&] {  // the disk fills up during the transfer
      const rlimit small{1000, 1000};
      setrlimit(RLIMIT_FSIZE, &small);
      signal(SIGXFSZ, SIG_IGN);
      alarm(30);  // a client the server never answers must not outlive the test
      std::printf("%d", HttpGetToFile(kHost, DynString("/"), server.port(), target));
    });
    EXPECT_EQ("0", child.output);
  }
  EXPECT_EQ("old copy", ReadFileBytes(target_));
  EXPECT_EQ(1u, FilesInFolder());  // no download left behind
}

TEST_F(HttpClientTest, RealServer) {
  ASSERT_EQ(0, access(kBusybox, X_OK)) << kBusybox << " is missing: tools/deps.sh installs busybox";
  ScopedTempDir served;
  std::string big(3 << 20, '\0');
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7 + i / 1023);
  ASSERT_TRUE(WriteFileBytes(served.File("big.bin"), big));
  ASSERT_TRUE(WriteFileBytes(served.File("page.txt"), std::string("hello\0world", 11)));
  const BusyboxHttpd server(served.path());
  ASSERT_GT(server.port(), 0) << "busybox httpd did not start";
  const DynString host("localhost"), target(target_.c_str());
  EXPECT_EQ(1, HttpGetToFile(host, DynString("/big.bin"), server.port(), target));
  EXPECT_TRUE(big == ReadFileBytes(target_));
  DynString text;
  EXPECT_STREQ("hello", HttpGetToString(text, host, DynString("/page.txt"), server.port(), 100).CStr());
  EXPECT_STREQ("hel", HttpGetToString(text, host, DynString("/page.txt"), server.port(), 3).CStr());
  EXPECT_EQ(1, HttpGetToFile(host, DynString("/missing"), server.port(), target));  // any status
  EXPECT_NE(std::string::npos, ReadFileBytes(target_).find("404"));
}

}  // namespace
