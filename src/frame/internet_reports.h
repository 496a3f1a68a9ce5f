#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "link/sensor_image.h"
#include "publish/aprs_report.h"
#include "publish/wu_update.h"

namespace frame {

class Program;

// What an APRS report takes beyond the station and its current conditions, gathered from
// the program: the console's barometer data (Cirrant models) or today's summary rain (older
// models), and the real-time view's wind while one runs.
struct AprsExtras {
  std::string barometerData;
  std::optional<double> todayRainInches;
  std::optional<publish::HistoryWind> wind;
};
AprsExtras gatherAprsExtras(Program& program);

// Sends one APRS report of the open station from `image` (raw, as the console sent it).
// Every failure is logged by the sending; returns true when the server answered.
bool sendAprsFromProgram(Program& program, const stationlink::SensorImage& image);

// Sends the open station's waiting Weather Underground records, through the proxy of its
// internet configuration. The bookkeeping is saved after each accepted record and kept in
// the program's copy of the station too, so a later save cannot take it back.
// `progress` gets one line per record (may be empty).
publish::WuOutcome sendWuFromProgram(Program& program,
                                     std::function<void(std::string_view)> progress = {});

}  // namespace frame
