#include "frame/program_wiring.h"

namespace frame {

ProgramWiring makeProgramWiring(platform::Env& env) {
  ProgramWiring w;
  w.stations = makeFileStationServices(*env.files);
  return w;
}

}  // namespace frame
