#pragma once

// The FTP part of an upload run: the session with its login messages, remote directories
// relative to the login directory, and one transfer per line with its retry and time limit.

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/clock.h"
#include "platform/ftp_client.h"
#include "platform/status.h"
#include "publish/inet_config.h"
#include "publish/upload_list.h"

namespace publish {

// A put that takes longer cancels the rest of the FTP phase.
inline constexpr std::chrono::milliseconds kPutTimeLimit{900'000};

class FtpPhase {
 public:
  using Log = std::function<void(std::string_view text, std::string_view source)>;

  FtpPhase(platform::FtpConnector& connector, platform::Clock& clock, const InetConfig& config,
           Log log);

  // Opens the session and goes to the FTP path. Every failure is logged; false when there
  // is no session (errors to flag). A refused FTP path is logged and flagged but keeps the
  // session. `cancelled` is set when a termination signal cut the login short.
  bool open(bool& errors, bool& cancelled);

  enum class LineResult { kNext, kEndPhase, kCancelled };
  // Sends one line: set its directory, put its file; on failure reconnect and try once
  // more. Failures are logged and set `errors`.
  LineResult transfer(const UploadLine& line, bool& errors);

  void close() { session_.reset(); }
  bool isOpen() const { return session_ != nullptr; }

  // Goes to `dir` below the login directory, creating every missing level; a refused
  // creation counts when the directory can be entered afterwards.
  platform::Status setDirectory(std::string_view dir);

 private:
  platform::Status put(const UploadLine& line, std::chrono::milliseconds& took);
  void logFtp(const std::string& text);
  void logReply(const platform::Status& s);

  platform::FtpConnector& connector_;
  platform::Clock& clock_;
  const InetConfig& config_;
  Log log_;
  std::unique_ptr<platform::FtpSession> session_;
};

}  // namespace publish
