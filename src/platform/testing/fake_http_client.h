#pragma once

// An HttpClient that keeps the requested addresses and answers from a script.

#include <deque>
#include <string>
#include <vector>

#include "platform/http_client.h"

namespace platform {

class FakeHttpClient : public HttpClient {
 public:
  // Replies in order; when they run out, 200 "success".
  std::deque<HttpReply> replies;
  // Open attempts that fail before one succeeds.
  int openFailures = 0;

  std::vector<std::string> urls;
  int opens = 0;
  int closes = 0;

  Status open() override {
    ++opens;
    if (openFailures > 0) {
      --openFailures;
      return Status(Errc::kIo, "scripted failure", 2);
    }
    return Status::ok();
  }
  void close() override { ++closes; }
  HttpReply get(const std::string& url) override {
    urls.push_back(url);
    if (replies.empty()) return HttpReply{HttpReply::Outcome::kReplied, 200, "success", 0};
    HttpReply r = replies.front();
    replies.pop_front();
    return r;
  }
};

}  // namespace platform
