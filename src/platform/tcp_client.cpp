#include "platform/tcp_client.h"

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace platform {

namespace {

int pollOne(int fd, short events, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    pollfd p{fd, events, 0};
    const int n = ::poll(&p, 1, left.count() > 0 ? static_cast<int>(left.count()) : 0);
    if (n < 0 && errno == EINTR) continue;
    return n;
  }
}

class SocketConnection : public TcpConnection {
 public:
  explicit SocketConnection(int fd) : fd_(fd) {}
  ~SocketConnection() override { ::close(fd_); }
  SocketConnection(const SocketConnection&) = delete;
  SocketConnection& operator=(const SocketConnection&) = delete;

  Status send(std::span<const char> bytes) override {
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = ::send(fd_, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
        // A full send buffer drains within moments on a live link; a dead one gives up.
        if (pollOne(fd_, POLLOUT, std::chrono::seconds(10)) <= 0)
          return Status::io("send timed out", ETIMEDOUT);
        continue;
      }
      if (n < 0) return Status::io(std::strerror(errno), errno);
      done += static_cast<std::size_t>(n);
    }
    return Status::ok();
  }

  Result<std::size_t> receive(std::span<char> into, std::chrono::milliseconds limit) override {
    for (;;) {
      const int ready = pollOne(fd_, POLLIN, limit);
      if (ready < 0) return Status::io(std::strerror(errno), errno);
      if (ready == 0) return Status::timeout("no reply");
      const ssize_t n = ::recv(fd_, into.data(), into.size(), 0);
      if (n < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)) continue;
      if (n < 0) return Status::io(std::strerror(errno), errno);
      return static_cast<std::size_t>(n);
    }
  }

 private:
  int fd_;
};

// Connects a non-blocking socket within `limit`; the socket stays non-blocking.
bool connectWithin(int fd, const addrinfo& a, std::chrono::milliseconds limit) {
  if (::connect(fd, a.ai_addr, a.ai_addrlen) == 0) return true;
  if (errno != EINPROGRESS && errno != EINTR) return false;
  if (pollOne(fd, POLLOUT, limit) <= 0) return false;
  int err = 0;
  socklen_t len = sizeof err;
  return ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len) == 0 && err == 0;
}

class SystemTcpClient : public TcpClient {
 public:
  Result<std::unique_ptr<TcpConnection>> connect(const std::string& host, std::uint16_t port,
                                                 std::chrono::milliseconds limit) override {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const std::string service = std::to_string(port);
    if (int rc = ::getaddrinfo(host.c_str(), service.c_str(), &hints, &found); rc != 0)
      return Status(Errc::kNotFound, ::gai_strerror(rc), kTcpResolveFailed);
    bool anySocket = false;
    int lastErrno = 0;
    for (const addrinfo* a = found; a != nullptr; a = a->ai_next) {
      const int fd = ::socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK,
                              a->ai_protocol);
      if (fd < 0) {
        lastErrno = errno;
        continue;
      }
      anySocket = true;
      if (connectWithin(fd, *a, limit)) {
        ::freeaddrinfo(found);
        return std::unique_ptr<TcpConnection>(std::make_unique<SocketConnection>(fd));
      }
      lastErrno = errno;
      ::close(fd);
    }
    ::freeaddrinfo(found);
    if (!anySocket) return Status(Errc::kIo, std::strerror(lastErrno), kTcpSocketFailed);
    return Status(Errc::kIo, "connect failed", kTcpConnectFailed);
  }
};

}  // namespace

TcpClient& systemTcpClient() {
  static SystemTcpClient client;
  return client;
}

}  // namespace platform
