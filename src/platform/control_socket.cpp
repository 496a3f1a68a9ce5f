#include "platform/control_socket.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/string_table.h"

namespace platform {

namespace {

constexpr int kMsgClientDropped = 66300;
constexpr int kMsgClientSilent = 66301;
constexpr int kMsgClientTooLong = 66302;
constexpr int kMsgClientNotJson = 66303;
constexpr int kMsgClientNotReading = 66304;

std::string withArgument(std::string_view pattern, std::string_view arg) {
  std::string text(pattern);
  if (auto at = text.find("%s"); at != std::string::npos) text.replace(at, 2, arg);
  return text;
}

Status socketError(const std::string& what, int err) {
  Errc kind = (err == EACCES || err == EPERM) ? Errc::kPermission : Errc::kIo;
  return Status(kind, what + ": " + std::strerror(err), err);
}

// The address of `path`. A socket address holds at most 107 bytes of path, and program
// directories can be deeper than that: a longer path is reached through the directory's
// descriptor in /proc, which the kernel resolves like the path itself.
class SocketAddress {
 public:
  explicit SocketAddress(const std::string& path) {
    std::string reach = path;
    if (path.size() >= sizeof addr_.sun_path) {
      const auto slash = path.rfind('/');
      const std::string dir = slash == std::string::npos ? "." : path.substr(0, slash);
      dirFd_ = ::open(dir.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
      if (dirFd_ < 0) return;
      reach = "/proc/self/fd/" + std::to_string(dirFd_) + "/" + path.substr(slash + 1);
    }
    if (reach.size() >= sizeof addr_.sun_path) return;
    addr_.sun_family = AF_UNIX;
    std::memcpy(addr_.sun_path, reach.data(), reach.size());
    valid_ = true;
  }
  ~SocketAddress() {
    if (dirFd_ >= 0) ::close(dirFd_);
  }
  SocketAddress(const SocketAddress&) = delete;
  SocketAddress& operator=(const SocketAddress&) = delete;

  bool valid() const { return valid_; }
  const sockaddr* get() const { return reinterpret_cast<const sockaddr*>(&addr_); }
  socklen_t size() const { return sizeof addr_; }

 private:
  sockaddr_un addr_{};
  int dirFd_ = -1;
  bool valid_ = false;
};

// Writes what the socket takes now; returns the count, or -1 when the peer is gone.
ssize_t writeSome(int fd, std::string_view bytes) {
  ssize_t n;
  do {
    n = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
  } while (n < 0 && errno == EINTR);
  if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return 0;
  return n;
}

}  // namespace

std::string encodeControlMessage(const nlohmann::json& message) {
  std::string text = message.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
  const auto n = static_cast<std::uint32_t>(text.size());
  std::string framed;
  framed.reserve(4 + text.size());
  for (int shift = 24; shift >= 0; shift -= 8)
    framed.push_back(static_cast<char>((n >> shift) & 0xFF));
  framed += text;
  return framed;
}

Result<std::optional<nlohmann::json>> ControlMessageReader::next() {
  if (pending_.size() < 4) return std::optional<nlohmann::json>();
  std::uint32_t n = 0;
  for (int i = 0; i < 4; ++i)
    n = (n << 8) | static_cast<unsigned char>(pending_[static_cast<std::size_t>(i)]);
  if (n > kMaxControlMessageBytes) {
    return Status::corrupt(withArgument(loadString(kMsgClientTooLong), std::to_string(n)));
  }
  if (pending_.size() < 4 + static_cast<std::size_t>(n)) return std::optional<nlohmann::json>();
  nlohmann::json message =
      nlohmann::json::parse(pending_.begin() + 4, pending_.begin() + 4 + n, nullptr, false);
  pending_.erase(0, 4 + static_cast<std::size_t>(n));
  if (message.is_discarded()) return Status::corrupt(loadString(kMsgClientNotJson));
  return std::optional<nlohmann::json>(std::move(message));
}

// --- Server ---

ControlServer::ControlServer(EventLoop& loop, int fd, std::string path, Handlers handlers,
                             std::chrono::milliseconds requestTimeout)
    : loop_(loop),
      fd_(fd),
      path_(std::move(path)),
      handlers_(std::move(handlers)),
      requestTimeout_(requestTimeout) {
  loop_.watchFd(fd_, false, [this](bool readable, bool) {
    if (readable) acceptClients();
  });
}

ControlServer::~ControlServer() {
  while (!clients_.empty()) forget(clients_.begin()->first);
  loop_.unwatch(fd_);
  ::close(fd_);
  ::unlink(path_.c_str());
}

Result<std::unique_ptr<ControlServer>> ControlServer::listen(
    EventLoop& loop, const std::string& path, Handlers handlers,
    std::chrono::milliseconds requestTimeout) {
  SocketAddress addr(path);
  if (!addr.valid()) return Status::badArgument(path + ": path too long for a socket");
  int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) return socketError(path, errno);
  // A socket file left by a program that was killed; the caller's lock says none runs.
  ::unlink(path.c_str());
  if (::bind(fd, addr.get(), addr.size()) != 0 || ::chmod(path.c_str(), 0660) != 0 ||
      ::listen(fd, 16) != 0) {
    int err = errno;
    ::close(fd);
    ::unlink(path.c_str());
    return socketError(path, err);
  }
  return std::unique_ptr<ControlServer>(
      new ControlServer(loop, fd, path, std::move(handlers), requestTimeout));
}

void ControlServer::acceptClients() {
  for (;;) {
    int fd = ::accept4(fd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) {
      if (errno == EINTR || errno == ECONNABORTED) continue;
      return;  // EAGAIN: no more waiting; anything else: try on the next pass
    }
    ClientId id = nextId_++;
    Client& c = clients_[id];
    c.fd = fd;
    c.deadline =
        loop_.addTimer(requestTimeout_, [this, id]() -> std::optional<std::chrono::milliseconds> {
          auto it = clients_.find(id);
          if (it != clients_.end()) {
            it->second.deadline.reset();
            drop(id, loadString(kMsgClientSilent));
          }
          return std::nullopt;
        });
    loop_.watchFd(fd, false, [this, id](bool readable, bool writable) {
      if (writable) flush(id);
      if (readable && clients_.count(id) != 0) readFrom(id);
    });
  }
}

void ControlServer::readFrom(ClientId id) {
  Client& c = clients_.at(id);
  char buf[4096];
  ssize_t n;
  do {
    n = ::recv(c.fd, buf, sizeof buf, MSG_DONTWAIT);
  } while (n < 0 && errno == EINTR);
  if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;
  if (n <= 0) {
    // The client closed its end: a follower has had enough, or a client gave up.
    forget(id);
    if (handlers_.gone) handlers_.gone(id);
    return;
  }
  // After its request a client only ever closes; anything more it sends is not read.
  if (c.answered) return;
  c.in.append(std::string_view(buf, static_cast<std::size_t>(n)));
  auto message = c.in.next();
  if (!message) {
    drop(id, message.status().message());
    return;
  }
  if (!*message) return;
  c.answered = true;
  if (c.deadline) loop_.removeTimer(*c.deadline);
  c.deadline.reset();
  if (handlers_.request) handlers_.request(id, **message);
}

bool ControlServer::send(ClientId id, const nlohmann::json& message) {
  auto it = clients_.find(id);
  if (it == clients_.end() || it->second.closing) return false;
  Client& c = it->second;
  c.out += encodeControlMessage(message);
  if (c.out.size() > kMaxControlBacklogBytes) {
    drop(id, loadString(kMsgClientNotReading));
    return false;
  }
  flush(id);
  return clients_.count(id) != 0;
}

void ControlServer::flush(ClientId id) {
  auto it = clients_.find(id);
  if (it == clients_.end()) return;
  Client& c = it->second;
  while (!c.out.empty()) {
    ssize_t n = writeSome(c.fd, c.out);
    if (n < 0) {
      forget(id);
      if (handlers_.gone) handlers_.gone(id);
      return;
    }
    if (n == 0) break;
    c.out.erase(0, static_cast<std::size_t>(n));
  }
  if (c.out.empty() && c.closing) {
    forget(id);
    return;
  }
  loop_.setWantWrite(c.fd, !c.out.empty());
}

void ControlServer::close(ClientId id) {
  auto it = clients_.find(id);
  if (it == clients_.end()) return;
  it->second.closing = true;
  flush(id);
}

void ControlServer::drop(ClientId id, const std::string& why) {
  if (handlers_.log) handlers_.log(withArgument(loadString(kMsgClientDropped), why));
  forget(id);
  if (handlers_.gone) handlers_.gone(id);
}

void ControlServer::forget(ClientId id) {
  auto it = clients_.find(id);
  if (it == clients_.end()) return;
  if (it->second.deadline) loop_.removeTimer(*it->second.deadline);
  loop_.unwatch(it->second.fd);
  ::close(it->second.fd);
  clients_.erase(it);
}

// --- Client ---

ControlClient::~ControlClient() { close(); }

ControlClient::ControlClient(ControlClient&& other) noexcept
    : fd_(other.fd_), in_(std::move(other.in_)) {
  other.fd_ = -1;
}

ControlClient& ControlClient::operator=(ControlClient&& other) noexcept {
  if (this != &other) {
    close();
    fd_ = other.fd_;
    in_ = std::move(other.in_);
    other.fd_ = -1;
  }
  return *this;
}

void ControlClient::close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

Result<ControlClient> ControlClient::connect(const std::string& path) {
  SocketAddress addr(path);
  if (!addr.valid()) return Status::notFound(path + ": path too long for a socket");
  int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return socketError(path, errno);
  int rc;
  do {
    rc = ::connect(fd, addr.get(), addr.size());
  } while (rc != 0 && errno == EINTR);
  if (rc != 0) {
    int err = errno;
    ::close(fd);
    if (err == ENOENT || err == ECONNREFUSED || err == ENOTSOCK) {
      return Status(Errc::kNotFound, path + ": " + std::strerror(err), err);
    }
    return socketError(path, err);
  }
  return ControlClient(fd);
}

Status ControlClient::send(const nlohmann::json& message) {
  const std::string bytes = encodeControlMessage(message);
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::send(fd_, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return socketError("control socket", errno);
    done += static_cast<std::size_t>(n);
  }
  return Status::ok();
}

Result<nlohmann::json> ControlClient::receive(std::chrono::milliseconds timeout) {
  const auto until = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    auto message = in_.next();
    if (!message) return message.status();
    if (*message) return std::move(**message);
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        until - std::chrono::steady_clock::now());
    if (left.count() <= 0) return Status::timeout("no answer from the running program");
    pollfd p{fd_, POLLIN, 0};
    int ready = ::poll(&p, 1, static_cast<int>(std::min<long long>(left.count(), 1 << 30)));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) continue;
    char buf[4096];
    ssize_t n = ::recv(fd_, buf, sizeof buf, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return Status::notFound("the running program closed the connection");
    in_.append(std::string_view(buf, static_cast<std::size_t>(n)));
  }
}

}  // namespace platform
