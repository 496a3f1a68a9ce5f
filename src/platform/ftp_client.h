#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/status.h"

namespace platform {

// The error number of a failure the server explained with an error reply: the reply is
// then in the Status message.
inline constexpr int kFtpServerReplyError = 12003;

// How the internet is reached, as the internet configuration stores it.
inline constexpr std::uint16_t kFtpAccessDirect = 0;
inline constexpr std::uint16_t kFtpAccessProxy = 1;
inline constexpr std::uint16_t kFtpAccessSystem = 2;  // the usual proxy environment variables

struct FtpLogin {
  std::string host;
  std::string user;
  std::string password;  // never logged, never put in a URL
  std::uint16_t port = 21;
  bool passive = false;
  std::uint16_t access = kFtpAccessSystem;
  std::string proxy;  // with kFtpAccessProxy
};

// No call waits longer than these.
struct FtpLimits {
  std::chrono::milliseconds connect{30'000};  // the connection and the server's greeting
  std::chrono::milliseconds reply{60'000};    // any one reply of the server
  std::chrono::milliseconds stall{120'000};   // a transfer moving no data
  // One whole put: a second beyond the 15 minutes after which a run gives up its FTP
  // phase, so a put cut off here always measures as too long.
  std::chrono::milliseconds put{15 * 60'000 + 1'000};
};

// One logged-in FTP session. Paths are absolute on the server; names and paths may hold
// any byte but CR, LF and NUL (blanks, "#", ";" and "%" arrive as written).
class FtpSession {
 public:
  virtual ~FtpSession() = default;
  // The server's current directory right after the login.
  virtual const std::string& loginDirectory() const = 0;
  // Failures: a refusal with code kFtpServerReplyError and the server's reply as the
  // message; otherwise the library's error number as the code (kTimeout, kIo, kCorrupt,
  // or kCancelled).
  virtual Status changeDirectory(const std::string& path) = 0;
  virtual Status makeDirectory(const std::string& path) = 0;
  // Stores the local file under `name` in the current directory, in binary.
  virtual Status putFile(const std::string& localPath, const std::string& name) = 0;
};

// Opens sessions. Failures of open, by kind: kBadArgument an access type it does not
// know; kUnsupported the library could not be started; kNotFound the host is unknown;
// kPermission the login was refused; kTimeout or kIo the server could not be reached;
// kCancelled; kCorrupt anything else. The code is the library's error number.
class FtpConnector {
 public:
  virtual ~FtpConnector() = default;
  virtual Result<std::unique_ptr<FtpSession>> open(const FtpLogin& login) = 0;
};

// Sessions over libcurl. `cancelled` is asked during every call; true aborts it with
// kCancelled (a termination signal during a transfer). May be empty.
std::unique_ptr<FtpConnector> makeCurlFtpConnector(FtpLimits limits,
                                                   std::function<bool()> cancelled);

}  // namespace platform
