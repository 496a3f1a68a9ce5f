#include "frame/publish_readings.h"

#include <string>

#include "frame/link_error_table.h"
#include "frame/program.h"
#include "link/current_conditions.h"
#include "link/realtime_manager.h"
#include "platform/string_table.h"

namespace frame {

namespace {

constexpr int kMsgNoFreeLink = 65405;

}  // namespace

platform::Result<publish::PublishContext> readPublishContext(Program& program) {
  stationlink::ConsoleLink* link = program.stations().stationLink();
  if (link == nullptr) return platform::Status::busy(platform::loadString(kMsgNoFreeLink));
  auto image = stationlink::readCurrentConditions(*link);
  if (!image) {
    const platform::Status& s = image.status();
    return platform::Status(s.kind(), std::string(linkErrorText(s.code())), s.code());
  }
  publish::PublishSources sources;
  sources.station = *program.currentStation();
  sources.stationDir = program.currentStationDir();
  sources.files = &program.files();
  sources.database = program.stations().database();
  sources.current = *image;
  if (program.realtime().running()) sources.windHistory = &program.realtime().windHistory();
  sources.clock = &program.clock();
  sources.conventions = program.conventions();
  return publish::buildPublishContext(sources);
}

}  // namespace frame
