#pragma once

// A link on a real terminal device (a pseudo-terminal) with the real serial-port opener:
// the fixture of the tests that need the operating system's own port handling.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "link/link_services.h"
#include "link/link_types.h"
#include "platform/posix_serial_port.h"
#include "platform/testing/mem_file_system.h"
#include "platform/testing/test_pty.h"

namespace linktest {

class PtyLinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto pty = platform::TestPty::open();
    if (!pty) GTEST_SKIP() << "no pseudo-terminals here: " << pty.status().toString();
    pty_ = std::move(pty).value();
    services_.opener = &opener_;
    services_.clock = &platform::systemClock();
  }
  stationlink::PortParams params(stationlink::LinkType type, std::uint16_t baud,
                                 std::string device) const {
    stationlink::PortParams p;
    p.portNumber = 7;
    p.devicePath = std::move(device);
    p.baudRate = baud;
    p.linkType = type;
    p.idleSeconds = 2;
    p.label = "Cumbre";
    return p;
  }

  platform::MemFileSystem files_;
  platform::PosixSerialPortOpener opener_{files_, "/prog", platform::systemClock()};
  stationlink::LinkServices services_;
  std::unique_ptr<platform::TestPty> pty_;
};

}  // namespace linktest
