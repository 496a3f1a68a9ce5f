#include "frame/program_wiring.h"

#include "frame/archive_download_runner.h"

namespace frame {

ProgramWiring makeProgramWiring(platform::Env& env) {
  ProgramWiring w;
  w.stations = makeStationServices(env);
  w.downloads = makeArchiveDownloadRunner(env);
  return w;
}

}  // namespace frame
