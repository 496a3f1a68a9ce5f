#pragma once

// A TcpClient that keeps what was sent and answers from a script, with no network.

#include <cstddef>
#include <deque>
#include <memory>
#include <string>

#include "platform/tcp_client.h"

namespace platform {

class FakeTcpClient : public TcpClient {
 public:
  // What the next connection does. A connect failure code (kTcpResolveFailed, ...) makes
  // connect fail; `failSendAt` fails the n-th send (1-based; 0 never).
  int connectFailure = 0;
  int failSendAt = 0;
  // The chunks the server sends, one per receive; when they run out, `closeAfterReplies`
  // ends the stream, else receive times out.
  std::deque<std::string> replies;
  bool closeAfterReplies = false;

  // Everything sent on any connection, and where the last connection went.
  std::string sent;
  std::string host;
  std::uint16_t port = 0;
  int connections = 0;
  int receives = 0;

  Result<std::unique_ptr<TcpConnection>> connect(const std::string& host, std::uint16_t port,
                                                 std::chrono::milliseconds limit) override;
};

}  // namespace platform
