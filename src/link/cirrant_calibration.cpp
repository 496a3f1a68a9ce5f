// Clearing the console's calibration while keeping its display honest.
#include "link/calibration.h"
#include "link/cirrant_link.h"
#include "platform/string_table.h"

namespace stationlink {

using platform::Status;

namespace {

constexpr int kConfigNotSavedText = 64101;  // the station configuration could not be saved

}  // namespace

Status CirrantLink::ClearCalibration() {
  if (Status s = prologue(true); !s) return s;
  auto offsets = ReadCalibration();
  if (!offsets) return offsets.status();
  auto calibrated = ReadCalibratedReadings();
  if (!calibrated) return calibrated.status();
  const CalibratedReadingsBlock raw = removeCalibration(*calibrated, *offsets);
  if (Status s = WakeUp(); !s) return s;
  if (Status s = sendCommand("CLRCAL\n"); !s) return s;
  if (Status s = ExpectOk(); !s) return s;
  if (Status s = ExpectDone(); !s) return s;
  if (services().clearProgramOffsets) {
    if (Status s = services().clearProgramOffsets(); !s) {
      logLine(platform::loadString(kConfigNotSavedText));
    }
  }
  // The console recalculates its readings only with the next sensor update; sending the
  // uncalibrated values shows them at once.
  return WriteCalibratedReadings(raw);
}

}  // namespace stationlink
