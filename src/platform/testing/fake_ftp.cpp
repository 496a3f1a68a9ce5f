#include "platform/testing/fake_ftp.h"

namespace platform {

class FakeFtpSession : public FtpSession {
 public:
  explicit FakeFtpSession(FakeFtpServer& server)
      : server_(server), cwd_(server.loginDirectory) {}
  ~FakeFtpSession() override { server_.commands.push_back("CLOSE"); }

  const std::string& loginDirectory() const override { return server_.loginDirectory; }

  Status changeDirectory(const std::string& path) override {
    server_.commands.push_back("CWD " + path);
    if (server_.directories.count(path) == 0) {
      return {Errc::kIo, "550 No such directory.", kFtpServerReplyError};
    }
    cwd_ = path;
    return Status::ok();
  }

  Status makeDirectory(const std::string& path) override {
    server_.commands.push_back("MKD " + path);
    if (server_.directories.count(path) != 0) {
      return {Errc::kIo, server_.existsReply, kFtpServerReplyError};
    }
    const std::size_t slash = path.find_last_of('/');
    const std::string parent = slash == 0 ? "/" : path.substr(0, slash);
    if (server_.directories.count(parent) == 0) {
      return {Errc::kIo, "550 No such directory.", kFtpServerReplyError};
    }
    server_.directories.insert(path);
    return Status::ok();
  }

  Status putFile(const std::string& localPath, const std::string& name) override {
    const std::string target = (cwd_ == "/" ? "" : cwd_) + "/" + name;
    server_.commands.push_back("STOR " + target);
    server_.clock_.advance(server_.putDuration);
    if (server_.onPut) server_.onPut();
    if (!server_.putFailures.empty()) {
      Status s = server_.putFailures.front();
      server_.putFailures.pop_front();
      if (!s) return s;
    }
    auto bytes = server_.files_.readFile(localPath);
    if (!bytes) return {Errc::kIo, "550 cannot read", kFtpServerReplyError};
    server_.stored[target] = *bytes;
    return Status::ok();
  }

 private:
  FakeFtpServer& server_;
  std::string cwd_;
};

namespace {

class FakeConnector : public FtpConnector {
 public:
  explicit FakeConnector(FakeFtpServer& server) : server_(server) {}
  Result<std::unique_ptr<FtpSession>> open(const FtpLogin& login) override {
    server_.commands.push_back("LOGIN");
    ++server_.logins;
    if (!server_.loginFailures.empty()) {
      Status s = server_.loginFailures.front();
      server_.loginFailures.pop_front();
      return s;
    }
    if (login.password != server_.password) {
      return Status(Errc::kPermission, "530 Login incorrect.", 67);
    }
    return std::unique_ptr<FtpSession>(std::make_unique<FakeFtpSession>(server_));
  }

 private:
  FakeFtpServer& server_;
};

}  // namespace

std::unique_ptr<FtpConnector> FakeFtpServer::connector() {
  return std::make_unique<FakeConnector>(*this);
}

}  // namespace platform
