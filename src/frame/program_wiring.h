#pragma once

#include <memory>

#include "frame/download_runner.h"
#include "frame/station_services.h"
#include "platform/env.h"

namespace frame {

// The parts of the program that other subsystems provide: the station open sequence
// with database, rain database and link, and the archive download. This is the one place
// where they are chosen for a real run.
struct ProgramWiring {
  std::unique_ptr<StationServices> stations;
  std::unique_ptr<DownloadRunner> downloads;  // null while no download exists
};

ProgramWiring makeProgramWiring(platform::Env& env);

}  // namespace frame
