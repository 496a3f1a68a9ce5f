#include "publish/publish_context.h"

#include <vector>

#include "link/calibrated_image.h"

namespace publish {

PublishContext buildPublishContext(const PublishSources& sources) {
  PublishContext c;
  c.station = sources.station;
  c.raw = sources.current;
  c.readings = stationlink::calibrateSensorImage(sources.current, sources.station);
  c.clock = sources.clock;
  c.conventions = sources.conventions;
  c.stationTime = sources.clock->localNow();
  if (sources.windHistory != nullptr) c.windHistory = *sources.windHistory;

  const quantities::Date today{c.stationTime.year, c.stationTime.month, c.stationTime.day};
  std::vector<TimedReading> readings;
  readings.reserve(sources.earlierReadings.size() + 1);
  for (const TimedReading& r : sources.earlierReadings) {
    readings.push_back(
        {stationlink::calibrateSensorImage(r.image, sources.station), r.date, r.minutes});
  }
  readings.push_back({c.readings, today, c.stationTime.hour * 60 + c.stationTime.minute});

  database::WeatherDatabase* db = sources.database;
  std::optional<database::WeatherDatabase> own;
  if (db == nullptr && sources.files != nullptr && !sources.stationDir.empty()) {
    own.emplace(*sources.files);
    (void)own->openReadOnly(sources.stationDir);
    db = &*own;
  }
  c.highsLows = computeHighsLows(db, today, readings, sources.station);
  return c;
}

}  // namespace publish
