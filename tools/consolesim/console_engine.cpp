#include "consolesim/console_engine.h"

#include <algorithm>

#include "consolesim/wire.h"

namespace consolesim {
namespace {

// The longest text command the console buffers; anything longer is refused whole.
constexpr std::size_t kMaxLine = 64;

bool validInterval(int minutes) {
  switch (minutes) {
    case 1:
    case 5:
    case 10:
    case 15:
    case 30:
    case 60:
    case 120:
      return true;
    default:
      return false;
  }
}

}  // namespace

ConsoleEngine::ConsoleEngine(const platform::Clock& clock, EngineOptions options)
    : clock_(clock),
      options_(std::move(options)),
      model_(options_.seed),
      memory_(options_.archiveIntervalMinutes),
      faults_(options_.seed ^ 0x5EEDFA17ull),
      layout_(layoutForFirmware(options_.firmware)) {
  suite_.solarAndUv = options_.solarAndUv;
  for (const FaultRule& r : options_.faults) faults_.add(r);
  if (options_.baudRate == 0) options_.baudRate = 1;
  baseMonoMs_ = clock_.now().time_since_epoch().count();
  baseLocal_ = localSecondsFromCivil(options_.start ? *options_.start : clock_.localNow());
  lineFreeUs_ = nowUs();
  // Pre-fill the archive with the history asked for; update() keeps only what the ring holds.
  activeInterval_ = memory_.archiveIntervalMinutes();
  if (validInterval(activeInterval_)) {
    const LocalSeconds span = activeInterval_ * 60LL;
    const LocalSeconds from = baseLocal_ - std::max(0, options_.historyDays) * 86400LL;
    nextArchiveAt_ = (from / span + 1) * span;
  }
  update();
}

std::int64_t ConsoleEngine::nowUs() const { return clock_.now().time_since_epoch().count() * 1000; }

LocalSeconds ConsoleEngine::consoleSeconds() const {
  const std::int64_t elapsedMs = clock_.now().time_since_epoch().count() - baseMonoMs_;
  return baseLocal_ + (elapsedMs >= 0 ? elapsedMs / 1000 : -((-elapsedMs + 999) / 1000));
}

void ConsoleEngine::setConsoleTime(const platform::CivilTime& local) {
  baseLocal_ = localSecondsFromCivil(local);
  baseMonoMs_ = clock_.now().time_since_epoch().count();
  // The next record closes the first interval after the new time.
  activeInterval_ = 0;
  update();
}

void ConsoleEngine::update() {
  if (deadUntilUs_ >= 0 && nowUs() >= deadUntilUs_) deadUntilUs_ = -1;
  archiveDueRecords();
  if (mode_ == Mode::kBinary && nowUs() > binaryDeadlineUs_) mode_ = Mode::kIdle;
  if ((mode_ == Mode::kDumpStart || mode_ == Mode::kDumpPage) && nowUs() > dumpDeadlineUs_) {
    mode_ = Mode::kIdle;
    dumpPages_.clear();
  }
  emitDueLoopPackets();
}

void ConsoleEngine::archiveDueRecords() {
  const int interval = memory_.archiveIntervalMinutes();
  // An interval the console does not know (0 included) stops archiving.
  if (!validInterval(interval)) {
    activeInterval_ = 0;
    return;
  }
  const LocalSeconds now = consoleSeconds();
  const LocalSeconds span = interval * 60LL;
  if (interval != activeInterval_) {
    activeInterval_ = interval;
    nextArchiveAt_ = (now / span + 1) * span;
  }
  if (nextArchiveAt_ > now) return;
  // After a long gap only the newest records fit in the ring; skip the rest unbuilt.
  const LocalSeconds due = (now - nextArchiveAt_) / span + 1;
  if (due > static_cast<LocalSeconds>(kArchiveSlots)) {
    nextArchiveAt_ += (due - static_cast<LocalSeconds>(kArchiveSlots)) * span;
  }
  for (; nextArchiveAt_ <= now; nextArchiveAt_ += span) {
    ring_.append(encodeArchiveRecord(model_, memory_, suite_, nextArchiveAt_, interval, layout_));
  }
}

void ConsoleEngine::emitDueLoopPackets() {
  const std::int64_t periodUs = options_.loopPeriod.count() * 1000;
  while (mode_ == Mode::kLoop && loopRemaining_ > 0 && nextLoopUs_ <= nowUs()) {
    LoopTotals totals;
    totals.yearRainOffset = yearRainOffset_;
    totals.nextArchiveSlot = static_cast<std::uint16_t>(ring_.nextSlot());
    LoopPacket p = encodeLoopPacket(model_, memory_, suite_, consoleSeconds(), totals);
    if (faults_.fire(FaultKind::kCrcLoop)) p[98] ^= 0x5A;
    const std::int64_t at = nextLoopUs_;
    --loopRemaining_;
    nextLoopUs_ += std::max<std::int64_t>(periodUs, 1000);
    if (faults_.fire(FaultKind::kDropByte)) {
      std::vector<std::uint8_t> cut(p.begin(), p.end());
      cut.erase(cut.begin() + static_cast<std::ptrdiff_t>(faults_.draw(cut.size())));
      queue(cut, at);
    } else {
      queue(p, at);
    }
    if (loopRemaining_ == 0) mode_ = Mode::kIdle;
  }
}

void ConsoleEngine::queue(std::span<const std::uint8_t> bytes, std::int64_t atUs) {
  if (deadUntilUs_ >= 0) return;
  // Each byte is ready once its 10 bits have left the console; counting from the start of
  // the burst keeps the rounding from piling up over a page.
  const std::int64_t start = std::max(atUs, lineFreeUs_);
  std::int64_t t = start;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (options_.pace) {
      t = start + static_cast<std::int64_t>((i + 1) * 10'000'000ull / options_.baudRate);
    }
    out_.push_back({t, bytes[i]});
  }
  lineFreeUs_ = t;
}

void ConsoleEngine::reply(std::span<const std::uint8_t> bytes) {
  std::vector<std::uint8_t> unit(bytes.begin(), bytes.end());
  if (faults_.fire(FaultKind::kGarbage)) {
    const std::size_t n = 1 + faults_.draw(4);
    for (std::size_t i = 0; i < n; ++i) {
      unit.insert(unit.begin(), static_cast<std::uint8_t>(0x80 | faults_.draw(0x80)));
    }
  }
  if (!unit.empty() && faults_.fire(FaultKind::kDropByte)) {
    unit.erase(unit.begin() + static_cast<std::ptrdiff_t>(faults_.draw(unit.size())));
  }
  queue(unit, nowUs());
}

void ConsoleEngine::replyText(std::string_view text) {
  reply(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

bool ConsoleEngine::replyAck() {
  if (faults_.fire(FaultKind::kNak)) {
    replyNak();
    return false;
  }
  if (faults_.fire(FaultKind::kWrongAck)) {
    const std::uint8_t other = '!';
    reply(std::span(&other, 1));
    return false;
  }
  const std::uint8_t ack = kAck;
  reply(std::span(&ack, 1));
  return true;
}

void ConsoleEngine::replyNak() {
  const std::uint8_t nak = kNak;
  reply(std::span(&nak, 1));
}

void ConsoleEngine::replyOk() { replyText("\n\rOK\n\r"); }

void ConsoleEngine::replyBlock(std::vector<std::uint8_t> data) {
  appendCrc(data);
  if (faults_.fire(FaultKind::kCrcBlock)) data.back() ^= 0x5A;
  reply(data);
}

std::optional<platform::Instant> ConsoleEngine::nextOutputAt() {
  update();
  std::optional<std::int64_t> us;
  if (!out_.empty()) us = out_.front().readyUs;
  if (mode_ == Mode::kLoop && loopRemaining_ > 0 && (!us || nextLoopUs_ < *us)) us = nextLoopUs_;
  if (!us) return std::nullopt;
  // Round up: a byte due within a millisecond is not there before that millisecond ends.
  return platform::Instant{std::chrono::milliseconds{(*us + 999) / 1000}};
}

std::size_t ConsoleEngine::transmit(std::span<std::uint8_t> into) {
  update();
  const std::int64_t now = nowUs();
  std::size_t n = 0;
  while (n < into.size() && !out_.empty() && out_.front().readyUs <= now) {
    into[n++] = out_.front().byte;
    out_.pop_front();
  }
  return n;
}

void ConsoleEngine::discardDueOutput() {
  update();
  const std::int64_t now = nowUs();
  while (!out_.empty() && out_.front().readyUs <= now) out_.pop_front();
}

bool ConsoleEngine::lineDead() {
  update();
  return deadUntilUs_ >= 0;
}

const ConfigMemory& ConsoleEngine::memory() {
  update();
  return memory_;
}

ConfigMemory& ConsoleEngine::mutableMemory() {
  update();
  return memory_;
}

const ArchiveRing& ConsoleEngine::archive() {
  update();
  return ring_;
}

platform::CivilTime ConsoleEngine::consoleTime() { return civilFromLocalSeconds(consoleSeconds()); }

void ConsoleEngine::receive(std::span<const std::uint8_t> bytes) {
  update();
  if (deadUntilUs_ >= 0) return;
  for (std::uint8_t b : bytes) {
    onByte(b);
    if (deadUntilUs_ >= 0) return;
  }
}

void ConsoleEngine::onByte(std::uint8_t b) {
  switch (mode_) {
    case Mode::kIdle:
      onIdleByte(b);
      break;
    case Mode::kBinary:
      onBinaryByte(b);
      break;
    case Mode::kDumpStart:
    case Mode::kDumpPage:
      onDumpByte(b);
      break;
    case Mode::kLoop:
      // Any byte ends a LOOP stream; the byte itself is swallowed.
      loopRemaining_ = 0;
      mode_ = Mode::kIdle;
      break;
  }
}

void ConsoleEngine::onIdleByte(std::uint8_t b) {
  if (b == kLf || b == kCr) {
    std::string line;
    line.swap(line_);
    const bool overflow = lineOverflow_;
    lineOverflow_ = false;
    ++counters_.commands;
    if (faults_.fire(FaultKind::kNoReply)) return;  // the console never heard it
    if (faults_.fire(FaultKind::kDisconnect)) {
      deadUntilUs_ = nowUs() + options_.disconnectFor.count() * 1000;
      out_.clear();
      mode_ = Mode::kIdle;
      return;
    }
    if (overflow) {
      replyNak();
    } else if (line.empty()) {
      replyText("\n\r");  // wake-up answer
    } else {
      runCommand(line);
    }
    return;
  }
  // Handshake bytes left over from an earlier exchange do not start a command.
  if (line_.empty() && (b == kAck || b == kNak || b == kEsc || b == 0)) return;
  if (line_.size() < kMaxLine) {
    line_.push_back(static_cast<char>(b));
  } else {
    lineOverflow_ = true;
  }
}

void ConsoleEngine::expectBlock(std::size_t dataBytes, BinaryUse use, std::size_t address) {
  mode_ = Mode::kBinary;
  binaryUse_ = use;
  binaryAddress_ = address;
  binaryWanted_ = dataBytes + 2;
  binary_.clear();
  binaryDeadlineUs_ = nowUs() + kAnswerWaitUs;
}

void ConsoleEngine::onBinaryByte(std::uint8_t b) {
  binary_.push_back(b);
  binaryDeadlineUs_ = nowUs() + kAnswerWaitUs;
  if (binary_.size() < binaryWanted_) return;
  mode_ = Mode::kIdle;
  if (crc16(binary_) != 0) {
    replyNak();
    return;
  }
  onBlock(std::span<const std::uint8_t>(binary_).first(binary_.size() - 2));
}

void ConsoleEngine::onBlock(std::span<const std::uint8_t> data) {
  switch (binaryUse_) {
    case BinaryUse::kEepromWrite:
      memory_.write(binaryAddress_, data);
      replyAck();
      break;
    case BinaryUse::kSetTime:
      if (applySetTime(data)) {
        replyAck();
      } else {
        replyNak();
      }
      break;
    case BinaryUse::kCalFix:
      applyCalibratedReadings(data);
      replyAck();
      break;
    case BinaryUse::kDumpStamps:
      startDump(data);
      break;
  }
}

}  // namespace consolesim
