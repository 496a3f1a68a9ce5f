// The link on a real terminal device (a pseudo-terminal): opening, exclusivity, speed, idle
// close. Few and short: each costs real time.
#include <gtest/gtest.h>

#include "link/cirrant_link.h"
#include "link/serial_port_manager.h"
#include "platform/posix_serial_port.h"
#include "platform/testing/mem_file_system.h"
#include "pty_console.h"
#include "pty_link_fixture.h"

namespace linktest {
namespace {

using stationlink::ConsoleLink;
using stationlink::LinkType;
using stationlink::PortParams;

TEST_F(PtyLinkTest, MissingDeviceIsMinus11) {
  stationlink::SerialPortManager manager(services_);
  ConsoleLink* link =
      manager.AddPort(params(LinkType::kCirrant, 19200, "/dev/stratalog-no-such-port"));
  platform::Status s = link->Open();
  EXPECT_EQ(s.code(), -11);
  EXPECT_EQ(link->lastError(), -11);
  EXPECT_TRUE(link->hasState(stationlink::kPortMissing));
}

TEST_F(PtyLinkTest, PortHeldByAnotherOpenIsMinus12) {
  auto held = opener_.open(pty_->slavePath(), platform::SerialSettings{});
  ASSERT_TRUE(held.isOk()) << held.status().toString();
  stationlink::SerialPortManager manager(services_);
  ConsoleLink* link = manager.AddPort(params(LinkType::kCirrant, 19200, pty_->slavePath()));
  EXPECT_EQ(link->Open().code(), -12);
  EXPECT_TRUE(link->hasState(stationlink::kPortBusy));
}

TEST_F(PtyLinkTest, ClassicLinkSetTo9600OpensAt2400) {
  stationlink::SerialPortManager manager(services_);
  ConsoleLink* link = manager.AddPort(params(LinkType::kClassic, 9600, pty_->slavePath()));
  ASSERT_TRUE(link->Open().isOk());
  EXPECT_EQ(pty_->slaveBaudRate(), 2400u);
}

TEST_F(PtyLinkTest, IdlePortClosesAndTheNextCommandReopensIt) {
  stationlink::SerialPortManager manager(services_);
  ConsoleLink* link = manager.AddPort(params(LinkType::kCirrant, 19200, pty_->slavePath()));
  PtyConsole console(*pty_);
  console.wake();
  console.onText("NEWSETUP\n", {0x06});
  ASSERT_TRUE(link->NewSetup().isOk());
  manager.tick();
  EXPECT_TRUE(link->hasState(stationlink::kPortOpen));
  manager.tick();
  EXPECT_FALSE(link->hasState(stationlink::kPortOpen));
  // The lock went with the port: another program could use it now.
  EXPECT_TRUE(opener_.open(pty_->slavePath(), platform::SerialSettings{}).isOk());

  console.wake();
  console.onText("NEWSETUP\n", {0x06});
  platform::Status again = link->NewSetup();
  EXPECT_TRUE(again.isOk()) << again.toString();
  EXPECT_TRUE(link->hasState(stationlink::kPortOpen));
}

}  // namespace
}  // namespace linktest
