#include "platform/testing/fake_tcp_client.h"

#include <algorithm>

namespace platform {

namespace {

class FakeConnection : public TcpConnection {
 public:
  explicit FakeConnection(FakeTcpClient& owner) : owner_(owner) {}

  Status send(std::span<const char> bytes) override {
    if (++sends_ == owner_.failSendAt) return Status::io("send refused", 32);
    owner_.sent.append(bytes.data(), bytes.size());
    return Status::ok();
  }

  Result<std::size_t> receive(std::span<char> into, std::chrono::milliseconds) override {
    ++owner_.receives;
    if (owner_.replies.empty()) {
      if (owner_.closeAfterReplies) return std::size_t{0};
      return Status::timeout("no reply");
    }
    std::string& next = owner_.replies.front();
    const std::size_t n = std::min(into.size(), next.size());
    std::copy_n(next.begin(), n, into.begin());
    next.erase(0, n);
    if (next.empty()) owner_.replies.pop_front();
    return n;
  }

 private:
  FakeTcpClient& owner_;
  int sends_ = 0;
};

}  // namespace

Result<std::unique_ptr<TcpConnection>> FakeTcpClient::connect(const std::string& h,
                                                              std::uint16_t p,
                                                              std::chrono::milliseconds) {
  host = h;
  port = p;
  ++connections;
  if (connectFailure != 0) return Status(Errc::kIo, "scripted failure", connectFailure);
  return std::unique_ptr<TcpConnection>(std::make_unique<FakeConnection>(*this));
}

}  // namespace platform
