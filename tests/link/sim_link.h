#pragma once

#include <memory>
#include <string>

#include "link/cirrant_link.h"
#include "platform/clock.h"
#include "platform/serial_port.h"

namespace linktest {

// A Cirrant link at 19200 baud on port 1, opened through `opener` (an in-process console)
// and timed by the fake clock.
inline std::unique_ptr<stationlink::CirrantLink> simCirrantLink(platform::SerialPortOpener& opener,
                                                                platform::FakeClock& clock,
                                                                std::string label = "Cumbre") {
  stationlink::LinkServices services;
  services.opener = &opener;
  services.clock = &clock;
  stationlink::PortParams params;
  params.portNumber = 1;
  params.baudRate = 19200;
  params.linkType = stationlink::LinkType::kCirrant;
  params.idleSeconds = 60;
  params.label = std::move(label);
  return std::make_unique<stationlink::CirrantLink>(params, services);
}

}  // namespace linktest
