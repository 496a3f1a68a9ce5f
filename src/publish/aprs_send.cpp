#include "publish/aprs_send.h"

#include <string>

#include "platform/string_table.h"

namespace publish {

namespace {

constexpr int kMsgBuildFailed = 28069;
constexpr int kMsgResolveFailed = 28070;
constexpr int kMsgSocketFailed = 28071;
constexpr int kMsgConnectFailed = 28072;
constexpr int kMsgLoginFailed = 28073;
constexpr int kMsgSendFailed = 28074;
constexpr int kMsgNoReply = 28075;

constexpr std::string_view kLoginAnswer = "# logresp";

int connectFailureMessage(int code) {
  switch (code) {
    case platform::kTcpResolveFailed:
      return kMsgResolveFailed;
    case platform::kTcpSocketFailed:
      return kMsgSocketFailed;
    default:
      return kMsgConnectFailed;
  }
}

// Reads what the server says until it answers the login, closes the stream or the limit
// passes. True when anything at all arrived.
bool awaitReply(platform::TcpConnection& conn, std::chrono::milliseconds limit,
                const platform::Clock& clock) {
  const platform::Instant deadline = clock.now() + limit;
  std::string pending;
  bool received = false;
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - clock.now());
    if (left.count() <= 0) return received;
    char buf[256];
    auto n = conn.receive(buf, left);
    if (!n.isOk() || *n == 0) return received;
    received = true;
    pending.append(buf, *n);
    std::size_t start = 0;
    for (std::size_t nl; (nl = pending.find('\n', start)) != std::string::npos; start = nl + 1) {
      if (std::string_view(pending).substr(start).starts_with(kLoginAnswer)) return true;
    }
    pending.erase(0, start);
    if (pending.starts_with(kLoginAnswer)) return true;
    // A server that never ends its lines cannot flood memory.
    if (pending.size() > 4096) pending.clear();
  }
}

}  // namespace

bool sendAprsReport(const AprsInputs& in, platform::TcpClient& tcp, const LogSink& log,
                    const platform::Clock& clock, const AprsLimits& limits) {
  const std::string title = in.config.stationName();
  auto fail = [&](int id) {
    log(platform::loadString(id), title);
    return false;
  };
  auto report = BuildAprsReport(in);
  const std::string login = in.config.aprsLogin();
  if (!report.isOk() || !validAprsLogin(login)) return fail(kMsgBuildFailed);
  log(report->logText, title);
  const std::uint32_t port = in.config.aprsPort();
  if (port == 0 || port > 65535) return fail(kMsgConnectFailed);
  auto conn = tcp.connect(in.config.aprsServer(), static_cast<std::uint16_t>(port), limits.connect);
  if (!conn.isOk()) return fail(connectFailureMessage(conn.status().code()));
  const std::string source = report->packet.substr(0, report->packet.find('>'));
  const std::string loginLine = "user " + source + " pass " + login + "\n";
  if (!(*conn)->send(loginLine).isOk()) return fail(kMsgLoginFailed);
  const std::string line = report->packet + "\n";
  if (!(*conn)->send(line).isOk()) return fail(kMsgSendFailed);
  if (!awaitReply(**conn, limits.reply, clock)) return fail(kMsgNoReply);
  return true;
}

bool sendAprsForRun(const station::StationConfig& config, const stationlink::SensorImage& image,
                    std::optional<HistoryWind> windHistory, std::string_view barometerData,
                    std::optional<double> todayRainInches, const platform::Clock& clock,
                    platform::TcpClient& tcp, const LogSink& log) {
  const AprsInputs in{config, image, windHistory, barometerData, todayRainInches,
                      clock.toUtc(clock.wallNow())};
  return sendAprsReport(in, tcp, log, clock);
}

}  // namespace publish
