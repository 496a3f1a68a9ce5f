// Sending an APRS report: each step's failure and its message, and a real exchange with a
// local stand-in server.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/testing/fake_tcp_client.h"
#include "platform/testing/listener_process.h"
#include "publish/aprs_send.h"
#include "station/station_config_layout.h"

namespace publish {
namespace {

namespace layout = station::layout;

struct Station {
  station::StationConfig config;
  stationlink::SensorImage image = stationlink::resetSensorImage();
  Station() {
    EXPECT_TRUE(config.setModel(1));
    config.setSensorMask((1u << 0) | (1u << 4) | (1u << 8) | (1u << 15));
    config.setStationName("Cumbre");
    config.setAprsCallSign("N0CALL");
    config.setAprsLogin("12345");
    config.setAprsServer("aprs.example");
    config.setAprsPort(14580);
    config.set(layout::kLatDeg, std::int16_t{40});
    config.set(layout::kLatMin, std::int16_t{25});
    config.set(layout::kLatSec, std::int16_t{0});
    config.set(layout::kLonDeg, std::int16_t{3});
    config.set(layout::kLonMin, std::int16_t{42});
    config.set(layout::kLonSec, std::int16_t{0});
    config.set(layout::kLonWest, std::uint8_t{1});
    image.outsideTemperature = 612;
    image.outsideHumidity = 40;
    image.barometer = 30010;
  }
  AprsInputs inputs() const {
    return {config, image, std::nullopt, {}, 0.12, {2006, 7, 15, 9, 5}};
  }
};

struct Logged {
  std::vector<std::string> lines;
  LogSink sink() {
    return [this](std::string_view m, std::string_view title) {
      lines.push_back(std::string(title) + ": " + std::string(m));
    };
  }
  std::string all() const {
    std::string s;
    for (const auto& l : lines) s += l + "\n";
    return s;
  }
};

TEST(AprsSend, EachStepThatFailsLogsItsMessageAndStops) {
  struct Row {
    const char* name;
    void (*script)(platform::FakeTcpClient&, station::StationConfig&);
    const char* message;
  };
  const Row rows[] = {
      {"no address", [](auto& t, auto&) { t.connectFailure = platform::kTcpResolveFailed; },
       "Error buscando host APRS."},
      {"no socket", [](auto& t, auto&) { t.connectFailure = platform::kTcpSocketFailed; },
       "Error creando socket APRS."},
      {"refused", [](auto& t, auto&) { t.connectFailure = platform::kTcpConnectFailed; },
       "Error abriendo socket APRS."},
      {"login not sent", [](auto& t, auto&) { t.failSendAt = 1; },
       "Error de identificación en el host APRS."},
      {"report not sent", [](auto& t, auto&) { t.failSendAt = 2; }, "Error enviando datos APRS."},
      {"no answer", [](auto&, auto&) {}, "Error esperando respuesta del host APRS."},
      {"closed without a word", [](auto& t, auto&) { t.closeAfterReplies = true; },
       "Error esperando respuesta del host APRS."},
      {"passcode with a blank", [](auto&, auto& c) { c.setAprsLogin("12 45"); },
       "Error creando datos APRS desde la estación meteorológica."},
      {"unset location", [](auto&, auto& c) { c.set(layout::kLatDeg, std::int16_t{-500}); },
       "Error creando datos APRS desde la estación meteorológica."},
  };
  for (const Row& row : rows) {
    Station st;
    platform::FakeTcpClient tcp;
    platform::FakeClock clock;
    row.script(tcp, st.config);
    Logged log;
    EXPECT_FALSE(sendAprsReport(st.inputs(), tcp, log.sink(), clock)) << row.name;
    ASSERT_FALSE(log.lines.empty()) << row.name;
    EXPECT_EQ(log.lines.back(), std::string("Cumbre: ") + row.message) << row.name;
    EXPECT_EQ(log.all().find("12345"), std::string::npos) << row.name;
  }
}

TEST(AprsSend, LogsInSendsTheReportAndReadsUntilTheLoginAnswer) {
  Station st;
  platform::FakeTcpClient tcp;
  platform::FakeClock clock;
  tcp.replies = {"# aprsc 2.1 banner\r\n# logr", "esp N0CALL verified\r\n", "never read"};
  Logged log;
  ASSERT_TRUE(sendAprsReport(st.inputs(), tcp, log.sink(), clock)) << log.all();
  const std::string packet =
      "N0CALL>APRS,TCPIP*:@150905z4025.00N/00342.00W_.../...g...t061P012h40b10163.Kqz";
  EXPECT_EQ(tcp.sent, "user N0CALL pass 12345\n" + packet + "\n");
  EXPECT_EQ(tcp.host, "aprs.example");
  EXPECT_EQ(tcp.port, 14580);
  EXPECT_EQ(tcp.replies.size(), 1U);
  EXPECT_EQ(log.all(), "Cumbre: Cadena APRS: \"" + packet + "\"\n");
}

std::string python() { return "/usr/bin/python3"; }
std::string script(const char* name) {
  return std::string(STRATALOG_SOURCE_DIR) + "/tests/publish/" + name;
}

TEST(AprsSend, ASilentServerIsNoReplyWithinTheLimit) {
  if (!std::filesystem::exists(python())) GTEST_SKIP() << "python3 is not installed";
  const auto log = std::filesystem::temp_directory_path() / "stratalog-aprs-silent.log";
  std::filesystem::remove(log);
  platform::ListenerProcess server({python(), script("aprs_listener.py"), "silent", log.string()});
  ASSERT_TRUE(server.started());
  Station st;
  st.config.setAprsServer("127.0.0.1");
  st.config.setAprsPort(static_cast<std::uint32_t>(std::stoi(server.firstLine())));
  Logged logged;
  AprsLimits limits;
  limits.reply = std::chrono::milliseconds(150);
  EXPECT_FALSE(sendAprsReport(st.inputs(), platform::systemTcpClient(), logged.sink(),
                              platform::systemClock(), limits));
  EXPECT_EQ(logged.lines.back(), "Cumbre: Error esperando respuesta del host APRS.");
  std::filesystem::remove(log);
}

// The server listens on the IPv4 loopback only; where "localhost" also names the IPv6 one
// (listed first on most systems), the refused first address must lead to the next.
TEST(AprsSend, EveryAddressOfTheServerIsTriedInTurn) {
  if (!std::filesystem::exists(python())) GTEST_SKIP() << "python3 is not installed";
  const auto log = std::filesystem::temp_directory_path() / "stratalog-aprs-answer.log";
  std::filesystem::remove(log);
  platform::ListenerProcess server({python(), script("aprs_listener.py"), "answer", log.string()});
  ASSERT_TRUE(server.started());
  Station st;
  st.config.setAprsServer("localhost");
  st.config.setAprsPort(static_cast<std::uint32_t>(std::stoi(server.firstLine())));
  Logged logged;
  EXPECT_TRUE(sendAprsReport(st.inputs(), platform::systemTcpClient(), logged.sink(),
                             platform::systemClock()))
      << logged.all();
  std::ifstream in(log);
  std::string first;
  std::getline(in, first);
  EXPECT_EQ(first, "user N0CALL pass 12345");
  std::filesystem::remove(log);
}

TEST(AprsSend, ANameWithoutAddressIsTheLookUpFailure) {
  Station st;
  st.config.setAprsServer("no-such-host.invalid");
  Logged logged;
  EXPECT_FALSE(sendAprsReport(st.inputs(), platform::systemTcpClient(), logged.sink(),
                              platform::systemClock()));
  EXPECT_EQ(logged.lines.back(), "Cumbre: Error buscando host APRS.");
}

}  // namespace
}  // namespace publish
