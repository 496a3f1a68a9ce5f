// A link error on a real terminal device (a pseudo-terminal) reaches the event log as one
// line under the link's label.
#include <gtest/gtest.h>

#include "frame/event_log.h"
#include "link/cirrant_link.h"
#include "link/pty_console.h"
#include "link/pty_link_fixture.h"
#include "link/serial_port_manager.h"

namespace linktest {
namespace {

using stationlink::ConsoleLink;
using stationlink::LinkType;
using stationlink::PortParams;

using LinkEventLogTest = PtyLinkTest;

TEST_F(LinkEventLogTest, NakInsteadOfAckIsMinus8WithOneEventLogLine) {
  platform::FakeClock logClock(platform::WallTime{}, 0);
  logClock.setLocal(2006, 3, 15, 14, 5);
  frame::EventLog log(files_, logClock, "/prog");
  services_.reportLine = [&log](std::string_view source, std::string_view line) {
    (void)log.append(line, source);
  };
  stationlink::SerialPortManager manager(services_);
  ConsoleLink* link = manager.AddPort(params(LinkType::kCirrant, 19200, pty_->slavePath()));
  PtyConsole console(*pty_);
  console.wake();
  console.onText("NEWSETUP\n", {0x15});

  EXPECT_EQ(link->NewSetup().code(), -8);
  auto lines = log.readLines();
  ASSERT_TRUE(lines.isOk()) << lines.status().toString();
  ASSERT_EQ(lines->size(), 1u);
  EXPECT_EQ((*lines)[0],
            " 15-03-06 14:05 (Cumbre) GetAcknowledge () response: 0x15 (should be 0x06 <ACK>)");
}

}  // namespace
}  // namespace linktest
