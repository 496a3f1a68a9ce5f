// The console's text commands. Each answers the way the console's protocol fixes: ACK for
// commands that go on in binary, "OK" for text commands, NAK for anything it refuses (an
// unknown command, a value out of range), so a refused command never changes the state.

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "consolesim/console_engine.h"
#include "consolesim/wire.h"

namespace consolesim {
namespace {

// Splits "a b c" into at most `n` numbers in `base`; false when a token is not a number
// or the count differs.
template <std::size_t N>
bool parseNumbers(std::string_view args, int base, std::array<long, N>& out) {
  std::size_t got = 0;
  std::size_t i = 0;
  while (i < args.size()) {
    if (args[i] == ' ') {
      ++i;
      continue;
    }
    if (got == N) return false;
    std::size_t end = args.find(' ', i);
    if (end == std::string_view::npos) end = args.size();
    const char* first = args.data() + i;
    const char* last = args.data() + end;
    if (first != last && *first == '+') ++first;
    const auto [ptr, ec] = std::from_chars(first, last, out[got], base);
    if (ec != std::errc() || ptr != last || first == last) return false;
    ++got;
    i = end;
  }
  return got == N;
}

constexpr std::string_view kMonthNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

}  // namespace

void ConsoleEngine::runCommand(std::string_view line) {
  const std::size_t split = line.find_first_of(" =");
  const std::string_view word = line.substr(0, split);
  const std::string_view args =
      split == std::string_view::npos ? std::string_view() : line.substr(split + 1);

  if (line == std::string_view("WRD\x12\x4D", 5)) {
    // Identification: ACK, then the model byte.
    if (replyAck()) reply(std::span(&options_.modelCode, 1));
  } else if (line == "NEWSETUP") {
    ++counters_.newSetups;
    replyAck();
  } else if (word == "EEBRD") {
    cmdEepromRead(args);
  } else if (word == "EEBWR") {
    cmdEepromBlockWrite(args);
  } else if (word == "EEWR") {
    cmdEepromWrite(args);
  } else if (line == "VER") {
    char text[32];
    const FirmwareDate& f = options_.firmware;
    const int month = std::clamp(f.month, 1, 12);
    std::snprintf(text, sizeof text, "%s %2d %04d\n\r", kMonthNames[month - 1].data(),
                  std::clamp(f.day, 1, 31), std::clamp(f.year, 0, 9999));
    replyOk();
    replyText(text);
  } else if (line == "GETTIME") {
    cmdGetTime();
  } else if (line == "SETTIME") {
    if (replyAck()) expectBlock(6, BinaryUse::kSetTime);
  } else if (word == "LOOP") {
    cmdLoop(args);
  } else if (line == "HILOWS") {
    cmdHiLows();
  } else if (word == "SETPER") {
    cmdSetPeriod(args);
  } else if (line == "CLRLOG") {
    if (replyAck()) {
      ring_.clear();
      ++counters_.archiveClears;
    }
  } else if (word == "PUTRAIN") {
    cmdPutRain(args);
  } else if (word == "CLRHIGHS") {
    cmdClearHighLow(args, counters_.highsCleared);
  } else if (word == "CLRLOWS") {
    cmdClearHighLow(args, counters_.lowsCleared);
  } else if (line == "CLRGRA") {
    ++counters_.graphsCleared;
    replyOk();
    replyDone();
  } else if (line == "CLRALM") {
    std::vector<std::uint8_t> unset(kAlarmBytes, 0xFF);
    memory_.write(kAlarmAddress, unset);
    ++counters_.alarmsCleared;
    replyOk();
    replyDone();
  } else if (line == "CLRCAL") {
    std::vector<std::uint8_t> zero(kCalibrationBytes, 0);
    memory_.write(kCalibrationAddress, zero);
    replyOk();
    replyDone();
  } else if (word == "CLRVAR") {
    cmdClearVariable(args);
  } else if (word == "BAR" && split != std::string_view::npos && line[split] == '=') {
    cmdBarometer(args);
  } else if (line == "CALED") {
    cmdCalibratedReadings();
  } else if (line == "CALFIX") {
    if (replyAck()) expectBlock(43, BinaryUse::kCalFix);
  } else if (line == "RXCHECK") {
    cmdReceptionCheck();
  } else if (line == "BARDATA") {
    cmdBarometerData();
  } else if (line == "DMPAFT") {
    if (replyAck()) expectBlock(4, BinaryUse::kDumpStamps);
  } else {
    replyNak();
  }
}

void ConsoleEngine::cmdEepromRead(std::string_view args) {
  std::array<long, 2> n{};
  if (!parseNumbers(args, 16, n) || n[0] < 0 || n[1] < 0 ||
      static_cast<std::size_t>(n[0]) + static_cast<std::size_t>(n[1]) > kConfigMemoryBytes) {
    replyNak();
    return;
  }
  std::vector<std::uint8_t> data(static_cast<std::size_t>(n[1]));
  memory_.read(static_cast<std::size_t>(n[0]), data);
  if (replyAck()) replyBlock(std::move(data));
}

void ConsoleEngine::cmdEepromBlockWrite(std::string_view args) {
  std::array<long, 2> n{};
  if (!parseNumbers(args, 16, n) || n[0] < 0 || n[1] < 0 ||
      static_cast<std::size_t>(n[0]) + static_cast<std::size_t>(n[1]) > kConfigMemoryBytes) {
    replyNak();
    return;
  }
  if (replyAck()) {
    expectBlock(static_cast<std::size_t>(n[1]), BinaryUse::kEepromWrite,
                static_cast<std::size_t>(n[0]));
  }
}

void ConsoleEngine::cmdEepromWrite(std::string_view args) {
  std::array<long, 2> n{};
  if (!parseNumbers(args, 16, n) || n[0] < 0 || n[0] >= static_cast<long>(kConfigMemoryBytes) ||
      n[1] < 0 || n[1] > 0xFF) {
    replyNak();
    return;
  }
  memory_.setByte(static_cast<std::size_t>(n[0]), static_cast<std::uint8_t>(n[1]));
  replyOk();
}

void ConsoleEngine::cmdGetTime() {
  const platform::CivilTime c = consoleTime();
  std::vector<std::uint8_t> data = {
      static_cast<std::uint8_t>(c.second), static_cast<std::uint8_t>(c.minute),
      static_cast<std::uint8_t>(c.hour),   static_cast<std::uint8_t>(c.day),
      static_cast<std::uint8_t>(c.month),  static_cast<std::uint8_t>((c.year - 1900) & 0xFF)};
  if (replyAck()) replyBlock(std::move(data));
}

bool ConsoleEngine::applySetTime(std::span<const std::uint8_t> b) {
  platform::CivilTime c;
  c.second = b[0];
  c.minute = b[1];
  c.hour = b[2];
  c.day = b[3];
  c.month = b[4];
  c.year = 1900 + b[5];
  if (c.second > 59 || c.minute > 59 || c.hour > 23 || c.month < 1 || c.month > 12 || c.day < 1 ||
      c.day > platform::daysInMonth(c.year, c.month)) {
    return false;
  }
  setConsoleTime(c);
  return true;
}

void ConsoleEngine::cmdLoop(std::string_view args) {
  std::array<long, 1> n{};
  if (!parseNumbers(args, 10, n) || n[0] < 0 || n[0] > 65535) {
    replyNak();
    return;
  }
  if (!replyAck()) return;
  loopRemaining_ = static_cast<int>(n[0]);
  if (loopRemaining_ == 0) return;
  mode_ = Mode::kLoop;
  // The first packet follows the ACK at once, the others at the console's pace.
  nextLoopUs_ = nowUs();
  emitDueLoopPackets();
}

void ConsoleEngine::cmdSetPeriod(std::string_view args) {
  std::array<long, 1> n{};
  if (!parseNumbers(args, 10, n)) {
    replyNak();
    return;
  }
  switch (n[0]) {
    case 1:
    case 5:
    case 10:
    case 15:
    case 30:
    case 60:
    case 120:
      memory_.setByte(kArchiveIntervalAddress, static_cast<std::uint8_t>(n[0]));
      update();
      replyOk();
      break;
    default:
      replyNak();
  }
}

void ConsoleEngine::cmdPutRain(std::string_view args) {
  std::array<long, 1> n{};
  if (!parseNumbers(args, 10, n) || n[0] < 0 || n[0] > 65535) {
    replyNak();
    return;
  }
  if (replyAck()) {
    yearRainOffset_ = static_cast<int>(n[0]) - modelYearRain(model_, memory_, consoleSeconds());
  }
}

void ConsoleEngine::cmdClearHighLow(std::string_view args, std::array<int, 3>& counter) {
  std::array<long, 1> n{};
  if (!parseNumbers(args, 10, n) || n[0] < 0 || n[0] > 2) {
    replyNak();
    return;
  }
  if (replyAck()) ++counter[static_cast<std::size_t>(n[0])];
}

void ConsoleEngine::cmdClearVariable(std::string_view args) {
  std::array<long, 1> n{};
  if (!parseNumbers(args, 10, n) || n[0] < 0 || n[0] > 255) {
    replyNak();
    return;
  }
  if (replyAck()) ++counters_.variablesCleared;
}

void ConsoleEngine::cmdBarometer(std::string_view args) {
  std::array<long, 2> n{};
  if (!parseNumbers(args, 10, n) || !(n[0] == 0 || (n[0] >= 16000 && n[0] <= 32500)) ||
      n[1] < -2000 || n[1] > 15000) {
    replyNak();
    return;
  }
  memory_.setI16(kElevationAddress, static_cast<int>(n[1]));
  // A reading of 0 sets only the elevation; otherwise the console calibrates itself so that
  // it reads the given value now.
  if (n[0] != 0)
    suite_.barometerOffset = static_cast<int>(n[0]) - model_.at(consoleSeconds()).barometer;
  replyOk();
}

void ConsoleEngine::replyDone() {
  // The console needs a moment for the clearing before it reports DONE.
  const std::string_view done = "DONE\n\r";
  queue(std::span(reinterpret_cast<const std::uint8_t*>(done.data()), done.size()),
        nowUs() + 500'000);
}

void ConsoleEngine::cmdCalibratedReadings() {
  const Reading r = measured(model_, memory_, suite_, consoleSeconds());
  std::vector<std::uint8_t> data(43, 0xFF);
  putI16(data, 0, r.insideTemp);
  putI16(data, 2, r.outsideTemp);
  for (std::size_t i = 0; i < 15; ++i) putU16(data, 4 + 2 * i, 0x7FFF);
  data[34] = static_cast<std::uint8_t>(r.insideHum);
  data[35] = static_cast<std::uint8_t>(r.outsideHum);
  if (replyAck()) replyBlock(std::move(data));
}

void ConsoleEngine::applyCalibratedReadings(std::span<const std::uint8_t> block) {
  // The console keeps the readings it was given by storing the offsets that produce them.
  const Reading raw = model_.at(consoleSeconds());
  auto offset = [&](std::size_t cal, int wanted, int reading) {
    memory_.setByte(kCalibrationAddress + cal, static_cast<std::uint8_t>(static_cast<std::int8_t>(
                                                   std::clamp(wanted - reading, -128, 127))));
  };
  const auto insideT = static_cast<std::int16_t>(getU16(block, 0));
  const auto outsideT = static_cast<std::int16_t>(getU16(block, 2));
  if (getU16(block, 0) != 0x7FFF && getU16(block, 0) != 0xFFFF)
    offset(kCalInsideTemp, insideT, raw.insideTemp);
  if (getU16(block, 2) != 0x7FFF && getU16(block, 2) != 0xFFFF)
    offset(kCalOutsideTemp, outsideT, raw.outsideTemp);
  if (block[34] != 0xFF) offset(kCalInsideHum, block[34], raw.insideHum);
  if (block[35] != 0xFF) offset(kCalOutsideHum, block[35], raw.outsideHum);
}

void ConsoleEngine::cmdHiLows() {
  // The block's layout is the console's own; this one carries the day's extremes of the
  // barometer, wind and temperatures at the front and no data in the rest.
  const LocalSeconds now = consoleSeconds();
  const LocalSeconds midnight = now - (((now % 86400) + 86400) % 86400);
  int barLo = 32767, barHi = -32768, tLo = 32767, tHi = -32768, windHi = 0;
  for (LocalSeconds t = midnight; t <= now; t += 600) {
    const Reading r = measured(model_, memory_, suite_, t);
    barLo = std::min(barLo, r.barometer);
    barHi = std::max(barHi, r.barometer);
    tLo = std::min(tLo, r.outsideTemp);
    tHi = std::max(tHi, r.outsideTemp);
    windHi = std::max(windHi, r.windSpeed);
  }
  std::vector<std::uint8_t> data(436, 0xFF);
  putI16(data, 0, barLo);
  putI16(data, 2, barHi);
  data[16] = static_cast<std::uint8_t>(std::min(windHi, 254));
  putI16(data, 47, tLo);
  putI16(data, 49, tHi);
  if (replyAck()) replyBlock(std::move(data));
}

void ConsoleEngine::cmdReceptionCheck() {
  const std::int64_t seconds = (nowUs() / 1'000'000) - baseMonoMs_ / 1000;
  const long received = static_cast<long>(seconds * 10 / 25);
  char text[80];
  std::snprintf(text, sizeof text, " %ld %d %d %d %d\n\r", received, 3, 0, 21,
                static_cast<int>(received % 200));
  replyOk();
  replyText(text);
}

void ConsoleEngine::cmdBarometerData() {
  const Reading r = measured(model_, memory_, suite_, consoleSeconds());
  // The console's own lines: the virtual temperature and R take part in its altimeter
  // reduction; below 925 ft R is what that temperature gives.
  const int elevation = memory_.i16(kElevationAddress);
  const int virtualTemp = r.outsideTemp / 10;
  const int ratio = static_cast<int>(
      std::lround(1000.0 * std::pow(10.0, elevation / ((virtualTemp + 460) * 122.894311))));
  char text[100];
  std::snprintf(text, sizeof text,
                "BAR %d\n\rELEVATION %d\n\rDEW POINT %d\n\rVIRTUAL TEMP %d\n\rC 29\n\rR %d\n\r"
                "OFFSET %d\n\r",
                r.barometer, elevation, virtualTemp - 10, virtualTemp, ratio, suite_.barometerOffset);
  replyOk();
  replyText(text);
}

}  // namespace consolesim
