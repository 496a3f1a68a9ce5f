#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/ftp_client.h"
#include "upload_ftp_server.h"

namespace {

std::string slurp(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

class FtpSessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!uploadtest::FtpServer::available()) GTEST_SKIP() << "pyftpdlib is not installed";
    root_ = std::filesystem::temp_directory_path() /
            ("stratalog-ftp-" + std::to_string(::getpid()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(root_);
    std::filesystem::create_directories(root_ / "www");
    server_ = std::make_unique<uploadtest::FtpServer>(root_, "obs", "pw#1");
    ASSERT_NE(server_->port(), 0);
  }
  void TearDown() override {
    server_.reset();
    std::filesystem::remove_all(root_);
  }
  platform::FtpLogin login() const {
    platform::FtpLogin l;
    l.host = "127.0.0.1";
    l.user = "obs";
    l.password = "pw#1";
    l.port = static_cast<std::uint16_t>(server_->port());
    l.passive = true;
    l.access = platform::kFtpAccessDirect;
    return l;
  }

  std::filesystem::path root_;
  std::unique_ptr<uploadtest::FtpServer> server_;
};

TEST_F(FtpSessionTest, NamesArriveAsWrittenAndRefusalsCarryTheReply) {
  auto connector = platform::makeCurlFtpConnector({}, {});
  auto session = connector->open(login());
  ASSERT_TRUE(session) << session.status().toString();
  auto& s = **session;
  EXPECT_EQ(s.loginDirectory(), "/");
  platform::Status mk = s.makeDirectory("/www");
  EXPECT_EQ(mk.code(), platform::kFtpServerReplyError);
  EXPECT_EQ(mk.message(), "550 Create directory operation failed.");
  ASSERT_TRUE(s.makeDirectory("/www/a b"));
  ASSERT_TRUE(s.changeDirectory("/www/a b"));
  const std::filesystem::path local = root_.parent_path() / ("stratalog-ftp-src-" + std::to_string(::getpid()));
  {
    std::ofstream o(local, std::ios::binary);
    o << std::string("\x00\x01\xff\r\n", 5);
  }
  const std::string name = "x #1;type=a %41.bin";
  ASSERT_TRUE(s.putFile(local.string(), name));
  EXPECT_EQ(slurp(root_ / "www/a b" / name), std::string("\x00\x01\xff\r\n", 5));
  EXPECT_FALSE(s.changeDirectory("/nowhere"));
  std::filesystem::remove(local);
}

TEST_F(FtpSessionTest, WrongPasswordIsARefusedLogin) {
  auto connector = platform::makeCurlFtpConnector({}, {});
  platform::FtpLogin l = login();
  l.password = "wrong";
  auto session = connector->open(l);
  ASSERT_FALSE(session);
  EXPECT_EQ(session.status().kind(), platform::Errc::kPermission);
  EXPECT_EQ(session.status().message().find("wrong"), std::string::npos);
}

// A listener that takes the connection and never says a word: the session gives up within
// its limits instead of hanging.
TEST(FtpSilentServerTest, ASilentListenerEndsTheLoginWithinTheLimits) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  ASSERT_GE(fd, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  ASSERT_EQ(::listen(fd, 4), 0);
  socklen_t len = sizeof addr;
  ASSERT_EQ(::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len), 0);
  platform::FtpLimits limits;
  limits.connect = std::chrono::milliseconds(300);
  limits.reply = std::chrono::milliseconds(300);
  auto connector = platform::makeCurlFtpConnector(limits, {});
  platform::FtpLogin l;
  l.host = "127.0.0.1";
  l.port = ntohs(addr.sin_port);
  l.access = platform::kFtpAccessDirect;
  const auto start = std::chrono::steady_clock::now();
  auto session = connector->open(l);
  const auto took = std::chrono::steady_clock::now() - start;
  ::close(fd);
  ASSERT_FALSE(session);
  EXPECT_EQ(session.status().kind(), platform::Errc::kTimeout);
  EXPECT_LT(took, std::chrono::seconds(3));
}

}  // namespace
