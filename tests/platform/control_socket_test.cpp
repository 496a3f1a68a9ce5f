#include "platform/control_socket.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/event_loop.h"

namespace platform {
namespace {

using nlohmann::json;

std::string lengthOf(std::uint32_t n) {
  return {static_cast<char>(n >> 24), static_cast<char>(n >> 16), static_cast<char>(n >> 8),
          static_cast<char>(n)};
}

TEST(ControlMessages, RoundTripAndRejectsWhatCannotBeAMessage) {
  ControlMessageReader reader;
  const std::string framed = encodeControlMessage(json{{"request", "held"}});
  EXPECT_EQ(framed.substr(0, 4), lengthOf(static_cast<std::uint32_t>(framed.size() - 4)));
  // Bytes arrive in pieces: nothing before the whole message.
  reader.append(framed.substr(0, 6));
  auto none = reader.next();
  ASSERT_TRUE(none.isOk());
  EXPECT_FALSE(none->has_value());
  reader.append(framed.substr(6));
  auto whole = reader.next();
  ASSERT_TRUE(whole.isOk());
  ASSERT_TRUE(whole->has_value());
  EXPECT_EQ((**whole)["request"], "held");

  struct Case {
    const char* name;
    std::string bytes;
  };
  const Case kBad[] = {
      {"a 100 MB length", lengthOf(100u << 20)},
      {"one byte over the limit", lengthOf(kMaxControlMessageBytes + 1)},
      {"text that is not JSON", lengthOf(5) + "{{xx]"},
  };
  for (const Case& c : kBad) {
    ControlMessageReader r;
    r.append(c.bytes);
    auto m = r.next();
    EXPECT_FALSE(m.isOk()) << c.name;
    EXPECT_EQ(m.status().kind(), Errc::kCorrupt) << c.name;
  }
}

// A server on the loop with a fake clock: the time-outs pass without waiting.
class ControlServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("stratalog-ctl-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    path_ = (dir_ / "stratalog.sock").string();
  }
  void TearDown() override {
    server_.reset();
    std::filesystem::remove_all(dir_);
  }

  void listen() {
    ControlServer::Handlers h;
    h.request = [this](ControlServer::ClientId id, const json& r) {
      requests_.push_back(r);
      (void)server_->send(id, json{{"exit", 0}});
      server_->close(id);
    };
    h.gone = [this](ControlServer::ClientId) { ++gone_; };
    h.log = [this](std::string_view line) { logged_.emplace_back(line); };
    auto s = ControlServer::listen(loop_, path_, std::move(h));
    ASSERT_TRUE(s.isOk()) << s.status().toString();
    server_ = std::move(*s);
  }

  void passes(int n) {
    for (int i = 0; i < n; ++i) loop_.runOnce(std::chrono::milliseconds(0));
  }

  // A raw client, for sending what a well-behaved one never would.
  int rawClient(const std::string& bytes) {
    auto c = ControlClient::connect(path_);
    EXPECT_TRUE(c.isOk());
    int fd = ::dup(c->fd());
    if (!bytes.empty()) {
      EXPECT_EQ(::send(fd, bytes.data(), bytes.size(), 0), ssize_t(bytes.size()));
    }
    return fd;
  }

  static bool closedByServer(int fd) {
    char b;
    return ::recv(fd, &b, 1, MSG_DONTWAIT) == 0;
  }

  std::filesystem::path dir_;
  std::string path_;
  FakeClock clock_;
  EventLoop loop_{clock_};
  std::unique_ptr<ControlServer> server_;
  std::vector<json> requests_;
  std::vector<std::string> logged_;
  int gone_ = 0;
};

TEST_F(ControlServerTest, ReplacesAStaleFileServesWithMode0660AndRemovesItsFile) {
  { std::ofstream(path_) << "left by a killed program"; }
  listen();
  struct stat st {};
  ASSERT_EQ(::stat(path_.c_str(), &st), 0);
  EXPECT_TRUE(S_ISSOCK(st.st_mode));
  EXPECT_EQ(st.st_mode & 0777, 0660u);

  auto client = ControlClient::connect(path_);
  ASSERT_TRUE(client.isOk());
  ASSERT_TRUE(client->send(json{{"request", "held"}}).isOk());
  passes(3);
  ASSERT_EQ(requests_.size(), 1u);
  auto answer = client->receive(std::chrono::milliseconds(1000));
  ASSERT_TRUE(answer.isOk()) << answer.status().toString();
  EXPECT_EQ((*answer)["exit"], 0);
  // The server closed after its answer.
  EXPECT_EQ(client->receive(std::chrono::milliseconds(1000)).status().kind(), Errc::kNotFound);

  server_.reset();
  EXPECT_FALSE(std::filesystem::exists(path_));
  EXPECT_EQ(ControlClient::connect(path_).status().kind(), Errc::kNotFound);
}

// A socket address holds some hundred bytes of path; a program directory may be deeper.
TEST_F(ControlServerTest, ADeepProgramDirectoryStillGetsItsSocket) {
  const std::filesystem::path deep = dir_ / std::string(120, 'd');
  std::filesystem::create_directories(deep);
  path_ = (deep / "stratalog.sock").string();
  listen();
  auto client = ControlClient::connect(path_);
  ASSERT_TRUE(client.isOk()) << client.status().toString();
  ASSERT_TRUE(client->send(json{{"request", "held"}}).isOk());
  passes(3);
  EXPECT_EQ(requests_.size(), 1u);
  server_.reset();
  EXPECT_FALSE(std::filesystem::exists(path_));
}

// A silent client, one that sends garbage and one that announces 100 MB are each dropped
// with one log line, and the loop's own work goes on meanwhile.
TEST_F(ControlServerTest, MisbehavingClientsAreDroppedWithALogLineAndTheLoopGoesOn) {
  listen();
  int ticks = 0;
  loop_.addTimer(std::chrono::milliseconds(1000),
                 [&]() -> std::optional<std::chrono::milliseconds> {
                   ++ticks;
                   return std::chrono::milliseconds(1000);
                 });
  const int silent = rawClient("");
  const int garbage = rawClient(lengthOf(7) + "garbage");
  const int huge = rawClient(lengthOf(100u << 20) + std::string(1000, 'x'));
  // Half a message, then nothing: the same time-out as saying nothing.
  const int half = rawClient(lengthOf(50) + "{\"request\":");
  passes(3);
  EXPECT_EQ(logged_.size(), 2u);
  EXPECT_TRUE(closedByServer(garbage));
  EXPECT_TRUE(closedByServer(huge));
  EXPECT_FALSE(closedByServer(silent));

  for (int s = 0; s < 10; ++s) {
    clock_.advance(std::chrono::seconds(1));
    passes(1);
  }
  EXPECT_TRUE(closedByServer(silent));
  EXPECT_TRUE(closedByServer(half));
  ASSERT_EQ(logged_.size(), 4u);
  EXPECT_NE(logged_[0].find("no es JSON"), std::string::npos) << logged_[0];
  EXPECT_NE(logged_[1].find("104857600"), std::string::npos) << logged_[1];
  EXPECT_NE(logged_[2].find("a tiempo"), std::string::npos) << logged_[2];
  EXPECT_EQ(gone_, 4);
  EXPECT_EQ(server_->clientCount(), 0u);
  EXPECT_GE(ticks, 9);
  EXPECT_TRUE(requests_.empty());
  for (int fd : {silent, garbage, huge, half}) ::close(fd);
}

// A client that goes away before its answer is written never blocks the loop.
TEST_F(ControlServerTest, AClientThatLeftIsForgottenWhenItsAnswerCannotBeWritten) {
  ControlServer::Handlers h;
  ControlServer::ClientId asked = 0;
  h.request = [&](ControlServer::ClientId id, const json&) { asked = id; };
  h.gone = [this](ControlServer::ClientId) { ++gone_; };
  auto s = ControlServer::listen(loop_, path_, std::move(h));
  ASSERT_TRUE(s.isOk());
  server_ = std::move(*s);
  {
    auto client = ControlClient::connect(path_);
    ASSERT_TRUE(client->send(json{{"request", "current"}}).isOk());
    passes(3);
  }
  ASSERT_NE(asked, 0u);
  passes(2);
  EXPECT_FALSE(server_->send(asked, json{{"reading", std::string(100000, 'r')}}));
  EXPECT_EQ(gone_, 1);
  EXPECT_EQ(server_->clientCount(), 0u);
}

}  // namespace
}  // namespace platform
