// The link on a real terminal device (a pseudo-terminal): opening, exclusivity, speed, idle
// close and the event log. Few and short: each costs real time.
#include <gtest/gtest.h>

#include "frame/event_log.h"
#include "link/cirrant_link.h"
#include "link/link_event_log.h"
#include "link/serial_port_manager.h"
#include "platform/testing/mem_file_system.h"
#include "platform/posix_serial_port.h"
#include "pty_console.h"

namespace linktest {
namespace {

using stationlink::ConsoleLink;
using stationlink::LinkType;
using stationlink::PortParams;

class PtyLinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto pty = platform::TestPty::open();
    if (!pty) GTEST_SKIP() << "no pseudo-terminals here: " << pty.status().toString();
    pty_ = std::move(pty).value();
    services_.opener = &opener_;
    services_.clock = &platform::systemClock();
  }
  PortParams params(LinkType type, std::uint16_t baud, std::string device) const {
    PortParams p;
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

TEST_F(PtyLinkTest, NakInsteadOfAckIsMinus8WithOneEventLogLine) {
  platform::FakeClock logClock(platform::WallTime{}, 0);
  logClock.setLocal(2006, 3, 15, 14, 5);
  frame::EventLog log(files_, logClock, "/prog");
  services_.reportLine = stationlink::eventLogReporter(log);
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
            " 15/03/06 14:05 (Cumbre) GetAcknowledge () response: 0x15 (should be 0x06 <ACK>)");
}

}  // namespace
}  // namespace linktest
