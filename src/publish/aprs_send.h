#pragma once

// Sending an APRS report: log in to the APRS-IS server, send the report line and wait for
// the server's answer.

#include <chrono>
#include <optional>
#include <string_view>

#include "platform/tcp_client.h"
#include "publish/aprs_report.h"
#include "publish/publish_log.h"

namespace publish {

struct AprsLimits {
  std::chrono::milliseconds connect{15000};
  std::chrono::milliseconds reply{10000};
};

// Builds the report and sends it to the station's server. True when it was sent and the
// server answered; otherwise the reason is logged (title: the station name) and nothing
// more is tried. The login password never reaches the log.
// `clock` bounds the wait for the answer.
bool sendAprsReport(const AprsInputs& in, platform::TcpClient& tcp, const LogSink& log,
                    const platform::Clock& clock, const AprsLimits& limits = {});

// The report of an upload run: the same, from the current conditions, the wind history
// of the real-time view (empty when it is not running), the console's barometer data and
// today's summary rain, at the clock's present UTC time.
bool sendAprsForRun(const station::StationConfig& config, const stationlink::SensorImage& image,
                    std::optional<HistoryWind> windHistory, std::string_view barometerData,
                    std::optional<double> todayRainInches, const platform::Clock& clock,
                    platform::TcpClient& tcp, const LogSink& log);

}  // namespace publish
