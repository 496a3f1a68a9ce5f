#include "platform/ftp_client.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstdio>
#include <mutex>
#include <string_view>
#include <vector>

namespace platform {

namespace {

constexpr std::string_view kAgentName = "Stratalog";

void initLibraryOnce() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

bool holdsLineBreak(std::string_view s) { return s.find_first_of(std::string_view("\r\n\0", 3)) != s.npos; }

long wholeSeconds(std::chrono::milliseconds ms) {
  return static_cast<long>(std::max<std::int64_t>(1, (ms.count() + 999) / 1000));
}

// A file to upload, read through the library's read callback.
struct Upload {
  std::FILE* file = nullptr;
};

std::size_t readUpload(char* buffer, std::size_t size, std::size_t count, void* user) {
  auto* up = static_cast<Upload*>(user);
  const std::size_t n = std::fread(buffer, 1, size * count, up->file);
  if (n == 0 && std::ferror(up->file)) return CURL_READFUNC_ABORT;
  return n;
}

class CurlSession : public FtpSession {
 public:
  CurlSession(CURL* handle, CURLM* multi, FtpLimits limits, std::function<bool()> cancelled)
      : h_(handle), multi_(multi), limits_(limits), cancelled_(std::move(cancelled)) {}
  ~CurlSession() override {
    // The control connection lives in the multi handle's cache: it goes (with a QUIT)
    // when the multi handle does.
    curl_multi_cleanup(multi_);
    curl_easy_cleanup(h_);
  }
  CurlSession(const CurlSession&) = delete;
  CurlSession& operator=(const CurlSession&) = delete;

  Status login(const FtpLogin& login);

  const std::string& loginDirectory() const override { return root_; }
  Status changeDirectory(const std::string& path) override;
  Status makeDirectory(const std::string& path) override;
  Status putFile(const std::string& localPath, const std::string& name) override;

 private:
  static std::size_t onReplyLine(char* data, std::size_t size, std::size_t count, void* user);
  static int onProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t);
  Status command(const std::string& line);
  Status perform();
  CURLcode transfer();
  std::string urlFor(const std::string& absolutePath) const;

  CURL* h_;
  CURLM* multi_;
  FtpLimits limits_;
  std::function<bool()> cancelled_;
  std::string base_;
  std::string root_;
  std::string cwd_;
  std::string lastReply_;
  char errorText_[CURL_ERROR_SIZE] = {};
};

std::size_t CurlSession::onReplyLine(char* data, std::size_t size, std::size_t count, void* user) {
  auto* self = static_cast<CurlSession*>(user);
  std::string_view line(data, size * count);
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  if (!line.empty()) self->lastReply_.assign(line);
  return size * count;
}

int CurlSession::onProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  auto* self = static_cast<CurlSession*>(user);
  return (self->cancelled_ && self->cancelled_()) ? 1 : 0;
}

// The library's own blocking call sleeps up to a second at a time between its steps, and
// on some steps (the connection of a passive data channel) nothing wakes it early; driving
// the steps here with short waits keeps every put as fast as the network allows.
CURLcode CurlSession::transfer() {
  constexpr int kStepWaitMs = 5;
  if (curl_multi_add_handle(multi_, h_) != CURLM_OK) return CURLE_FAILED_INIT;
  int running = 1;
  while (running != 0) {
    if (curl_multi_perform(multi_, &running) != CURLM_OK) break;
    if (running != 0 && curl_multi_poll(multi_, nullptr, 0, kStepWaitMs, nullptr) != CURLM_OK) break;
  }
  CURLcode rc = CURLE_FAILED_INIT;
  int left = 0;
  while (CURLMsg* m = curl_multi_info_read(multi_, &left)) {
    if (m->msg == CURLMSG_DONE && m->easy_handle == h_) rc = m->data.result;
  }
  curl_multi_remove_handle(multi_, h_);
  return rc;
}

Status CurlSession::perform() {
  errorText_[0] = '\0';
  lastReply_.clear();
  const CURLcode rc = transfer();
  if (rc == CURLE_OK) return Status::ok();
  long reply = 0;
  curl_easy_getinfo(h_, CURLINFO_RESPONSE_CODE, &reply);
  const int code = static_cast<int>(rc);
  std::string why = errorText_[0] != '\0' ? errorText_ : curl_easy_strerror(rc);
  switch (rc) {
    case CURLE_ABORTED_BY_CALLBACK:
      return Status::cancelled(why);
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
      return {Errc::kNotFound, why, code};
    case CURLE_LOGIN_DENIED:
      return {Errc::kPermission, lastReply_.empty() ? why : lastReply_, code};
    case CURLE_OPERATION_TIMEDOUT:
      return {Errc::kTimeout, why, code};
    case CURLE_COULDNT_CONNECT:
      return {Errc::kIo, why, code};
    default:
      break;
  }
  if (reply >= 400 && !lastReply_.empty()) {
    return {Errc::kIo, lastReply_, kFtpServerReplyError};
  }
  return {Errc::kCorrupt, why, code};
}

std::string CurlSession::urlFor(const std::string& absolutePath) const {
  // Every piece is escaped, so the library sends the bytes as written and never reads a
  // ";type=" or a "#" of a file name as its own.
  std::string url = base_ + "%2F";
  std::size_t start = 0;
  bool first = true;
  while (start <= absolutePath.size()) {
    std::size_t end = absolutePath.find('/', start);
    if (end == std::string::npos) end = absolutePath.size();
    const std::string piece = absolutePath.substr(start, end - start);
    if (!piece.empty()) {
      char* escaped = curl_easy_escape(h_, piece.data(), static_cast<int>(piece.size()));
      if (!first) url += '/';
      url += escaped != nullptr ? escaped : "";
      curl_free(escaped);
      first = false;
    }
    start = end + 1;
  }
  return url;
}

Status CurlSession::login(const FtpLogin& login) {
  std::string host = login.host;
  if (host.empty() || host.find_first_of("/@?# \t\r\n") != std::string::npos) {
    return {Errc::kNotFound, "bad host name", static_cast<int>(CURLE_COULDNT_RESOLVE_HOST)};
  }
  if (host.find(':') != std::string::npos && host.front() != '[') host = "[" + host + "]";
  base_ = "ftp://" + host + ":" + std::to_string(login.port) + "/";

  curl_easy_setopt(h_, CURLOPT_ERRORBUFFER, errorText_);
  curl_easy_setopt(h_, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(h_, CURLOPT_USERAGENT, std::string(kAgentName).c_str());
  curl_easy_setopt(h_, CURLOPT_USERNAME, login.user.c_str());
  curl_easy_setopt(h_, CURLOPT_PASSWORD, login.password.c_str());
  curl_easy_setopt(h_, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(limits_.connect.count()));
  curl_easy_setopt(h_, CURLOPT_SERVER_RESPONSE_TIMEOUT, wholeSeconds(limits_.reply));
  curl_easy_setopt(h_, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(h_, CURLOPT_LOW_SPEED_TIME, wholeSeconds(limits_.stall));
  curl_easy_setopt(h_, CURLOPT_FTP_FILEMETHOD, static_cast<long>(CURLFTPMETHOD_NOCWD));
  if (login.passive) {
    // Plain PASV, as every server knows it; the address in its reply is ignored (the
    // library's default), so a server behind NAT still works.
    curl_easy_setopt(h_, CURLOPT_FTP_USE_EPSV, 0L);
  } else {
    curl_easy_setopt(h_, CURLOPT_FTPPORT, "-");
  }
  curl_easy_setopt(h_, CURLOPT_HEADERFUNCTION, &CurlSession::onReplyLine);
  curl_easy_setopt(h_, CURLOPT_HEADERDATA, this);
  curl_easy_setopt(h_, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(h_, CURLOPT_XFERINFOFUNCTION, &CurlSession::onProgress);
  curl_easy_setopt(h_, CURLOPT_XFERINFODATA, this);
  switch (login.access) {
    case kFtpAccessDirect:
      curl_easy_setopt(h_, CURLOPT_PROXY, "");
      break;
    case kFtpAccessProxy:
      curl_easy_setopt(h_, CURLOPT_PROXY, login.proxy.c_str());
      curl_easy_setopt(h_, CURLOPT_HTTPPROXYTUNNEL, 1L);
      break;
    case kFtpAccessSystem:
      // The library reads ftp_proxy, all_proxy and no_proxy itself; a proxy found there
      // must carry the control connection, not speak FTP over HTTP.
      curl_easy_setopt(h_, CURLOPT_HTTPPROXYTUNNEL, 1L);
      break;
    default:
      return Status::badArgument("access type " + std::to_string(login.access));
  }
  curl_easy_setopt(h_, CURLOPT_URL, base_.c_str());
  curl_easy_setopt(h_, CURLOPT_NOBODY, 1L);
  if (Status s = perform(); !s) return s;
  char* entry = nullptr;
  curl_easy_getinfo(h_, CURLINFO_FTP_ENTRY_PATH, &entry);
  root_ = entry != nullptr ? std::string(entry) : std::string("/");
  if (root_.size() > 259) root_.resize(259);
  if (root_.empty() || root_.front() != '/') root_ = "/" + root_;
  cwd_ = root_;
  return Status::ok();
}

Status CurlSession::command(const std::string& line) {
  curl_slist* quote = curl_slist_append(nullptr, line.c_str());
  curl_easy_setopt(h_, CURLOPT_URL, base_.c_str());
  curl_easy_setopt(h_, CURLOPT_UPLOAD, 0L);
  curl_easy_setopt(h_, CURLOPT_NOBODY, 1L);
  curl_easy_setopt(h_, CURLOPT_TIMEOUT_MS, 0L);
  curl_easy_setopt(h_, CURLOPT_QUOTE, quote);
  Status s = perform();
  curl_easy_setopt(h_, CURLOPT_QUOTE, nullptr);
  curl_slist_free_all(quote);
  return s;
}

Status CurlSession::changeDirectory(const std::string& path) {
  if (holdsLineBreak(path)) return Status::badArgument("line break in a remote path");
  if (path == cwd_) return Status::ok();
  Status s = command("CWD " + path);
  if (s) cwd_ = path;
  return s;
}

Status CurlSession::makeDirectory(const std::string& path) {
  if (holdsLineBreak(path)) return Status::badArgument("line break in a remote path");
  return command("MKD " + path);
}

Status CurlSession::putFile(const std::string& localPath, const std::string& name) {
  if (holdsLineBreak(name) || name.empty()) return Status::badArgument("bad remote file name");
  Upload up;
  up.file = std::fopen(localPath.c_str(), "rb");
  if (up.file == nullptr) return Status::notFound(localPath);
  std::fseek(up.file, 0, SEEK_END);
  const long size = std::ftell(up.file);
  std::fseek(up.file, 0, SEEK_SET);
  const std::string target = cwd_ == "/" ? "/" + name : cwd_ + "/" + name;
  const std::string url = urlFor(target);
  curl_easy_setopt(h_, CURLOPT_URL, url.c_str());
  curl_easy_setopt(h_, CURLOPT_NOBODY, 0L);
  curl_easy_setopt(h_, CURLOPT_UPLOAD, 1L);
  curl_easy_setopt(h_, CURLOPT_READFUNCTION, &readUpload);
  curl_easy_setopt(h_, CURLOPT_READDATA, &up);
  curl_easy_setopt(h_, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(size < 0 ? 0 : size));
  curl_easy_setopt(h_, CURLOPT_TIMEOUT_MS, static_cast<long>(limits_.put.count()));
  Status s = perform();
  curl_easy_setopt(h_, CURLOPT_UPLOAD, 0L);
  curl_easy_setopt(h_, CURLOPT_READDATA, nullptr);
  std::fclose(up.file);
  return s;
}

class CurlConnector : public FtpConnector {
 public:
  CurlConnector(FtpLimits limits, std::function<bool()> cancelled)
      : limits_(limits), cancelled_(std::move(cancelled)) {}

  Result<std::unique_ptr<FtpSession>> open(const FtpLogin& login) override {
    initLibraryOnce();
    CURL* h = curl_easy_init();
    CURLM* multi = curl_multi_init();
    if (h == nullptr || multi == nullptr) {
      if (multi != nullptr) curl_multi_cleanup(multi);
      if (h != nullptr) curl_easy_cleanup(h);
      return Status::unsupported("the transfer library cannot start");
    }
    auto session = std::make_unique<CurlSession>(h, multi, limits_, cancelled_);
    if (Status s = session->login(login); !s) return s;
    return std::unique_ptr<FtpSession>(std::move(session));
  }

 private:
  FtpLimits limits_;
  std::function<bool()> cancelled_;
};

}  // namespace

std::unique_ptr<FtpConnector> makeCurlFtpConnector(FtpLimits limits,
                                                   std::function<bool()> cancelled) {
  return std::make_unique<CurlConnector>(limits, std::move(cancelled));
}

}  // namespace platform
