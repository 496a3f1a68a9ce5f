#pragma once

// A serial line played by a test: the console's answers are queued when the program has
// written what the script expects, and every wait for bytes that never come moves the fake
// clock to the moment the read would give up.

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"
#include "platform/serial_port.h"

namespace linktest {

using Bytes = std::vector<std::uint8_t>;

inline Bytes bytes(std::string_view text) { return Bytes(text.begin(), text.end()); }
inline Bytes cat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

struct Wire {
  explicit Wire(platform::FakeClock& c) : clock(c) {}

  // When the bytes written since the previous step end with `expect`, `reply` is queued.
  void on(Bytes expect, Bytes reply) { steps.push_back({std::move(expect), std::move(reply)}); }
  void onText(std::string_view expect, Bytes reply) { on(bytes(expect), std::move(reply)); }
  // The console's LF CR answer to a wake-up LF.
  void wake() { on({0x0A}, {0x0A, 0x0D}); }

  platform::FakeClock& clock;
  std::deque<std::uint8_t> input;
  Bytes written;
  std::size_t stepStart = 0;
  struct Step {
    Bytes expect;
    Bytes reply;
  };
  std::deque<Step> steps;
  // Bytes that keep arriving however much is read (a console that never falls silent).
  bool chatter = false;
  int opens = 0;
  int openPorts = 0;
  platform::SerialSettings lastSettings;
  int failOpenCode = 0;
};

class ScriptedPort : public platform::SerialPort {
 public:
  explicit ScriptedPort(std::shared_ptr<Wire> wire) : wire_(std::move(wire)) { ++wire_->openPorts; }
  ~ScriptedPort() override { --wire_->openPorts; }

  platform::Result<std::size_t> readWithin(std::span<std::uint8_t> into,
                                           const platform::SerialTimeouts& t) override {
    std::size_t got = 0;
    while (got < into.size() && (wire_->chatter || !wire_->input.empty())) {
      if (wire_->chatter && wire_->input.empty()) {
        into[got++] = 0x55;
        continue;
      }
      into[got++] = wire_->input.front();
      wire_->input.pop_front();
    }
    if (got < into.size()) {
      const std::uint64_t waited =
          (t.readIntervalMs != 0 && got > 0) ? t.readIntervalMs : t.readTotalMs(into.size());
      wire_->clock.advance(std::chrono::milliseconds(waited));
    } else if (wire_->chatter) {
      // Bytes arriving at 19200 baud take about half a millisecond each.
      wire_->clock.advance(std::chrono::milliseconds(into.size() / 2));
    }
    return got;
  }

  platform::Result<std::size_t> writeWithin(std::span<const std::uint8_t> data,
                                            const platform::SerialTimeouts&) override {
    for (std::uint8_t b : data) {
      wire_->written.push_back(b);
      if (wire_->steps.empty()) continue;
      const Bytes& expect = wire_->steps.front().expect;
      const std::size_t since = wire_->written.size() - wire_->stepStart;
      if (since >= expect.size() &&
          std::equal(expect.begin(), expect.end(), wire_->written.end() - expect.size())) {
        const Bytes& reply = wire_->steps.front().reply;
        wire_->input.insert(wire_->input.end(), reply.begin(), reply.end());
        wire_->steps.pop_front();
        wire_->stepStart = wire_->written.size();
      }
    }
    return data.size();
  }

  platform::Status purge(bool input, bool) override {
    if (input) wire_->input.clear();
    return platform::Status::ok();
  }
  platform::Status setDtr(bool) override { return platform::Status::ok(); }
  platform::Status setBaudRate(std::uint32_t b) override {
    baud_ = b;
    return platform::Status::ok();
  }
  std::uint32_t baudRate() const override { return baud_; }

 private:
  std::shared_ptr<Wire> wire_;
  std::uint32_t baud_ = 19200;
};

class ScriptedOpener : public platform::SerialPortOpener {
 public:
  explicit ScriptedOpener(std::shared_ptr<Wire> wire) : wire_(std::move(wire)) {}
  platform::Result<std::unique_ptr<platform::SerialPort>> open(
      const std::string& port, const platform::SerialSettings& settings) override {
    if (wire_->failOpenCode != 0) {
      return platform::Status(platform::Errc::kIo, "cannot open " + port, wire_->failOpenCode);
    }
    ++wire_->opens;
    wire_->lastSettings = settings;
    return std::unique_ptr<platform::SerialPort>(std::make_unique<ScriptedPort>(wire_));
  }

 private:
  std::shared_ptr<Wire> wire_;
};

}  // namespace linktest
