#include "platform/http_client.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstdlib>
#include <mutex>

namespace platform {

namespace {

void initialiseLibraryOnce() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

std::size_t keepBody(char* data, std::size_t size, std::size_t count, void* user) {
  auto* body = static_cast<std::string*>(user);
  const std::size_t n = size * count;
  if (body->size() < kHttpBodyLimit) body->append(data, std::min(n, kHttpBodyLimit - body->size()));
  return n;
}

bool brokeOffWhileReading(CURLcode rc) {
  switch (rc) {
    case CURLE_RECV_ERROR:
    case CURLE_PARTIAL_FILE:
    case CURLE_WRITE_ERROR:
    case CURLE_BAD_CONTENT_ENCODING:
    case CURLE_GOT_NOTHING:
      return true;
    default:
      return false;
  }
}

}  // namespace

CurlHttpClient::CurlHttpClient(HttpProxy proxy, HttpLimits limits)
    : proxy_(std::move(proxy)), limits_(limits) {}

CurlHttpClient::~CurlHttpClient() { close(); }

Status CurlHttpClient::open() {
  close();
  initialiseLibraryOnce();
  CURL* curl = curl_easy_init();
  if (curl == nullptr) return Status(Errc::kIo, "cannot start the HTTP library", CURLE_FAILED_INIT);
  handle_ = curl;
  return Status::ok();
}

void CurlHttpClient::close() {
  if (handle_ != nullptr) curl_easy_cleanup(static_cast<CURL*>(handle_));
  handle_ = nullptr;
}

HttpReply CurlHttpClient::get(const std::string& url) {
  HttpReply reply;
  auto* curl = static_cast<CURL*>(handle_);
  if (curl == nullptr) {
    reply.outcome = HttpReply::Outcome::kOpenFailed;
    reply.errorCode = CURLE_FAILED_INIT;
    return reply;
  }
  curl_easy_reset(curl);
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
  curl_easy_setopt(curl, CURLOPT_USERAGENT, "Stratalog");
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(limits_.connect.count()));
  curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, static_cast<long>(limits_.total.count()));
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
  // Nothing cached on the way: each request reaches the service.
  curl_slist* headers = curl_slist_append(nullptr, "Cache-Control: no-cache");
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
  switch (proxy_.mode) {
    case HttpProxy::Mode::kDirect:
      curl_easy_setopt(curl, CURLOPT_PROXY, "");
      break;
    case HttpProxy::Mode::kGiven:
      curl_easy_setopt(curl, CURLOPT_PROXY, proxy_.address.c_str());
      break;
    case HttpProxy::Mode::kEnvironment:
      break;
  }
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &keepBody);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &reply.body);
  const CURLcode rc = curl_easy_perform(curl);
  curl_slist_free_all(headers);
  if (rc != CURLE_OK) {
    reply.outcome = brokeOffWhileReading(rc) ? HttpReply::Outcome::kReadFailed
                                             : HttpReply::Outcome::kOpenFailed;
    reply.errorCode = static_cast<int>(rc);
    reply.body.clear();
    return reply;
  }
  curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &reply.status);
  return reply;
}

std::optional<std::string> environmentValue(const char* name) {
  const char* v = std::getenv(name);
  if (v == nullptr) return std::nullopt;
  return std::string(v);
}

}  // namespace platform
