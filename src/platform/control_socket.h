#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

#include "platform/event_loop.h"
#include "platform/status.h"

namespace platform {

// The running program's control socket, in its program directory.
inline constexpr std::string_view kControlSocketFileName = "stratalog.sock";
// No message on the socket is larger: a request is a command line, an answer a few lines.
inline constexpr std::size_t kMaxControlMessageBytes = 1 << 20;
// How long a client may take to send its request once connected.
inline constexpr std::chrono::milliseconds kControlRequestTimeout{10000};
// Answers a client has not read yet beyond this are a client that stopped reading.
inline constexpr std::size_t kMaxControlBacklogBytes = 4 << 20;

// A message on the socket: its length in four bytes, most significant first, then the
// JSON text.
std::string encodeControlMessage(const nlohmann::json& message);

// Takes bytes as they arrive and hands back whole messages.
class ControlMessageReader {
 public:
  void append(std::string_view bytes) { pending_.append(bytes); }
  // The next whole message; nullopt while it is incomplete. kCorrupt for a length over
  // kMaxControlMessageBytes or a text that is not JSON (the stream cannot go on then).
  Result<std::optional<nlohmann::json>> next();
  bool midMessage() const { return !pending_.empty(); }

 private:
  std::string pending_;
};

// The server side, on the program's loop: accepts clients, reads one request from each,
// and lets the owner answer with any number of messages. Never blocks: answers are queued
// and written as the client reads them. A client that sends nothing whole within the
// request time-out, sends an over-long length or bad JSON, or stops reading is dropped,
// with one line to `log`.
class ControlServer {
 public:
  using ClientId = std::uint64_t;
  struct Handlers {
    // One request per client; the answer may come later.
    std::function<void(ClientId, const nlohmann::json& request)> request;
    // The client has gone (closed its end, or was dropped). Not called for close().
    std::function<void(ClientId)> gone;
    std::function<void(std::string_view line)> log;
  };

  ~ControlServer();
  ControlServer(const ControlServer&) = delete;
  ControlServer& operator=(const ControlServer&) = delete;

  // Listens on `path` with mode 0660. A file already there is replaced: the caller holds
  // the directory's lock, so no live program is serving it.
  static Result<std::unique_ptr<ControlServer>> listen(
      EventLoop& loop, const std::string& path, Handlers handlers,
      std::chrono::milliseconds requestTimeout = kControlRequestTimeout);

  // Queues one message; false when the client is no longer there.
  bool send(ClientId client, const nlohmann::json& message);
  // Closes the connection once what is queued has been written (or at once when the
  // client does not read).
  void close(ClientId client);
  bool connected(ClientId client) const { return clients_.count(client) != 0; }
  std::size_t clientCount() const { return clients_.size(); }
  const std::string& path() const { return path_; }

 private:
  struct Client {
    int fd = -1;
    ControlMessageReader in;
    std::string out;
    bool answered = false;  // the request came
    bool closing = false;
    std::optional<EventLoop::TimerId> deadline;
  };

  ControlServer(EventLoop& loop, int fd, std::string path, Handlers handlers,
                std::chrono::milliseconds requestTimeout);
  void acceptClients();
  void readFrom(ClientId id);
  void flush(ClientId id);
  void drop(ClientId id, const std::string& why);
  void forget(ClientId id);

  EventLoop& loop_;
  int fd_;
  std::string path_;
  Handlers handlers_;
  std::chrono::milliseconds requestTimeout_;
  std::map<ClientId, Client> clients_;
  ClientId nextId_ = 1;
};

// The client side, for a command run beside a program: blocking, each wait bounded.
class ControlClient {
 public:
  ~ControlClient();
  ControlClient(ControlClient&& other) noexcept;
  ControlClient& operator=(ControlClient&& other) noexcept;
  ControlClient(const ControlClient&) = delete;
  ControlClient& operator=(const ControlClient&) = delete;

  // kNotFound when nothing listens at `path` (no file, or a file a dead program left).
  static Result<ControlClient> connect(const std::string& path);
  Status send(const nlohmann::json& message);
  // The next message. kTimeout after `timeout` without one; kNotFound when the program
  // closed the connection.
  Result<nlohmann::json> receive(std::chrono::milliseconds timeout);
  // Ends the request: the program sees the client go.
  void close();
  // The descriptor, for tests that misbehave on purpose.
  int fd() const { return fd_; }

 private:
  explicit ControlClient(int fd) : fd_(fd) {}
  int fd_ = -1;
  ControlMessageReader in_;
};

}  // namespace platform
