#include "station/revision_upgrade.h"

#include <string>

#include "station/station_config.h"
#include "station/zone_code.h"

namespace station {

namespace {

using namespace layout;

// Each step sets the fields that first appeared in revision `entry` of the record.
void stepA(StationConfig& c) { c.set(kFuelHeatBase, 65.0F); }

void stepB(StationConfig& c) {
  c.set(kSoilHoursSensor, std::uint8_t{9});
  c.set(kChillHoursSensor, std::uint8_t{0});
  c.set(kLeafHoursSensor, std::uint8_t{15});
}

void stepC(StationConfig& c) {
  c.setAprsCallSign("");
  c.setAprsServer(kDefaultAprsServer);
  c.setAprsLogin(kDefaultAprsLogin);
  c.setAprsPort(23);
  for (std::size_t i = 0; i < kAprsOptions.kCount; ++i) c.setAprsOptions(i, 0);
}

void stepD(StationConfig& c) { c.fill(1448, 1494 - 1448, std::byte{0}); }

void stepE(StationConfig& c) { c.setConsoleDstManual(false); }

void stepF(StationConfig& c) {
  // Revisions up to 5 numbered the two console models of the newest family 0 and 1.
  if (c.model() == 0)
    c.set(kModel, std::uint16_t{5});
  else if (c.model() == 1)
    c.set(kModel, std::uint16_t{6});
  for (std::size_t i = 0; i < kSensorOffsets.kCount; ++i) c.setSensorOffsets(i, 0);
  c.setSkinFactor(1.0F);
}

void stepG(StationConfig& c) { updateZoneCode(c); }

void stepH(StationConfig& c) {
  c.setWuLastDate(-1);
  c.setWuLastTime(0);
  c.setWuStationId("");
  c.setWuPassword("");
}

void stepI(StationConfig& c) { c.setWuMaxDaysChoice(0); }

void stepJ(StationConfig& c) {
  const std::uint8_t choice = c.isCirrant() ? 0 : 2;
  c.setHiLowOnBulletin(choice);
  c.setArchiveOnBulletin(choice);
}

void stepK(StationConfig& c) {
  c.set(kWuState1612, std::int16_t{-1});
  c.set(kWuState1616, std::int32_t{-1});
  c.setDstManual(false);
  c.fill(1607, 5, std::byte{0});
  c.set(kWuState1614, std::uint16_t{0});
}

void stepL(StationConfig& c) {
  c.setGlobeSchoolId("");
  c.setGlobeSiteId("");
  c.setGlobeSoilSiteId("");
  c.fill(1680, 4, std::byte{0});
  c.set(kOpt1684, std::uint16_t{1});
}

void stepM(StationConfig& c) {
  c.fill(1681, 3, std::byte{0});
  c.set(kOpt1684, std::uint16_t{1});
}

void stepN(StationConfig& c) { c.set(kOpt1684, std::uint16_t{1}); }

void stepO(StationConfig& c) {
  for (std::size_t i = 0; i < kBulletinFlags.kCount; ++i) c.setBulletinFlags(i, 0);
}

struct Step {
  int entry;  // a record of this revision starts the chain here; lower revisions pass through
  void (*apply)(StationConfig&);
};

constexpr Step kSteps[] = {
    {0, stepA},  {1, stepB},  {2, stepC},  {3, stepD},  {4, stepE},
    {5, stepF},  {6, stepG},  {7, stepH},  {8, stepI},  {9, stepJ},
    {10, stepK}, {11, stepL}, {12, stepM}, {13, stepN}, {14, stepO},
};

}  // namespace

platform::Status upgradeRevision(StationConfig& config) {
  if (config.formatId() != kStationFormatId) {
    return platform::Status::corrupt("station record format " + std::to_string(config.formatId()) +
                                     ", expected 4");
  }
  const int revision = config.revision();
  if (revision == kCurrentRevision) return platform::Status::ok();
  if (revision < 0 || revision > kCurrentRevision) {
    return platform::Status::corrupt("station record revision " + std::to_string(revision) +
                                     " is not known");
  }
  for (const Step& step : kSteps) {
    if (step.entry >= revision) step.apply(config);
  }
  config.setRevision(kCurrentRevision);
  return platform::Status::ok();
}

}  // namespace station
