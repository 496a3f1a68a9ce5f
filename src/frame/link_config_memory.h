#pragma once

#include <cstdint>
#include <vector>

#include "link/console_link.h"
#include "station/console_password.h"

namespace frame {

// The console's configuration memory over a console link, with every address checked
// against the memory's 64 KiB before it reaches the console.
class LinkConfigMemory : public station::ConsoleConfigMemory {
 public:
  explicit LinkConfigMemory(stationlink::ConsoleLink& link) : link_(link) {}

  platform::Result<std::vector<std::uint8_t>> eepromRead(int address, int count) override {
    if (address < 0 || count <= 0 || address + count > 0x10000) {
      return platform::Status::badArgument("configuration memory range out of bounds");
    }
    std::vector<std::uint8_t> out(static_cast<std::size_t>(count));
    if (platform::Status s = link_.EepromRead(out, static_cast<std::uint16_t>(address)); !s)
      return s;
    return out;
  }
  platform::Status eepromWriteByte(int address, std::uint8_t value) override {
    if (address < 0 || address > 0xFFFF) {
      return platform::Status::badArgument("configuration memory address out of bounds");
    }
    return link_.EepromWriteByte(static_cast<std::uint16_t>(address), value);
  }

 private:
  stationlink::ConsoleLink& link_;
};

}  // namespace frame
