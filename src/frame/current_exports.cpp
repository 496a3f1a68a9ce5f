#include "frame/current_exports.h"

#include <algorithm>

#include "frame/program.h"
#include "link/calibrated_image.h"
#include "link/console_link.h"
#include "link/console_types.h"
#include "link/link_types.h"

namespace frame {

namespace {

constexpr int kAnswerYes = 1;
constexpr int kAnswerNo = 0;
// GetSensorImage's answer when the console does not wake.
constexpr int kConsoleAsleep = -10;

// The open station's console link, or null when the program, the station or the link is
// missing.
stationlink::ConsoleLink* openStationLink(Program*& program) {
  program = currentProgram();
  if (program == nullptr || program->currentStation() == nullptr) return nullptr;
  return program->stations().stationLink();
}

// A specific link error in the answer (CRC, time-out, no acknowledge, port missing or busy)
// says what went wrong in this call. The catch-all answers (-1, and -10 for a console that
// did not wake) do not, so the transport failure the link recorded underneath them (the
// time-out under a failed wake-up, the missing port under a failed open) is logged
// instead; it tells the owner what to check.
void logFailure(Program& program, const stationlink::ConsoleLink& link,
                const platform::Status& failure) {
  int code = failure.code();
  if (code == 0 || code == stationlink::kErrFailed || code == kConsoleAsleep) {
    if (link.lastError() != 0) code = link.lastError();
  }
  if (code == 0) code = stationlink::kErrFailed;
  program.messages().LogLinkError(code);
}

int readCalibrated(stationlink::SensorImage* image) {
  if (image == nullptr) return kAnswerNo;
  Program* program = nullptr;
  stationlink::ConsoleLink* link = openStationLink(program);
  if (link == nullptr) return kAnswerNo;
  stationlink::SensorImage read = stationlink::resetSensorImage();
  if (platform::Status s = link->GetSensorImage(read); !s) {
    *image = stationlink::resetSensorImage();
    logFailure(*program, *link, s);
    return kAnswerNo;
  }
  *image = stationlink::calibrateSensorImage(read, *program->currentStation());
  return kAnswerYes;
}

}  // namespace

int GetCalibratedSensorImage(stationlink::SensorImage* image) noexcept {
  // Modules call through a C interface: nothing may unwind into them.
  try {
    return readCalibrated(image);
  } catch (...) {
    return kAnswerNo;
  }
}

int GetCalibratedSensorImageWAlarms(stationlink::SensorImage* image) noexcept {
  return GetCalibratedSensorImage(image);
}

int GetCirrantAlarmValues(std::uint8_t* block) noexcept {
  try {
    if (block == nullptr) return kAnswerNo;
    Program* program = nullptr;
    stationlink::ConsoleLink* link = openStationLink(program);
    if (link == nullptr) return kAnswerNo;
    platform::Result<stationlink::AlarmThresholdBlock> read = link->ReadAlarmThresholds();
    if (!read) {
      logFailure(*program, *link, read.status());
      return kAnswerNo;
    }
    std::copy(read->begin(), read->end(), block);
    return kAnswerYes;
  } catch (...) {
    return kAnswerNo;
  }
}

}  // namespace frame
