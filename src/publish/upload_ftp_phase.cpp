#include "publish/upload_ftp_phase.h"

#include "platform/string_table.h"
#include "publish/upload_text.h"

namespace publish {

namespace {

bool isReply(const platform::Status& s) { return s.code() == platform::kFtpServerReplyError; }

bool tooLong(std::chrono::milliseconds took) { return took > kPutTimeLimit; }

}  // namespace

FtpPhase::FtpPhase(platform::FtpConnector& connector, platform::Clock& clock,
                   const InetConfig& config, Log log)
    : connector_(connector), clock_(clock), config_(config), log_(std::move(log)) {}

void FtpPhase::logFtp(const std::string& text) {
  log_(text, platform::loadString(msg::kTitleFtp));
}

void FtpPhase::logReply(const platform::Status& s) { logFtp(replyForLog(s.message())); }

bool FtpPhase::open(bool& errors, bool& cancelled) {
  session_.reset();
  const std::uint16_t access = config_.accessType();
  if (access > platform::kFtpAccessSystem) {
    logFtp(message(msg::kBadAccessType));
    errors = true;
    return false;
  }
  platform::FtpLogin login;
  login.host = config_.ftpHost();
  login.user = config_.ftpUser();
  login.password = config_.ftpPassword();
  login.port = config_.ftpPort();
  login.passive = config_.passiveFtp();
  login.access = access;
  login.proxy = config_.proxyServer();
  auto opened = connector_.open(login);
  if (!opened) {
    const platform::Status& s = opened.status();
    errors = true;
    const std::string code = std::to_string(s.code());
    switch (s.kind()) {
      case platform::Errc::kCancelled:
        cancelled = true;
        return false;
      case platform::Errc::kUnsupported:
        logFtp(message(msg::kInternetOpenFailed, {code}));
        break;
      case platform::Errc::kNotFound:
        logFtp(message(msg::kHostNotFound, {login.host}));
        break;
      case platform::Errc::kPermission:
        // The library cannot tell a wrong user name from a wrong password.
        logFtp(message(msg::kLoginRefused, {login.host, login.user}));
        break;
      case platform::Errc::kIo:
      case platform::Errc::kTimeout:
        logFtp(message(msg::kCannotConnect, {login.host, login.user}));
        break;
      default:
        logFtp(message(msg::kConnectError, {code}));
        break;
    }
    return false;
  }
  session_ = std::move(*opened);
  const std::string path = config_.ftpPath();
  if (!path.empty()) {
    if (platform::Status s = setDirectory(path); !s) {
      if (s.kind() == platform::Errc::kCancelled) {
        cancelled = true;
        return false;
      }
      if (isReply(s)) logReply(s);
      logFtp(message(msg::kFtpPathFailed, {path}));
      errors = true;
    }
  }
  return true;
}

platform::Status FtpPhase::setDirectory(std::string_view dir) {
  const std::string& root = session_->loginDirectory();
  const std::string target = remoteTarget(root, dir);
  if (platform::Status s = session_->changeDirectory(target); s) return s;
  for (const std::string& level : remoteLevels(root, dir)) {
    platform::Status made = session_->makeDirectory(level);
    if (made.kind() == platform::Errc::kCancelled) return made;
    // Servers word "it exists already" in many ways, or not at all: the level is there
    // when it can be entered.
    if (!made) {
      if (platform::Status in = session_->changeDirectory(level); !in) return made;
    }
  }
  return session_->changeDirectory(target);
}

platform::Status FtpPhase::put(const UploadLine& line, std::chrono::milliseconds& took) {
  const platform::Instant start = clock_.now();
  platform::Status s = setDirectory(line.remoteDir);
  if (s) s = session_->putFile(line.source, line.name);
  took = std::chrono::duration_cast<std::chrono::milliseconds>(clock_.now() - start);
  return s;
}

FtpPhase::LineResult FtpPhase::transfer(const UploadLine& line, bool& errors) {
  std::chrono::milliseconds took{0};
  const platform::Status first = put(line, took);
  if (first.kind() == platform::Errc::kCancelled) return LineResult::kCancelled;
  auto endTooLong = [&](const platform::Status& s) {
    errors = true;
    if (s) {
      logFtp(message(msg::kPutTooLong, {line.name, line.remoteDir}));
    } else if (isReply(s)) {
      logReply(s);
      logFtp(message(msg::kPutReplyTooLong, {line.name, line.remoteDir}));
    } else {
      logFtp(message(msg::kPutErrorTooLong, {std::to_string(s.code()), line.name, line.remoteDir}));
    }
    return LineResult::kEndPhase;
  };
  if (tooLong(took)) return endTooLong(first);
  if (first) return LineResult::kNext;

  errors = true;
  if (isReply(first)) {
    logReply(first);
    logFtp(message(msg::kPutReplyRetry, {line.name, line.remoteDir}));
  } else {
    logFtp(message(msg::kPutErrorRetry, {std::to_string(first.code()), line.name, line.remoteDir}));
  }
  bool cancelled = false;
  if (!open(errors, cancelled)) return cancelled ? LineResult::kCancelled : LineResult::kEndPhase;
  const platform::Status second = put(line, took);
  if (second.kind() == platform::Errc::kCancelled) return LineResult::kCancelled;
  if (tooLong(took)) return endTooLong(second);
  if (second) return LineResult::kNext;
  if (isReply(second)) {
    logReply(second);
    logFtp(message(msg::kPutReplyGiveUp, {line.name, line.remoteDir}));
  } else {
    logFtp(message(msg::kPutErrorGiveUp, {std::to_string(first.code()), line.name, line.remoteDir}));
  }
  return LineResult::kEndPhase;
}

}  // namespace publish
