#include "consolesim/sim_serial_port.h"

#include <algorithm>

namespace consolesim {
namespace {

platform::Status brokenLine() { return platform::Status::io("simulated console: line broken", 5); }

}  // namespace

SimSerialPort::SimSerialPort(ConsoleEngine& engine, platform::FakeClock& clock)
    : engine_(engine), clock_(clock) {}

void SimSerialPort::advanceTo(platform::Instant t) {
  if (t > clock_.now()) clock_.advance(t - clock_.now());
}

platform::Result<std::size_t> SimSerialPort::readWithin(std::span<std::uint8_t> into,
                                                        const platform::SerialTimeouts& timeouts) {
  if (broken_) return brokenLine();
  const platform::Instant start = clock_.now();
  const platform::Instant deadline =
      start + std::chrono::milliseconds(timeouts.readTotalMs(into.size()));
  const std::chrono::milliseconds gap(timeouts.readIntervalMs);
  std::size_t got = 0;
  platform::Instant lastByte = start;
  while (got < into.size()) {
    // With DTR down (speed 0) nothing reaches the port.
    const std::size_t n = dtr_ ? engine_.transmit(into.subspan(got)) : 0;
    if (n > 0) {
      got += n;
      lastByte = clock_.now();
      continue;
    }
    platform::Instant end = deadline;
    if (gap.count() > 0 && got > 0) end = std::min(end, lastByte + gap);
    const auto next = engine_.nextOutputAt();
    if (dtr_ && next && *next <= end && *next > clock_.now()) {
      advanceTo(*next);
      continue;
    }
    advanceTo(end);
    if (dtr_) got += engine_.transmit(into.subspan(got));
    break;
  }
  return got;
}

platform::Result<std::size_t> SimSerialPort::writeWithin(std::span<const std::uint8_t> bytes,
                                                         const platform::SerialTimeouts&) {
  if (broken_) return brokenLine();
  written_.insert(written_.end(), bytes.begin(), bytes.end());
  if (dtr_) engine_.receive(bytes);
  return bytes.size();
}

platform::Status SimSerialPort::purge(bool input, bool) {
  if (broken_) return brokenLine();
  if (input) engine_.discardDueOutput();
  return platform::Status::ok();
}

platform::Status SimSerialPort::setDtr(bool asserted) {
  if (broken_) return brokenLine();
  dtr_ = asserted;
  return platform::Status::ok();
}

platform::Status SimSerialPort::setBaudRate(std::uint32_t baudRate) {
  if (broken_) return brokenLine();
  if (baudRate == 0) return platform::Status::badArgument("baud rate 0");
  baudRate_ = baudRate;
  engine_.setBaudRate(baudRate);  // pacing follows the line speed
  return platform::Status::ok();
}

}  // namespace consolesim
