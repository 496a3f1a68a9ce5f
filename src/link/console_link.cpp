#include "link/console_link.h"

#include <algorithm>
#include <new>

#include "link/crc16.h"

namespace stationlink {

namespace {

constexpr std::size_t kReceiveBufferBytes = 512;

}  // namespace

ConsoleLink::ConsoleLink(const PortParams& params, LinkServices services)
    : params_(params), services_(std::move(services)) {
  if (!services_.opener) services_.opener = &platform::defaultSerialPortOpener();
  if (!services_.clock) services_.clock = &platform::systemClock();
  if (params_.modem != 0) state_ |= kModemLine;
}

ConsoleLink::~ConsoleLink() { Close(); }

platform::Status ConsoleLink::fail(std::uint32_t flags, int code, std::string message) {
  state_ |= kLinkError | flags;
  lastError_ = code;
  if (!params_.label.empty()) message = params_.label + ": " + message;
  return linkFailure(code, std::move(message));
}

platform::Status ConsoleLink::notSupported(const char* operation) const {
  return platform::Status(platform::Errc::kUnsupported,
                          std::string(operation) + " is not supported by this console", kErrFailed);
}

void ConsoleLink::wait(int ms) {
  if (services_.pump) services_.pump();
  if (ms > 0) services_.clock->sleepFor(std::chrono::milliseconds(ms));
}

void ConsoleLink::logLine(std::string_view line) {
  if (services_.reportLine) services_.reportLine(params_.label, line);
}

void ConsoleLink::setCallConnected(bool connected) {
  if (connected) {
    state_ |= kCallConnected;
  } else {
    state_ &= ~(kCallConnected | kLinkReady);
  }
}

platform::Status ConsoleLink::Open() {
  if (!(state_ & kConfigured)) return fail(kOtherFailure, kErrFailed, "link not configured");
  if (state_ & kLinkReady) {
    reloadIdleCountdown();
    return platform::Status::ok();
  }
  state_ &= ~kNoAcknowledge;
  if (!(state_ & kPortOpen)) {
    try {
      receive_.assign(kReceiveBufferBytes, 0);
    } catch (const std::bad_alloc&) {
      return fail(kOtherFailure, kErrFailed, "no memory for the receive buffer");
    }
    std::string name =
        params_.devicePath.empty() ? std::to_string(params_.portNumber) : params_.devicePath;
    platform::SerialSettings settings;
    settings.baudRate = params_.baudRate;
    settings.ctsDsrFlowControl = params_.linkType != LinkType::kClassic || params_.modem != 0;
    auto opened = services_.opener->open(name, settings);
    if (!opened) {
      receive_.clear();
      const platform::Status& s = opened.status();
      if (s.code() == kErrPortMissing)
        return fail(kPortMissing | kOtherFailure, s.code(), s.message());
      if (s.code() == kErrPortBusy) return fail(kPortBusy | kOtherFailure, s.code(), s.message());
      return fail(kOtherFailure, s.code() != 0 ? s.code() : kErrFailed, s.message());
    }
    port_ = std::move(opened).value();
    lastTraffic_ = services_.clock->now();  // what the line held before the open is unknown
    state_ |= kPortOpen;
    SetTimeoutProfile(params_.linkType == LinkType::kClassic ? TimeoutProfile::kClassic
                                                             : TimeoutProfile::kDefault);
    SaveTimeouts();
    reloadIdleCountdown();
  }
  if (params_.modem != 0 && params_.linkType != LinkType::kPlain) {
    if (!services_.dial) return fail(kOtherFailure, kErrFailed, "no modem dialler available");
    if (platform::Status s = services_.dial(*this); !s || !(state_ & kCallConnected)) {
      if (lastError_ == 0) lastError_ = kErrFailed;
      return s ? fail(kOtherFailure, lastError_, "the modem call did not connect") : s;
    }
    SetTimeoutProfile(TimeoutProfile::kDefault);
  }
  state_ |= kLinkReady;
  readAhead_ = -1;
  received_ = 0;
  lastError_ = 0;
  crc_ = 0;
  return platform::Status::ok();
}

void ConsoleLink::Close() {
  if ((state_ & kModemLine) && (state_ & kCallConnected)) HangUp();
  port_.reset();
  justFlushed_ = false;
  receive_.clear();
  receive_.shrink_to_fit();
  page_.clear();
  page_.shrink_to_fit();
  state_ &= ~(kPortOpen | kCallConnected | kLinkReady);
  idleCountdown_ = 0;
}

void ConsoleLink::HangUp() {
  if (!port_) return;
  (void)port_->setDtr(false);
  justFlushed_ = false;
  wait(500);
  wait(500);
  (void)port_->setDtr(true);
  state_ &= ~(kCallConnected | kLinkReady);
}

void ConsoleLink::idleTick() {
  if (idleCountdown_ <= 0) return;
  if (--idleCountdown_ == 0 && (state_ & kPortOpen)) Close();
}

void ConsoleLink::SaveTimeouts() {
  if (port_) saved_ = port_->timeouts();
}

void ConsoleLink::RestoreTimeouts() {
  if (port_) port_->setTimeouts(saved_);
}

void ConsoleLink::SetTimeoutProfile(TimeoutProfile profile) {
  if (!port_) return;
  port_->setTimeouts(timeoutProfile(effectiveProfile(profile, (state_ & kModemLine) != 0)));
}

platform::Status ConsoleLink::Flush() {
  if (!port_) return fail(kOtherFailure, kErrFailed, "port not open");
  // Nothing was sent since the last flush, so the console has nothing new to say: what may
  // have trickled in since is dropped with the system's buffer, without waiting for it.
  if (justFlushed_) {
    (void)port_->purge(true, false);
    readAhead_ = -1;
    received_ = 0;
    return platform::Status::ok();
  }
  // A console that keeps talking (a LOOP stream nobody stopped) must not hold the program
  // here: the flush gives up after this long, or this many chunks on a clock that does not
  // move.
  constexpr auto kFlushLimit = std::chrono::milliseconds(2000);
  constexpr int kMaxChunks = 256;
  platform::SerialTimeouts before = port_->timeouts();
  port_->setTimeouts(timeoutProfile(TimeoutProfile::kFlush));
  constexpr auto kSettle = std::chrono::milliseconds(20);
  const auto quiet = services_.clock->now() - lastTraffic_;
  wait(quiet >= kSettle ? 0
                        : static_cast<int>(
                              std::chrono::ceil<std::chrono::milliseconds>(kSettle - quiet).count()));
  const platform::Instant start = services_.clock->now();
  platform::Status result;
  std::uint8_t chunk[32];
  for (int i = 0; i < kMaxChunks && services_.clock->now() - start < kFlushLimit; ++i) {
    auto got = port_->read(chunk);
    if (!got) {
      state_ |= kLinkError;
      lastError_ = got.status().code() != 0 ? got.status().code() : kErrRead;
      result = got.status();
      break;
    }
    if (*got < sizeof chunk) break;
  }
  port_->setTimeouts(before);
  (void)port_->purge(true, false);
  readAhead_ = -1;
  received_ = 0;
  justFlushed_ = result.isOk();
  return result;
}

platform::Status ConsoleLink::readFailure(const platform::Status& cause) {
  int code = cause.code() != 0 ? cause.code() : kErrRead;
  return fail(kLineError, code, "serial read failed: " + cause.message());
}

platform::Result<std::size_t> ConsoleLink::readSome(std::span<std::uint8_t> into) {
  if (!port_) return fail(kOtherFailure, kErrFailed, "port not open");
  justFlushed_ = false;
  std::size_t got = 0;
  if (readAhead_ >= 0 && !into.empty()) {
    into[0] = static_cast<std::uint8_t>(readAhead_);
    readAhead_ = -1;
    got = 1;
  }
  if (got < into.size()) {
    auto r = port_->read(into.subspan(got));
    lastTraffic_ = services_.clock->now();
    if (!r) return readFailure(r.status());
    got += *r;
  }
  if (got > 0) {
    received_ += static_cast<std::uint32_t>(got);
    reloadIdleCountdown();
    lastError_ = 0;
  }
  return got;
}

platform::Result<std::uint8_t> ConsoleLink::ReadByte() {
  if (services_.pump) services_.pump();
  std::uint8_t byte = 0;
  auto got = readSome(std::span(&byte, 1));
  if (!got) return got.status();
  if (*got == 0) return fail(kTimedOut, kErrTimeout, "no answer from the console");
  return byte;
}

platform::Result<std::size_t> ConsoleLink::ReadAvailable(std::span<std::uint8_t> into) {
  auto got = readSome(into);
  if (!got) return got.status();
  if (*got == 0) return fail(kTimedOut, kErrTimeout, "no answer from the console");
  return got;
}

platform::Status ConsoleLink::ReadBlock(std::size_t n) {
  if (!port_) return fail(kOtherFailure, kErrFailed, "port not open");
  if (n > receive_.size()) {
    return fail(kOtherFailure, kErrFailed,
                "a block of " + std::to_string(n) + " bytes does not fit the receive buffer");
  }
  auto got = readSome(std::span(receive_).first(n));
  if (!got) return got.status();
  if (*got < n) {
    return fail(kTimedOut, kErrTimeout,
                "console sent " + std::to_string(*got) + " of " + std::to_string(n) + " bytes");
  }
  return platform::Status::ok();
}

platform::Status ConsoleLink::ReadBlockCrc(std::size_t n) {
  crc_ = 0;
  if (platform::Status s = ReadBlock(n); !s) return s;
  crc_ = crc16(std::span(receive_).first(n));
  if (crc_ != 0) return fail(kCrcError, kErrCrc, "CRC error in a block from the console");
  return platform::Status::ok();
}

platform::Status ConsoleLink::WriteBytes(std::span<const std::uint8_t> bytes) {
  if (!port_) return fail(kOtherFailure, kErrFailed, "port not open");
  justFlushed_ = false;
  auto done = port_->write(bytes);
  lastTraffic_ = services_.clock->now();
  if (!done) {
    int code = done.status().code() != 0 ? done.status().code() : kErrWrite;
    return fail(kLineError, code, "serial write failed: " + done.status().message());
  }
  if (*done < bytes.size()) return fail(kTimedOut, kErrTimeout, "serial write timed out");
  reloadIdleCountdown();
  return platform::Status::ok();
}

platform::Status ConsoleLink::WriteByte(std::uint8_t byte) {
  return WriteBytes(std::span(&byte, 1));
}

platform::Status ConsoleLink::WriteString(std::string_view text) {
  return WriteBytes(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

platform::Status ConsoleLink::WriteWord(std::uint16_t word) {
  const std::uint8_t bytes[2] = {static_cast<std::uint8_t>(word & 0xFF),
                                 static_cast<std::uint8_t>(word >> 8)};
  return WriteBytes(bytes);
}

platform::Status ConsoleLink::WriteWordCrc(std::uint16_t word) {
  const std::uint8_t bytes[2] = {static_cast<std::uint8_t>(word & 0xFF),
                                 static_cast<std::uint8_t>(word >> 8)};
  crc_ = crc16(bytes, crc_);
  return WriteBytes(bytes);
}

platform::Status ConsoleLink::WriteCrc() {
  const std::uint8_t bytes[2] = {static_cast<std::uint8_t>(crc_ >> 8),
                                 static_cast<std::uint8_t>(crc_ & 0xFF)};
  return WriteBytes(bytes);
}

platform::Status ConsoleLink::WriteBlockCrc(std::span<const std::uint8_t> data) {
  std::vector<std::uint8_t> block(data.begin(), data.end());
  crc_ = crc16(data);
  block.push_back(static_cast<std::uint8_t>(crc_ >> 8));
  block.push_back(static_cast<std::uint8_t>(crc_ & 0xFF));
  return WriteBytes(block);
}

platform::Status ConsoleLink::resizeBuffers(std::size_t receiveBytes, std::size_t pageBytes) {
  try {
    receive_.assign(std::max(receiveBytes, kReceiveBufferBytes), 0);
    page_.assign(pageBytes, 0);
    if (pageBytes == 0) page_.shrink_to_fit();
  } catch (const std::bad_alloc&) {
    receive_.assign(kReceiveBufferBytes, 0);
    page_.clear();
    return fail(kOtherFailure, kErrFailed, "no memory for the download buffers");
  }
  return platform::Status::ok();
}

}  // namespace stationlink
