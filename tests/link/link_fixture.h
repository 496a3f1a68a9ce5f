#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "link/cirrant_link.h"
#include "link/crc16.h"
#include "scripted_port.h"

namespace linktest {

// Data followed by its CRC, high byte first, as the console sends a block.
inline Bytes withCrc(Bytes data) {
  const std::uint16_t crc = stationlink::crc16(data);
  data.push_back(static_cast<std::uint8_t>(crc >> 8));
  data.push_back(static_cast<std::uint8_t>(crc & 0xFF));
  return data;
}

inline const Bytes kAckByte = {0x06};
inline const Bytes kOkReply = {0x0A, 0x0D, 'O', 'K', 0x0A, 0x0D};
inline const Bytes kDoneReply = {'D', 'O', 'N', 'E', 0x0A, 0x0D};

// A Cirrant link on a scripted line and a fake clock, with the event-log lines it writes.
class CirrantFixture : public ::testing::Test {
 protected:
  CirrantFixture()
      : wire_(std::make_shared<Wire>(clock_)), opener_(wire_), link_(params(), services()) {}

  static stationlink::PortParams params() {
    stationlink::PortParams p;
    p.portNumber = 1;
    p.baudRate = 19200;
    p.linkType = stationlink::LinkType::kCirrant;
    p.idleSeconds = 60;
    p.label = "Cumbre";
    return p;
  }
  stationlink::LinkServices services() {
    stationlink::LinkServices s;
    s.opener = &opener_;
    s.clock = &clock_;
    s.reportLine = [this](std::string_view source, std::string_view line) {
      logged_.emplace_back(std::string(source), std::string(line));
    };
    return s;
  }
  std::string written() const { return std::string(wire_->written.begin(), wire_->written.end()); }
  std::chrono::milliseconds elapsed() const { return clock_.now().time_since_epoch(); }

  platform::FakeClock clock_;
  std::shared_ptr<Wire> wire_;
  ScriptedOpener opener_;
  std::vector<std::pair<std::string, std::string>> logged_;
  stationlink::CirrantLink link_;
};

}  // namespace linktest
