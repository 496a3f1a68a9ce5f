#pragma once

// HTTP GET requests for the publishing reports: one session, opened and closed by its user,
// sends requests one at a time and hands back the status and the body.

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>

#include "platform/status.h"

namespace platform {

// How requests reach the server, as the caller's internet settings say.
struct HttpProxy {
  enum class Mode {
    kEnvironment,  // the usual proxy variables of the environment (http_proxy, no_proxy)
    kDirect,       // no proxy, whatever the environment says
    kGiven,        // through `address`
  };
  Mode mode = Mode::kEnvironment;
  std::string address;  // "host:port" or a URL, with kGiven
};

struct HttpLimits {
  std::chrono::milliseconds connect{30000};
  std::chrono::milliseconds total{60000};
};

// Bodies are kept up to this size; the rest of a longer one is read and dropped.
inline constexpr std::size_t kHttpBodyLimit = 64 * 1024;

struct HttpReply {
  enum class Outcome {
    kReplied,     // a status and a body arrived
    kOpenFailed,  // no answer: the name, the connection or the time limit failed
    kReadFailed,  // the answer broke off while it was being read
  };
  Outcome outcome = Outcome::kReplied;
  long status = 0;
  std::string body;
  int errorCode = 0;  // the library's error number when the request failed
};

class HttpClient {
 public:
  virtual ~HttpClient() = default;
  // Prepares a session. Failure carries the library's error number in its code.
  virtual Status open() = 0;
  virtual void close() = 0;
  // REQUIRES: open() succeeded and close() has not been called since.
  virtual HttpReply get(const std::string& url) = 0;
};

// A session over the system's HTTP library with agent name "Stratalog", no caching.
class CurlHttpClient : public HttpClient {
 public:
  explicit CurlHttpClient(HttpProxy proxy = {}, HttpLimits limits = {});
  ~CurlHttpClient() override;
  CurlHttpClient(const CurlHttpClient&) = delete;
  CurlHttpClient& operator=(const CurlHttpClient&) = delete;

  Status open() override;
  void close() override;
  HttpReply get(const std::string& url) override;

 private:
  HttpProxy proxy_;
  HttpLimits limits_;
  void* handle_ = nullptr;
};

// The value of an environment variable, or nothing when it is unset.
std::optional<std::string> environmentValue(const char* name);

}  // namespace platform
