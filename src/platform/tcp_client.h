#pragma once

// A TCP stream to a server named by host and port, for the short line-based exchanges of
// the publishing reports. Every wait is bounded: nothing here blocks longer than the limit
// the caller gives.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "platform/status.h"

namespace platform {

// Why a connection could not be made, in Status::code() of a failed connect.
inline constexpr int kTcpResolveFailed = 1;  // the host name has no address
inline constexpr int kTcpSocketFailed = 2;   // no socket could be created for any address
inline constexpr int kTcpConnectFailed = 3;  // every address refused or timed out

class TcpConnection {
 public:
  virtual ~TcpConnection() = default;
  // Sends every byte or fails (kIo); a peer that went away is a failure, never a signal.
  virtual Status send(std::span<const char> bytes) = 0;
  // Waits at most `limit` for bytes and returns how many were read into `into`. Zero bytes
  // with an OK result means the peer closed the stream; kTimeout when nothing came.
  virtual Result<std::size_t> receive(std::span<char> into, std::chrono::milliseconds limit) = 0;
};

class TcpClient {
 public:
  virtual ~TcpClient() = default;
  // Resolves `host` and tries each of its addresses in turn, each for at most `limit`.
  // Failures carry kTcpResolveFailed, kTcpSocketFailed or kTcpConnectFailed in their code.
  virtual Result<std::unique_ptr<TcpConnection>> connect(const std::string& host,
                                                         std::uint16_t port,
                                                         std::chrono::milliseconds limit) = 0;
};

// The system's sockets.
TcpClient& systemTcpClient();

}  // namespace platform
